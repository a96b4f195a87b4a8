// Window placement, sizes and titles in the runtime's bottom-left
// coordinates, the text windows' layout after a resize, and the line each
// refused window operation prints.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <functional>
#include <utility>

#include "platform/platform.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "platform/qt/top_window.h"
#include "support/program_thread.h"
#include "text/text_attributes.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

std::vector<double> box(const PlatformRect& r)
{
    return {r.x, r.y, r.width, r.height};
}

// t_WindowPos for selectors -1..21.
std::vector<int64_t> selectors(uint8_t window)
{
    std::vector<int64_t> values;
    for (int64_t selector = -1; selector <= 21; ++selector)
        values.push_back(t_WindowPos(window, selector));
    return values;
}

}  // namespace

// The scroll view fills the frame less its margins and the ruler runs 10
// points below the top, visible or not; showing a window resized while
// hidden lays it out no second time. t_WindowSize sizes the scroll view
// from the content size, or leaves a side too small for one alone.
TEST(TextWindowLayout, AResizeFitsScrollViewAndRulerToTheFrame)
{
    struct Row {
        uint8_t window;
        bool visible;
        double width, height;
        PlatformRect scroll;
        double rulerwidth;  // 0: the window has no ruler
    };
    const Row rows[] = {
        {9, false, 600, 400, {20, 20, 560, 323}, 552}, {9, true, 700, 500, {20, 20, 660, 423}, 652},
        {10, true, 600, 400, {20, 20, 560, 323}, 552}, {8, false, 600, 400, {10, 10, 580, 358}, 0},
        {8, true, 600, 400, {10, 10, 580, 358}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "window " << int(row.window) << " visible " << row.visible);
        PlatformWindow* window = platformwindow(row.window);
        row.visible ? platform::order_window_front(window) : platform::order_window_out(window);
        platform::set_window_frame(window, {30, 40, 500, 300});
        platform::set_window_frame(window, {30, 40, row.width, row.height});
        EXPECT_EQ(box(platform::scroll_view_frame(row.window)), box(row.scroll));
        const PlatformRect ruler = platform::ruler_frame(row.window);
        if (row.rulerwidth > 0) {
            EXPECT_EQ(box(ruler), box({ruler.x, row.height - 22 - 10 - 19, row.rulerwidth, 19}));
        }
        platform::set_scroll_view_frame(row.window, {1, 2, 3, 4});
        platform::order_window_front(window);
        EXPECT_EQ(box(platform::scroll_view_frame(row.window)), box({1, 2, 3, 4}));
    }
    t_WindowSize(9, 50, 60, 600, 378);
    EXPECT_EQ(box(platform::window_frame(platformwindow(9))), box({50, 60, 600, 400}));
    EXPECT_EQ(box(platform::scroll_view_frame(9)), box({20, 20, 560, 301}));
    t_WindowSize(9, 50, 60, 40, 77);
    EXPECT_EQ(box(platform::scroll_view_frame(9)), box({20, 20, 0, 22}));
}

// Selectors -1..21 of windows 8..12 and of a graphic window before its
// set-up, answered from the frame (y counted from the screen's bottom).
TEST(WindowPos, WindowsWithoutRecordAnswerFromTheirFrame)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int64_t w = screen.width(), h = screen.height();
    for (uint8_t n = 8; n <= 12; ++n) {
        t_WindowSize(n, 100, 50, 300, 200);  // frame 300 x 222
        EXPECT_EQ(selectors(n), (std::vector<int64_t>{0, 0, 0, 299, 221, 300, 222, 300, 222, 300, 200, 300,
                                                      200, 222, 100, h - 222 - 50, w, h, 22, 0, 0, 50, 0}))
            << "window " << int(n);
    }
    platform::set_window_frame(platformwindow(0), {10, 20, 500, 322});
    EXPECT_EQ(selectors(0), (std::vector<int64_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 500, 300, 500, 300, 322, 10,
                                                  h - 322 - 20, w, h, 22, 0, 0, 20, 0}));
}

// A set-up graphic window answers from its record, text area, title and
// borders; its frame fits around the view; a hidden title bar counts 0; the
// border colour number counts modulo 16.
TEST(WindowPos, ASetUpGraphicWindowAnswersFromItsRecord)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int64_t w = screen.width(), h = screen.height();
    t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
    t_Area(0, 3, 2, 78, 24);
    t_WindowSize(0, 30, 40, 1280, 800);
    EXPECT_EQ(selectors(0), (std::vector<int64_t>{0, 3, 2, 78, 24, 76, 23, 80, 25, 1280, 800, 1328, 848,
                                                  848 + 22, 30, h - 870 - 40, w, h, 22, 24, 24, 40, 0}));
    EXPECT_EQ(box(platform::window_frame(platformwindow(0))), box({30, 40, 1328, 870}));
    EXPECT_EQ(toview(windowview(0))->geometry(), QRect(24, 24, 1280, 800));

    t_WindowTitleVisible(0, false);
    EXPECT_EQ(t_WindowPos(0, 17), 0);
    EXPECT_EQ(t_WindowPos(0, 12), 848);
    EXPECT_FALSE(platform::window_titled(platformwindow(0)));

    t_ColorBorder(0, 18);
    QWidget* content = dynamic_cast<TopWindow*>(towidget(platformwindow(0)))->content();
    EXPECT_EQ(QColor(content->grab().toImage().pixel(5, 5)), QColor(0, 0, 0x80));
}

// Every refused operation prints exactly its one line. The last rows empty
// outlets, as a broken interface would leave them.
TEST(NoWindow, EveryRefusalPrintsItsLine)
{
    AppDelegate& d = appdelegate();
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"t_WindowPos: Window does not exist.", [] { EXPECT_EQ(t_WindowPos(13, 10), 0); }},
        {"t_WindowPos: Window does not exist.", [] { t_WindowPos(255, 0); }},
        {"t_WindowSize: Window does not exist.", [] { t_WindowSize(13, 0, 0, 100, 100); }},
        {"t_WindowCenter: Window does not exist.", [] { t_WindowCenter(13); }},
        {"t_WindowFront: Window does not exist.", [] { t_WindowFront(13); }},
        {"t_WindowTitle: Window does not exist.", [] { t_WindowTitle(13, "x"); }},
        {"t_WindowTitleVisible: Window does not exist.", [] { t_WindowTitleVisible(13, false); }},
        {"t_WindowVisible: Window does not exist.", [] { t_WindowVisible(13, true); }},
        {"t_WindowSize: Window #2 not initialized.", [] { t_WindowSize(2, 0, 0, 100, 100); }},
        {"t_ColorBorder: Window is not a graphic window.", [] { t_ColorBorder(8, 1); }},
        {"t_ColorBorder: Window #3 not initialized.", [] { t_ColorBorder(3, 1); }},
        // Off the runtime's threads t_QuitProgram returns; on one it ends it.
        {"t_QuitProgram: Quitting current thread.", [] { t_QuitProgram(200); }},
        {"t_QuitProgram: Quitting current thread.",
         [] { EXPECT_TRUE(run_on_program_thread([] { t_QuitProgram(13); ADD_FAILURE() << "not ended"; })); }},
        {"t_WindowFront: Window does not exist.", [&d] { d.MainWindow = nullptr; t_WindowFront(12); }},
        {"t_WindowVisible: Virtual printer window is nil, resource undefined.",
         [&d] { d.VirtualPrinterTextView = nullptr; t_WindowVisible(9, true); }},
    };
    for (const auto& [line, call] : rows) {
        DiagCapture capture;
        call();
        EXPECT_EQ(capture.lines(), std::vector<std::string>{line}) << line;
    }
    EXPECT_FALSE(platform::window_visible(platformwindow(9)));
}
