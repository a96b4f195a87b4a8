#include "frontends/qt/app_delegate.h"

#include <QWidget>

#include "frontends/qt/application.h"

#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/menus.h"
#include "frontends/qt/text_windows.h"
#include "frontends/qt/top_window.h"
#include "platform/entry_points.h"
#include "platform/platform.h"
#include "util/diagnostics.h"

AppDelegate::AppDelegate()
    : views_{&t_View00, &t_View01, &t_View02, &t_View03,
             &t_View04, &t_View05, &t_View06, &t_View07}
{
}

GraphicView*& AppDelegate::view(int number)
{
    return *views_.at(static_cast<size_t>(number));
}

void AppDelegate::applicationWillFinishLaunching()
{
    // The main thread keeps its name: on Linux it is the process's name,
    // which ps, pgrep and killall look for.
    diag_line("applicationWillFinishLaunching: Called.");
}

void AppDelegate::applicationDidFinishLaunching()
{
    launchwork();
    launchfinished = true;
}

void AppDelegate::applicationStateChanged(Qt::ApplicationState state)
{
    applicationactive = state == Qt::ApplicationActive;
}

void AppDelegate::applicationWillTerminate()
{
    applicationwillterminate();
}

void AppDelegate::windowShouldClose(QWidget* window)
{
    t_MouseEventPostCloseBoxClick(windownumber(tohandle(window)));
    quitwhennowindowshown();
}

void AppDelegate::windowDidResize(QWidget* window)
{
    const uint8_t number = windownumber(tohandle(window));
    if (number < graphicwindowcount && view(number) != nullptr)
        view(number)->layoutincontent();
    else
        relayouttextwindow(number);
}

void AppDelegate::MenuHandler(QAction* item)
{
    const t_MenuItemInfo info = menuiteminfo(item);
    minimiseonhide = info.Tag == hideallwindowstag;
    t_MenuEventHandler(info);
    minimiseonhide = false;
    quitwhennowindowshown();
}

bool AppDelegate::anywindowshown() const
{
    for (const GraphicView* const* view : views_)
        if (*view != nullptr && (*view)->window()->isVisible())
            return true;
    for (const TopWindow* window :
         {PasteboardWindow, VirtualPrinterWindow, SystemConsoleWindow, PreferencesWindow, MainWindow})
        if (window != nullptr && window->isVisible())
            return true;
    return false;
}

// Before launch has finished no window has been shown yet.
void AppDelegate::quitwhennowindowshown() const
{
    if (launchfinished && !anywindowshown())
        quitapplication();
}

AppDelegate& appdelegate()
{
    static AppDelegate delegate;
    return delegate;
}
