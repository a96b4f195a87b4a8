// Graphic windows on screens of every size: fitted to a small or HiDPI
// screen, resized by the person, full screen; what the view paints when it
// scales the image, and where clicks land.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <mutex>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/top_window.h"
#include "input/mouse_events.h"
#include "menus/menu_events.h"
#include "support/program_thread.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

QScreen* screennamed(const char* name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String(name))
            return screen;
    return nullptr;
}

TopWindow* topwindow(uint8_t number)
{
    return dynamic_cast<TopWindow*>(towidget(platformwindow(number)));
}

GraphicView* viewof(uint8_t number)
{
    return toview(windowview(number));
}

// The whole window on the screen: title strip, menu bar and content.
QRect outerframe(const TopWindow* window)
{
    return window->geometry().adjusted(0, -int(titlebarheight), 0, 0);
}

// A screen's free area in the runtime's coordinates: x, and y of the
// bottom edge counted up from the bottom of the primary screen.
PlatformRect runtimearea(const QScreen* screen)
{
    const QRect area = screen->availableGeometry();
    const int primary = QGuiApplication::primaryScreen()->geometry().height();
    return {double(area.x()), double(primary - area.y() - area.height()), double(area.width()),
            double(area.height())};
}

// Gives a window its title bar and puts it back afterwards where the other
// tests expect it: shown normally, titled or not, its frame and view as
// before, hidden if it was.
class WindowRestorer {
public:
    explicit WindowRestorer(uint8_t number)
        : number_(number),
          frame_(platform::window_frame(platformwindow(number))),
          view_(viewof(number)->runtimeframe()),
          visible_(windowtable[number].Visible),
          titled_(platform::window_titled(platformwindow(number)))
    {
        t_WindowTitleVisible(number, true);
    }
    ~WindowRestorer()
    {
        TopWindow* window = topwindow(number_);
        if (window->isFullScreen()) {
            window->showNormal();
            pump_until([&] { return !window->isFullScreen(); });
        }
        t_WindowTitleVisible(number_, titled_);
        platform::set_window_frame(platformwindow(number_), frame_);
        platform::set_view_frame(windowview(number_), view_);
        if (!visible_)
            t_WindowVisible(number_, false);
    }

private:
    uint8_t number_;
    PlatformRect frame_;
    PlatformRect view_;
    bool visible_;
    bool titled_;
};

// Window 3 as a 320 x 200 picture of 8 x 8 squares, each of its own colour,
// inside a margin of 10: a screen whose scaled image is known everywhere.
// The top row of squares is black and white stripes one pixel wide, which
// only a filter can shrink to grey.
QColor squarecolour(int x, int y)
{
    if (y < 8)
        return x % 2 == 0 ? Qt::black : Qt::white;
    const int i = x / 8, j = y / 8;
    return QColor(40 + i * 5, 60 + j * 7, (i * 31 + j * 17) % 200 + 40);
}

void showsquares()
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(3, 32, false, 320, 200, 10, 10, t_Font{}, true); }));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const QColor c = squarecolour(x, y);
            uint8_t* pixel = &videomemory[windowtable[3].MemoryStart + 4 * (y * 320 + x)];
            pixel[1] = uint8_t(c.red());
            pixel[2] = uint8_t(c.green());
            pixel[3] = uint8_t(c.blue());
        }
    t_WindowVisible(3, true);
}

// What the content area shows where the view lies, one image pixel per
// device pixel of the screen.
QImage shownview(GraphicView* view)
{
    return view->parentWidget()->grab(view->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
}

const QColor margin(0x54, 0x54, 0x54);  // colour 5, the margin a window starts with

// Counts a view's drawing passes; each converts the window's pixels once.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

// Window 0 asks for 1280 x 800 pixels with margins of 24 on each screen. It
// fits the large one as asked; on the laptop and on the HiDPI screen (1280 x
// 800 points) it gets the largest frame of its shape inside the free area.
// The runtime's own sizes stay; its positions are the real ones. Asking
// again for the same, and centring, keep the fitted frame on the screen.
TEST(ScreenSizes, AWindowFitsTheFreeAreaOfItsScreen)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    WindowRestorer restore(0);
    TopWindow* window = topwindow(0);
    const int natural = 848 + window->menubarheight() + int(titlebarheight);
    for (const char* name : {"Desktop", "Laptop", "HiDPI"}) {
        SCOPED_TRACE(name);
        const QScreen* screen = screennamed(name);
        ASSERT_NE(screen, nullptr);
        const QRect area = screen->availableGeometry();
        const PlatformRect runtime = runtimearea(screen);
        t_WindowSize(0, int64_t(runtime.x) + 10, int64_t(runtime.y) + 5, 1280, 800);
        const QRect outer = outerframe(window);
        EXPECT_TRUE(area.contains(outer)) << outer.x() << "," << outer.y() << " " << outer.width() << "x"
                                          << outer.height();
        if (natural <= area.height()) {
            EXPECT_EQ(outer.size(), QSize(1328, natural));
            EXPECT_EQ(viewof(0)->geometry(), QRect(24, 24, 1280, 800));
        } else {
            // As high as the free area, as wide as the shape allows.
            EXPECT_EQ(outer.height(), area.height());
            EXPECT_EQ(outer.width(), 1328 * area.height() / natural);
            EXPECT_LT(viewof(0)->width(), 1280);
            EXPECT_EQ(viewof(0)->geometry().topLeft(), QPoint(24, 24));
        }
        EXPECT_EQ(std::vector<int64_t>({t_WindowPos(0, 8), t_WindowPos(0, 9), t_WindowPos(0, 10)}),
                  std::vector<int64_t>({1280, 800, 1328}));
        const PlatformRect real = platform::window_frame(platformwindow(0));
        EXPECT_EQ(std::pair(t_WindowPos(0, 13), t_WindowPos(0, 20)), std::pair(int64_t(real.x), int64_t(real.y)));

        t_WindowSize(0, -1, -1, -1, -1);
        EXPECT_EQ(outerframe(window), outer);
        t_WindowCenter(0);
        const QRect centred = outerframe(window);
        EXPECT_EQ(centred.size(), outer.size());
        EXPECT_TRUE(area.contains(centred));
        EXPECT_LE(std::abs((centred.left() - area.left()) - (area.right() - centred.right())), 1);
    }
}

// The person makes the window smaller: the margins stay, the view takes the
// rest and the image shrinks to fit it; the runtime's sizes stay.
TEST(ScreenSizes, AResizedWindowLaysOutItsView)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    WindowRestorer restore(0);
    t_WindowSize(0, 30, 40, 1280, 800);
    t_WindowVisible(0, true);
    TopWindow* window = topwindow(0);
    window->resize(1008, 648 + window->menubarheight());
    ASSERT_TRUE(pump_until([&] { return viewof(0)->size() == QSize(960, 600); }));
    EXPECT_EQ(viewof(0)->geometry(), QRect(24, 24, 960, 600));
    EXPECT_EQ(viewof(0)->imagegeometry().target, QRectF(0, 0, 960, 600));
    EXPECT_EQ(std::pair(t_WindowPos(0, 8), t_WindowPos(0, 9)), std::pair(int64_t(1280), int64_t(800)));
    EXPECT_EQ(platform::window_frame(platformwindow(0)).width, 1008);
}

// Shrunk to 0.75 the squares become 6 x 6, each with its own colour at its
// centre, and the stripes blend into grey, in a band of margin colour above
// and below; doubled, every pixel is a sharp 2 x 2 block inside a margin
// of 5.
TEST(ScreenSizes, TheViewPaintsTheScaledImage)
{
    showsquares();
    WindowRestorer restore(3);
    GraphicView* view = viewof(3);

    view->resize(240, 180);  // 0.75: 240 x 150 from row 15
    QImage shot = shownview(view);
    ASSERT_EQ(shot.size(), QSize(240, 180));
    for (int y : {0, 14, 165, 179})
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(shot.pixelColor(x, y), margin) << x << ", " << y;
    for (int j = 1; j < 25; ++j)
        for (int i = 0; i < 40; ++i)
            ASSERT_EQ(shot.pixelColor(6 * i + 3, 15 + 6 * j + 3), squarecolour(8 * i, 8 * j)) << i << ", " << j;
    int greys = 0;
    for (int x = 0; x < 240; ++x)
        greys += qGray(shot.pixel(x, 18)) > 40 && qGray(shot.pixel(x, 18)) < 215;
    EXPECT_GT(greys, 80);

    view->resize(650, 410);  // just above 2: exactly 2, from (5, 5)
    shot = shownview(view);
    ASSERT_EQ(shot.size(), QSize(650, 410));
    for (int y = 0; y < 410; ++y)
        for (int x = 0; x < 650; ++x) {
            const bool inside = x >= 5 && x < 645 && y >= 5 && y < 405;
            ASSERT_EQ(shot.pixelColor(x, y), inside ? squarecolour((x - 5) / 2, (y - 5) / 2) : margin)
                << x << ", " << y;
        }
}

// On the HiDPI screen the window keeps its 320 x 200 points, and the view
// draws at the screen's resolution: each pixel is 2 x 2 device pixels.
TEST(ScreenSizes, AHiDpiScreenGetsTheImageAtItsResolution)
{
    showsquares();
    WindowRestorer restore(3);
    const PlatformRect area = runtimearea(screennamed("HiDPI"));
    t_WindowSize(3, int64_t(area.x) + 20, int64_t(area.y) + 100, 320, 200);
    GraphicView* view = viewof(3);
    ASSERT_EQ(view->screen(), screennamed("HiDPI"));
    ASSERT_EQ(view->size(), QSize(320, 200));
    const QImage shot = shownview(view);
    ASSERT_EQ(shot.size(), QSize(640, 400));
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(shot.pixelColor(x, y), squarecolour(x / 2, y / 2)) << x << ", " << y;
}

// A click on a character cell names the cell's pixel at 0.75 and at 2;
// clicks in the bands around the image lie before or past the pixel area.
TEST(ScreenSizes, ClicksNameTheImagePixelAtEverySize)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    WindowRestorer restore(0);
    t_WindowVisible(0, true);
    setprogrammousehandler([] {});
    GraphicView* view = viewof(0);
    const auto click = [view](QPointF at) {
        const QPointF global = view->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QCoreApplication::sendEvent(view, &release);
        const std::lock_guard lock(t_MouseEventsLock);
        return std::pair(t_MouseEvents.back().ClickX, t_MouseEvents.back().ClickY);
    };
    // Cell (10, 5) of the 16 x 32 font has its centre on pixel (152, 144).
    const struct {
        QSize view;
        QPointF at;
        std::pair<int64_t, int64_t> pixel;
    } rows[] = {
        {{960, 700}, {114.2, 50 + 108.2}, {152, 144}},   // 0.75 below a band of 50
        {{960, 700}, {0.2, 50.2}, {0, 0}},
        {{960, 700}, {959.8, 649.8}, {1279, 799}},
        {{960, 700}, {100, 20}, {133, -1}},              // the band above
        {{960, 700}, {100, 680}, {133, -2}},             // the band below
        {{2600, 1700}, {20 + 305, 50 + 289}, {152, 144}},  // 2 inside margins of 20 and 50
        {{2600, 1700}, {5, 500}, {-1, 225}},
        {{2600, 1700}, {2595, 500}, {-2, 225}},
    };
    for (const auto& row : rows) {
        view->resize(row.view);
        EXPECT_EQ(click(row.at), row.pixel) << row.view.width() << ": " << row.at.x() << ", " << row.at.y();
    }
}

// Vollbild in the Fenster menu (Control+Shift+F) shows the front graphic
// window full screen and back; the runtime hears nothing of it.
TEST(ScreenSizes, VollbildTogglesFullScreen)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    WindowRestorer restore(0);
    t_WindowSize(0, 30, 40, 1280, 800);
    // Window 0 is the graphic window in front: the active one, or else the
    // first one shown (the offscreen platform does not always activate).
    std::vector<uint8_t> shown;
    for (uint8_t n = 1; n < 8; ++n)
        if (topwindow(n)->isVisible()) {
            shown.push_back(n);
            platform::order_window_out(platformwindow(n));
        }
    t_WindowFront(0);
    TopWindow* window = topwindow(0);
    QAction* item = nullptr;
    for (QAction* action : appdelegate().menus.at(2)->actions())
        if (action->text() == QStringLiteral("Vollbild"))
            item = action;
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    const QRect before = window->geometry();
    const auto menuevents = [] {
        const std::lock_guard lock(t_MenuEventsLock);
        return t_MenuEvents.size();
    };
    const size_t events = menuevents();

    item->trigger();
    ASSERT_TRUE(pump_until([&] { return window->isFullScreen() && window->geometry() == window->screen()->geometry(); }));
    const QRect content = window->content()->rect();
    EXPECT_EQ(viewof(0)->geometry(), content.adjusted(24, 24, -24, -24));
    item->trigger();
    ASSERT_TRUE(pump_until([&] { return !window->isFullScreen() && window->geometry() == before; }));
    EXPECT_EQ(viewof(0)->geometry(), QRect(24, 24, 1280, 800));
    EXPECT_EQ(menuevents(), events);
    for (const uint8_t n : shown)
        platform::order_window_front(platformwindow(n));
}

// A minimised window's view converts nothing when the runtime marks it or
// asks it to draw; shown again, it draws the pixels as they are then.
TEST(ScreenSizes, AMinimisedWindowDrawsOnlyWhenShownAgain)
{
    showsquares();
    WindowRestorer restore(3);
    GraphicView* view = viewof(3);
    PaintCounter counter;
    view->installEventFilter(&counter);
    TopWindow* window = topwindow(3);
    window->showMinimized();
    pump_for(50);
    std::fill_n(&videomemory[windowtable[3].MemoryStart], 4 * 320 * 200, uint8_t(0x33));
    counter.paints = 0;
    platform::mark_view(windowview(3));
    platform::draw_view_now(windowview(3));
    pump_for(100);
    EXPECT_EQ(counter.paints, 0);
    window->showNormal();
    ASSERT_TRUE(pump_until([&] { return counter.paints > 0; }));
    ASSERT_NE(view->shownimage(), nullptr);
    EXPECT_EQ(view->shownimage()->Pixels[0], 0xFF333333u);
    view->removeEventFilter(&counter);
}
