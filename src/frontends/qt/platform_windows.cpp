// Window numbers to windows and back, and the windows' frames, titles,
// visibility and colours in the runtime's coordinates.
#include <QApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/frames.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/platform_windows.h"
#include "frontends/qt/port.h"
#include "frontends/qt/top_window.h"
#include "frontends/qt/view_geometry.h"
#include "platform/entry_points.h"
#include "platform/platform.h"

namespace {

QWidget* graphicwindow(int number)
{
    const GraphicView* view = appdelegate().view(number);
    if (view == nullptr || view->parentWidget() == nullptr)
        return nullptr;
    return view->window();
}

QWidget* outletwindow(uint8_t number)
{
    AppDelegate& delegate = appdelegate();
    switch (number) {
    case 8: return delegate.PasteboardWindow;
    case 9: return delegate.VirtualPrinterWindow;
    case 10: return delegate.SystemConsoleWindow;
    case 11: return delegate.PreferencesWindow;
    case 12: return delegate.MainWindow;
    default: return nullptr;
    }
}

QWidget* windowfor(uint8_t number)
{
    return number < graphicwindowcount ? graphicwindow(number) : outletwindow(number);
}

uint8_t numberof(const QWidget* window)
{
    if (window == nullptr)
        return 255;
    for (const uint8_t number : {9, 10, 8, 11, 12})
        if (outletwindow(number) == window)
            return number;
    for (int number = 0; number < graphicwindowcount; ++number)
        if (graphicwindow(number) == window)
            return uint8_t(number);
    return 255;
}

// Height of what the runtime counts above the content area.
int titlestrip(const QWidget* window)
{
    const bool titled = !(window->windowFlags() & Qt::FramelessWindowHint);
    return titled ? int(measuredtitlebarheight()) : 0;
}

int menubarheight(const QWidget* window)
{
    const auto* top = dynamic_cast<const TopWindow*>(window);
    return top != nullptr ? top->menubarheight() : 0;
}

// The content area in screen coordinates (Qt's form).
QRect contentgeometry(const QWidget* window)
{
    return window->geometry().adjusted(0, menubarheight(window), 0, 0);
}

void layoutparts(QWidget* window)
{
    if (auto* top = dynamic_cast<TopWindow*>(window))
        top->layoutparts();
}

GraphicView* graphicviewof(const QWidget* window)
{
    const uint8_t number = numberof(window);
    return number < graphicwindowcount ? appdelegate().view(number) : nullptr;
}

// Gives the window the content area `content` with the menu bar above it
// and lays its parts out. The person may resize a graphic window down to a
// small size (its view then scales the image down); the text windows
// follow their frames.
void placecontent(QWidget* window, QRect content)
{
    const QRect geometry = content.adjusted(0, -menubarheight(window), 0, 0);
    GraphicView* view = graphicviewof(window);
    if (view != nullptr)
        window->setMinimumSize(geometry.size().boundedTo(QSize(160, 100 + menubarheight(window))));
    window->setGeometry(geometry);
    layoutparts(window);
    if (view != nullptr)
        view->layoutincontent();
}


// The screen a rectangle of the window lies on: the one under its centre,
// else the window's own (which a hidden window learns only when shown).
const QScreen* screenfor(const QWidget* window, QRect rect)
{
    if (const QScreen* screen = QGuiApplication::screenAt(rect.center()))
        return screen;
    return window->screen();
}

const QScreen* screenof(const QWidget* window)
{
    return screenfor(window, window->geometry());
}

// The content area a graphic window gets when it asks for `content`: that
// area when the window, with its menu bar and title strip, fits into the
// free area of its screen; otherwise the largest window of the same shape
// that fits, with its bottom left corner where asked as far as the free
// area allows. Its natural size stays what was asked for: the view scales
// the image down.
QRect fittedcontent(const QWidget* window, QRect content)
{
    const QScreen* screen = screenfor(window, content);
    if (screen == nullptr)
        return content;
    const int above = menubarheight(window) + titlestrip(window);
    const QSize natural(content.width(), content.height() + above);
    const QRect area = screen->availableGeometry();
    const QSize fitted = fittedsize(natural, area.size());
    if (fitted == natural)
        return content;
    QRect outer(QPoint(content.left(), content.bottom() + 1 - fitted.height()), fitted);
    outer.moveLeft(std::clamp(outer.left(), area.left(), area.right() + 1 - outer.width()));
    outer.moveTop(std::clamp(outer.top(), area.top(), area.bottom() + 1 - outer.height()));
    return outer.adjusted(0, std::min(above, outer.height()), 0, 0);
}

// A hidden window gets its resize event only when it is shown; the text
// windows' layout must follow the new size now, as it does for a visible
// window, and not again later.
void deliverresize(QWidget* window, QSize old)
{
    if (window->isVisible() || window->size() == old)
        return;
    QResizeEvent event(window->size(), old);
    QCoreApplication::sendEvent(window, &event);
    window->setAttribute(Qt::WA_PendingResizeEvent, false);
}

// A window brought to the front that grew above the top of its screen
// (frames keep their bottom edge when they grow) moves down until its
// title strip is on the screen again; its size stays.
void keeptitleonscreen(QWidget* window)
{
    const QScreen* screen = screenof(window);
    if (screen == nullptr)
        return;
    const int top = contentgeometry(window).top() - titlestrip(window);
    const int limit = screen->availableGeometry().top();
    if (top < limit)
        window->move(window->x(), window->y() + (limit - top));
}

PlatformWindow* windowhandle(uint8_t number)
{
    return tohandle(windowfor(number));
}

PlatformView* viewhandle(uint8_t number)
{
    return tohandle(appdelegate().view(number));
}

PlatformTextView* textviewhandle(uint8_t number)
{
    AppDelegate& delegate = appdelegate();
    switch (number) {
    case 8: return tohandle(delegate.PasteboardTextView);
    case 9: return tohandle(delegate.VirtualPrinterTextView);
    case 10: return tohandle(delegate.SystemConsoleTextView);
    default: return nullptr;
    }
}

uint8_t handlenumber(PlatformWindow* window)
{
    return numberof(towidget(window));
}

uint8_t activewindownumber()
{
    return numberof(QApplication::activeWindow());
}

PlatformRect window_frame(PlatformWindow* handle)
{
    const QWidget* window = towidget(handle);
    if (window == nullptr)
        return {};
    PlatformRect frame = fromqtrect(contentgeometry(window), primaryscreenheight());
    frame.height += titlestrip(window);
    return frame;
}

void set_window_frame(PlatformWindow* handle, PlatformRect frame)
{
    QWidget* window = towidget(handle);
    if (window == nullptr)
        return;
    const int title = titlestrip(window);
    QRect content = toqtrect({frame.x, frame.y, frame.width, std::max(0.0, frame.height - title)},
                             primaryscreenheight());
    if (GraphicView* view = graphicviewof(window)) {
        view->setnaturalcontent(content.size());
        // Full screen stays until the person leaves it; the window then
        // returns to where it was before.
        if (window->isFullScreen()) {
            view->layoutincontent();
            return;
        }
        content = fittedcontent(window, content);
    }
    const QSize old = window->size();
    placecontent(window, content);
    deliverresize(window, old);
    window->update();
}

PlatformRect window_screen_frame(PlatformWindow* handle)
{
    const QWidget* window = towidget(handle);
    const QScreen* screen = window != nullptr ? screenof(window) : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {};
    return fromqtrect(screen->geometry(), primaryscreenheight());
}

void set_window_title(PlatformWindow* handle, const std::string& title)
{
    if (QWidget* window = towidget(handle))
        window->setWindowTitle(QString::fromStdString(title));
}

bool window_titled(PlatformWindow* handle)
{
    const QWidget* window = towidget(handle);
    return window != nullptr && !(window->windowFlags() & Qt::FramelessWindowHint);
}

void set_window_titled(PlatformWindow* handle, bool titled)
{
    QWidget* window = towidget(handle);
    if (window == nullptr || window_titled(handle) == titled)
        return;
    // Changing the decoration hides the window; the content area keeps its
    // place and size.
    const QRect content = contentgeometry(window);
    const bool visible = window->isVisible();
    window->setWindowFlag(Qt::FramelessWindowHint, !titled);
    if (auto* top = dynamic_cast<TopWindow*>(window))
        top->setmenubarshown(titled);
    placecontent(window, content);
    if (visible)
        window->show();
}

void order_window_front(PlatformWindow* handle)
{
    QWidget* window = towidget(handle);
    if (window == nullptr)
        return;
    // Brought to the front, a minimised window (Alle Fenster ausblenden)
    // is shown again as it was.
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    keeptitleonscreen(window);
    // Offscreen windows have no stacking order (and say so on every call).
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        window->raise();
}

void make_key_window(PlatformWindow* handle)
{
    if (QWidget* window = towidget(handle))
        window->activateWindow();
}

void order_window_out(PlatformWindow* handle)
{
    QWidget* window = towidget(handle);
    if (window == nullptr)
        return;
    if (!appdelegate().minimiseonhide)
        window->hide();
    else if (window->isVisible())
        window->showMinimized();
}

bool window_visible(PlatformWindow* handle)
{
    const QWidget* window = towidget(handle);
    return window != nullptr && window->isVisible();
}

void set_window_background(PlatformWindow* handle, double red, double green, double blue,
                           double alpha)
{
    QWidget* window = towidget(handle);
    if (window == nullptr)
        return;
    const QColor colour = QColor::fromRgbF(float(std::clamp(red, 0.0, 1.0)),
                                           float(std::clamp(green, 0.0, 1.0)),
                                           float(std::clamp(blue, 0.0, 1.0)),
                                           float(std::clamp(alpha, 0.0, 1.0)));
    auto* top = dynamic_cast<TopWindow*>(window);
    QWidget* area = top != nullptr ? top->content() : window;
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, colour);
    area->setPalette(palette);
    area->setAutoFillBackground(true);
    area->update();
}

void center_window(PlatformWindow* handle)
{
    QWidget* window = towidget(handle);
    const QScreen* screen = window != nullptr ? screenof(window) : nullptr;
    if (screen == nullptr || window->isFullScreen())
        return;
    // The whole window (title strip, menu bar, content) centred on the
    // screen's free area; one too large for it keeps its top and left
    // edges on the area, so the title bar stays reachable. Only the
    // position changes: a graphic window keeps its size, fitted or not.
    const QRect area = screen->availableGeometry();
    const QRect content = contentgeometry(window);
    const int above = menubarheight(window) + titlestrip(window);
    const int left = std::max(area.left(), area.left() + (area.width() - content.width()) / 2);
    const int top = std::max(area.top(), area.top() + (area.height() - content.height() - above) / 2);
    placecontent(window, QRect(QPoint(left, top + above), content.size()));
}

// The graphic window in front: the active window when it is one, else the
// first visible graphic window.
QWidget* frontgraphicwindow()
{
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active->isVisible() && graphicviewof(active) != nullptr)
        return active;
    for (int number = 0; number < graphicwindowcount; ++number) {
        QWidget* window = graphicwindow(number);
        if (window != nullptr && window->isVisible())
            return window;
    }
    return nullptr;
}

}  // namespace

void togglefullscreen()
{
    QWidget* window = frontgraphicwindow();
    if (window == nullptr)
        return;
    if (window->isFullScreen())
        window->showNormal();
    else
        window->showFullScreen();
}

void addwindows(platform::Port& port)
{
    port.platformwindow = windowhandle;
    port.windowview = viewhandle;
    port.windowtextview = textviewhandle;
    port.windownumber = handlenumber;
    port.mainwindownumber = activewindownumber;
    port.window_frame = window_frame;
    port.set_window_frame = set_window_frame;
    port.window_screen_frame = window_screen_frame;
    port.set_window_title = set_window_title;
    port.set_window_titled = set_window_titled;
    port.window_titled = window_titled;
    port.order_window_front = order_window_front;
    port.make_key_window = make_key_window;
    port.order_window_out = order_window_out;
    port.window_visible = window_visible;
    port.set_window_background = set_window_background;
    port.center_window = center_window;
}
