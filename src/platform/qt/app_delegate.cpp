#include "platform/qt/app_delegate.h"

#include "input/mouse_events.h"
#include "menus/menu_events.h"
#include "platform/platform.h"
#include "platform/qt/handles.h"
#include "platform/qt/menus.h"
#include "platform/qt/text_windows.h"
#include "startup/launch.h"
#include "startup/threads.h"
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
    diag_line("applicationWillFinishLaunching: Called.");
    if (threadnumber() == 1)
        namethread("AppDelegate");
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
    diag_line("applicationWillTerminate: Called.");
    if (terminatehandler)
        terminatehandler();
}

void AppDelegate::windowShouldClose(QWidget* window)
{
    t_MouseEventPostCloseBoxClick(windownumber(tohandle(window)));
}

void AppDelegate::windowDidResize(QWidget* window)
{
    relayouttextwindow(windownumber(tohandle(window)));
}

void AppDelegate::MenuHandler(QAction* item)
{
    t_MenuEventHandler(menuiteminfo(item));
}

AppDelegate& appdelegate()
{
    static AppDelegate delegate;
    return delegate;
}
