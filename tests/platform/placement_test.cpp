// Window placement, sizes, titles, visibility and margins in the runtime's
// bottom-left coordinates, and the text windows' layout after a resize.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <thread>

#include "platform/platform.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "platform/qt/top_window.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

int screenheight()
{
    return QGuiApplication::primaryScreen()->geometry().height();
}

int screenwidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

void expectrect(const PlatformRect& actual, const PlatformRect& expected)
{
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
}

// A graphic window as t_InitWindow leaves it, without needing video memory.
void fakesetup(uint8_t n, int64_t width, int64_t height, int64_t border)
{
    memoryready = true;
    t_Window& w = windowtable[n];
    w.Initialized = true;
    w.Width = width;
    w.Height = height;
    w.BorderWidth = border;
    w.BorderHeight = border;
    w.TitleHeight = titlebarheight;
    w.Window = platformwindow(n);
    w.View = windowview(n);
    w.TextFirstColumn = 3;
    w.TextLastColumn = 78;
    w.TextFirstLine = 2;
    w.TextLastLine = 24;
    w.TextWidth = 80;
    w.TextHeight = 25;
}

// t_WindowPos for selectors 0..20.
std::vector<int64_t> allselectors(uint8_t window)
{
    std::vector<int64_t> values;
    for (int64_t selector = 0; selector <= 20; ++selector)
        values.push_back(t_WindowPos(window, selector));
    return values;
}

TopWindow* topwindow(uint8_t n)
{
    return dynamic_cast<TopWindow*>(towidget(platformwindow(n)));
}

}  // namespace

TEST(Frames, RuntimeFramesCountFromTheScreensBottomAndIncludeTheTitle)
{
    PlatformWindow* window = platformwindow(11);
    platform::set_window_frame(window, {100, 50, 300, 222});
    expectrect(platform::window_frame(window), {100, 50, 300, 222});
    // The content area below the title strip, in Qt's top-left terms.
    const QRect content = topwindow(11)->content()->geometry().translated(towidget(window)->pos());
    EXPECT_EQ(content, QRect(100, screenheight() - 50 - 200, 300, 200));

    platform::set_window_titled(window, false);
    EXPECT_FALSE(platform::window_titled(window));
    expectrect(platform::window_frame(window), {100, 50, 300, 200});
}

TEST(TextWindowLayout, AResizeFitsScrollViewAndRulerToTheFrame)
{
    // window, visible while resized, scroll view, ruler width (0: none)
    struct Row {
        uint8_t window;
        bool visible;
        PlatformRect scroll;
        double rulerwidth;
    };
    const Row rows[] = {
        {9, false, {20, 20, 560, 323}, 552},
        {9, true, {20, 20, 560, 323}, 552},
        {10, true, {20, 20, 560, 323}, 552},
        {8, false, {10, 10, 580, 358}, 0},
        {8, true, {10, 10, 580, 358}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "window " << int(row.window) << " visible " << row.visible);
        PlatformWindow* window = platformwindow(row.window);
        if (row.visible)
            platform::order_window_front(window);
        else
            platform::order_window_out(window);
        platform::set_window_frame(window, {30, 40, 500, 300});
        platform::set_window_frame(window, {30, 40, 600, 400});
        expectrect(platform::scroll_view_frame(row.window), row.scroll);
        if (row.rulerwidth > 0) {
            EXPECT_EQ(platform::ruler_frame(row.window).width, row.rulerwidth);
            EXPECT_EQ(platform::ruler_frame(row.window).height, 19);
        }
        // Showing a window resized while hidden must not lay it out again.
        platform::set_scroll_view_frame(row.window, {1, 2, 3, 4});
        platform::order_window_front(window);
        expectrect(platform::scroll_view_frame(row.window), {1, 2, 3, 4});
    }
}

TEST(TextWindowLayout, TheRulerStaysAlongTheTop)
{
    PlatformWindow* window = platformwindow(9);
    platform::set_window_frame(window, {0, 0, 600, 400});
    const PlatformRect low = platform::ruler_frame(9);
    platform::set_window_frame(window, {0, 0, 700, 500});
    const PlatformRect high = platform::ruler_frame(9);
    EXPECT_EQ(high.y - low.y, 100) << "distance from the top kept";
    EXPECT_EQ(high.width, 652);
}

TEST(TextWindowLayout, AGraphicWindowsResizeChangesNoTextWindow)
{
    const PlatformRect before = platform::scroll_view_frame(9);
    platform::set_window_frame(platformwindow(0), {0, 0, 300, 300});
    expectrect(platform::scroll_view_frame(9), before);
}

TEST(WindowPos, PlatformWindowsAnswerFromTheirFrame)
{
    t_WindowSize(11, 100, 50, 300, 200);  // frame 300 x 222
    const int64_t w = screenwidth(), h = screenheight();
    EXPECT_EQ(allselectors(11), (std::vector<int64_t>{0, 0, 299, 221, 300, 222, 300, 222, 300, 200, 300,
                                                      200, 222, 100, h - 222 - 50, w, h, 22, 0, 0, 50}));
    EXPECT_EQ(t_WindowPos(11, 21), 0);
    EXPECT_EQ(t_WindowPos(11, -1), 0);
}

TEST(WindowPos, AGraphicWindowBeforeTheMemoryIsReadyAnswersFromItsFrame)
{
    platform::set_window_frame(platformwindow(0), {10, 20, 500, 322});
    const int64_t w = screenwidth(), h = screenheight();
    EXPECT_EQ(allselectors(0), (std::vector<int64_t>{0, 0, 0, 0, 0, 0, 0, 0, 500, 300, 500,
                                                     300, 322, 10, h - 322 - 20, w, h, 22, 0, 0, 20}));
}

TEST(WindowPos, ASetUpGraphicWindowAnswersFromItsRecord)
{
    fakesetup(0, 1280, 800, 24);
    t_WindowSize(0, 30, 40, 1280, 800);
    const int64_t w = screenwidth(), h = screenheight();
    EXPECT_EQ(allselectors(0), (std::vector<int64_t>{3, 2, 78, 24, 76, 23, 80, 25, 1280, 800, 1328,
                                                     848, 848 + 22, 30, h - 870 - 40, w, h, 22, 24, 24, 40}));
}

TEST(WindowTitleVisible, HidingTheTitleBarOfAGraphicWindowDropsItsHeight)
{
    fakesetup(0, 640, 400, 24);
    t_WindowTitleVisible(0, false);
    EXPECT_EQ(t_WindowPos(0, 17), 0);
    EXPECT_EQ(t_WindowPos(0, 12), 448);
    EXPECT_FALSE(platform::window_titled(platformwindow(0)));
    t_WindowTitleVisible(0, true);
    EXPECT_EQ(t_WindowPos(0, 17), 22);
    EXPECT_TRUE(platform::window_titled(platformwindow(0)));
}

TEST(WindowSize, FitsAGraphicWindowAroundItsView)
{
    fakesetup(0, 640, 400, 24);
    t_WindowSize(0, 30, 40, 640, 400);
    expectrect(platform::window_frame(platformwindow(0)), {30, 40, 688, 470});
    const GraphicView* view = toview(windowview(0));
    EXPECT_EQ(view->geometry(), QRect(24, 24, 640, 400));
    EXPECT_EQ(view->parentWidget()->size(), QSize(688, 448));

    // -1 everywhere re-applies what is there.
    t_WindowSize(0, -1, -1, -1, -1);
    expectrect(platform::window_frame(platformwindow(0)), {30, 40, 688, 470});
    EXPECT_EQ(view->geometry(), QRect(24, 24, 640, 400));

    // Another drawing size moves the view, not the record.
    t_WindowSize(0, -1, -1, 320, 200);
    expectrect(platform::window_frame(platformwindow(0)), {30, 40, 368, 270});
    EXPECT_EQ(view->geometry(), QRect(24, 24, 320, 200));
    EXPECT_EQ(windowtable[0].Width, 640);
}

TEST(WindowSize, AGraphicWindowNotSetUpIsReported)
{
    const PlatformRect before = platform::window_frame(platformwindow(2));
    DiagCapture capture;
    t_WindowSize(2, 0, 0, 100, 100);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_WindowSize: Window #2 not initialized."}));
    expectrect(platform::window_frame(platformwindow(2)), before);
}

TEST(WindowSize, TextWindowsSizeTheirScrollView)
{
    t_WindowSize(9, 50, 60, 600, 378);
    expectrect(platform::window_frame(platformwindow(9)), {50, 60, 600, 400});
    expectrect(platform::scroll_view_frame(9), {20, 20, 560, 301});
    // Sizes too small for a scroll view leave it as the resize laid it out.
    t_WindowSize(9, 50, 60, 40, 77);
    expectrect(platform::scroll_view_frame(9), {20, 20, 0, 22});
}

TEST(WindowSize, FramesLargerThanTheScreenAreKeptAndCentringKeepsTheTopOnScreen)
{
    t_WindowSize(11, 0, 0, 5000, 4000);
    expectrect(platform::window_frame(platformwindow(11)), {0, 0, 5000, 4022});
    t_WindowCenter(11);
    EXPECT_EQ(t_WindowPos(11, 14), 0) << "top edge at the top of the screen";
    EXPECT_EQ(t_WindowPos(11, 13), 0);
    EXPECT_EQ(t_WindowPos(11, 12), 4022);
}

TEST(WindowCenter, CentresTheFrameOnTheScreen)
{
    t_WindowSize(12, 0, 0, 200, 100);
    t_WindowCenter(12);
    EXPECT_EQ(t_WindowPos(12, 13), (screenwidth() - 200) / 2);
    EXPECT_EQ(t_WindowPos(12, 14), (screenheight() - 122) / 2);
}

TEST(WindowVisible, GraphicWindowsKeepTheirRecordInStep)
{
    windowtable[3].UpdateDuration = 1234;
    t_WindowVisible(3, true);
    EXPECT_TRUE(platform::window_visible(platformwindow(3)));
    EXPECT_TRUE(windowtable[3].Visible);
    EXPECT_EQ(windowtable[3].UpdateDuration, 1234);
    t_WindowVisible(3, false);
    EXPECT_FALSE(platform::window_visible(platformwindow(3)));
    EXPECT_FALSE(windowtable[3].Visible);
    EXPECT_EQ(windowtable[3].UpdateDuration, 0);
}

TEST(WindowVisible, ThePasteboardWindowShowsTheClipboardText)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("Grüße aus der Zwischenablage"));
    t_WindowVisible(8, true);
    EXPECT_TRUE(platform::window_visible(platformwindow(8)));
    EXPECT_EQ(platform::text_view_text(windowtextview(8)), "Grüße aus der Zwischenablage");
    t_WindowVisible(8, false);
    EXPECT_FALSE(platform::window_visible(platformwindow(8)));
}

TEST(WindowVisible, TextWindowsWithoutTextViewAreReported)
{
    AppDelegate& d = appdelegate();
    d.PasteboardTextView = nullptr;
    d.VirtualPrinterTextView = nullptr;
    d.SystemConsoleTextView = nullptr;
    DiagCapture capture;
    t_WindowVisible(8, true);
    t_WindowVisible(9, true);
    t_WindowVisible(10, false);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{
                                   "t_WindowVisible: Pasteboard window is nil, resource undefined.",
                                   "t_WindowVisible: Virtual printer window is nil, resource undefined.",
                                   "t_WindowVisible: System console window is nil, resource undefined.",
                               }));
    EXPECT_FALSE(platform::window_visible(platformwindow(9)));
}

TEST(ColorBorder, PaintsTheMarginWithThePaletteColour)
{
    fakesetup(0, 640, 400, 24);
    t_WindowSize(0, 0, 0, 640, 400);
    t_ColorBorder(0, 21);  // 21 & 15 = 5, dark grey
    EXPECT_EQ(windowtable[0].RGBColorBorder.load(), palettecolor(5));
    const QImage picture = topwindow(0)->content()->grab().toImage();
    EXPECT_EQ(QColor(picture.pixel(5, 5)), QColor(0x54, 0x54, 0x54));
}

TEST(ColorBorder, OnlyGraphicWindowsThatAreSetUp)
{
    DiagCapture capture;
    t_ColorBorder(8, 1);
    t_ColorBorder(3, 1);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_ColorBorder: Window is not a graphic window.",
                                                         "t_ColorBorder: Window #3 not initialized."}));
}

TEST(WindowTitle, SetsTheTitleAndFromAnotherThreadDoesNotWait)
{
    t_WindowTitle(8, "Ablage");
    EXPECT_EQ(towidget(platformwindow(8))->windowTitle(), QStringLiteral("Ablage"));

    std::atomic<bool> returned{false};
    std::thread other([&] {
        t_WindowTitle(12, "Später");
        returned = true;
    });
    EXPECT_TRUE(pump_until([&] { return returned.load(); }));
    other.join();
    EXPECT_TRUE(pump_until([] { return towidget(platformwindow(12))->windowTitle() == "Später"; }));
}

TEST(NoWindow, EveryOperationOnThirteenSaysSo)
{
    DiagCapture capture;
    EXPECT_EQ(t_WindowPos(13, 10), 0);
    t_WindowSize(13, 0, 0, 100, 100);
    t_WindowCenter(13);
    t_WindowFront(13);
    t_WindowTitle(13, "x");
    t_WindowTitleVisible(13, false);
    t_WindowVisible(13, true);
    t_WindowPos(255, 0);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{
                                   "t_WindowPos: Window does not exist.",
                                   "t_WindowSize: Window does not exist.",
                                   "t_WindowCenter: Window does not exist.",
                                   "t_WindowFront: Window does not exist.",
                                   "t_WindowTitle: Window does not exist.",
                                   "t_WindowTitleVisible: Window does not exist.",
                                   "t_WindowVisible: Window does not exist.",
                                   "t_WindowPos: Window does not exist.",
                               }));
}

TEST(NoWindow, AnEmptyOutletCountsAsNoWindow)
{
    appdelegate().MainWindow = nullptr;
    DiagCapture capture;
    t_WindowFront(12);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_WindowFront: Window does not exist."}));
}

TEST(QuitProgram, WithoutWindowEndsTheProgramThreadWithOneLine)
{
    DiagCapture capture;
    bool after = false;
    EXPECT_TRUE(run_on_program_thread([&] {
        t_QuitProgram(13);
        after = true;
    }));
    EXPECT_FALSE(after) << "the thread ends inside t_QuitProgram";
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_QuitProgram: Quitting current thread."}));
}

TEST(QuitProgram, OnAThreadTheRuntimeDidNotStartItReturns)
{
    DiagCapture capture;
    t_QuitProgram(200);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_QuitProgram: Quitting current thread."}));
}
