// Window placement and sizes in the runtime's bottom-left coordinates, the
// text windows' layout after a resize, and the line each refused window
// operation prints.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <functional>
#include <utility>

#include "platform/platform.h"
#include "frontends/qt/handles.h"
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

// The scroll view fills the frame less its margins and the printer's ruler
// runs 10 points below the top, even while hidden; t_WindowSize sizes the
// frame from the content size, or leaves a side too small for one alone.
TEST(TextWindowLayout, AResizeFitsScrollViewAndRulerToTheFrame)
{
    PlatformWindow* printer = platformwindow(9);
    platform::order_window_out(printer);
    platform::set_window_frame(printer, {30, 40, 500, 300});
    platform::set_window_frame(printer, {30, 40, 600, 400});
    EXPECT_EQ(box(platform::scroll_view_frame(9)), box({20, 20, 560, 323}));
    const PlatformRect ruler = platform::ruler_frame(9);
    EXPECT_EQ(box(ruler), box({ruler.x, 400 - 22 - 10 - 19, 552, 19}));
    t_WindowSize(9, 50, 60, 600, 378);
    EXPECT_EQ(box(platform::window_frame(printer)), box({50, 60, 600, 400}));
    EXPECT_EQ(box(platform::scroll_view_frame(9)), box({20, 20, 560, 301}));
    t_WindowSize(9, 50, 60, 40, 77);
    EXPECT_EQ(box(platform::scroll_view_frame(9)), box({20, 20, 0, 22}));
}

// Selectors -1..21 of windows 8..12 and of a graphic window before its
// set-up answer from the frame (y counted from the screen's bottom); a set-up
// graphic window answers from its record, text area, title and borders, and
// its frame fits around the view; a hidden title bar counts 0.
TEST(WindowPos, SelectorsBeforeAndAfterSetUp)
{
    const int64_t w = QGuiApplication::primaryScreen()->geometry().width();
    const int64_t h = QGuiApplication::primaryScreen()->geometry().height();
    for (uint8_t n = 8; n <= 12; ++n) {
        t_WindowSize(n, 100, 50, 300, 200);  // frame 300 x 222
        EXPECT_EQ(selectors(n), (std::vector<int64_t>{0, 0, 0, 299, 221, 300, 222, 300, 222, 300, 200, 300,
                                                      200, 222, 100, h - 222 - 50, w, h, 22, 0, 0, 50, 0}))
            << "window " << int(n);
    }
    platform::set_window_frame(platformwindow(0), {10, 20, 500, 322});
    EXPECT_EQ(selectors(0), (std::vector<int64_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 500, 300, 500, 300, 322, 10,
                                                  h - 322 - 20, w, h, 22, 0, 0, 20, 0}));

    t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
    t_Area(0, 3, 2, 78, 24);
    t_WindowSize(0, 30, 40, 1280, 800);
    EXPECT_EQ(selectors(0), (std::vector<int64_t>{0, 3, 2, 78, 24, 76, 23, 80, 25, 1280, 800, 1328, 848,
                                                  848 + 22, 30, h - 870 - 40, w, h, 22, 24, 24, 40, 0}));
    EXPECT_EQ(box(platform::window_frame(platformwindow(0))), box({30, 40, 1328, 870}));
    t_WindowTitleVisible(0, false);
    EXPECT_EQ(t_WindowPos(0, 17), 0);
}

// Every refused operation prints exactly its one line.
TEST(NoWindow, EveryRefusalPrintsItsLine)
{
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"t_WindowPos: Window does not exist.", [] { EXPECT_EQ(t_WindowPos(13, 10), 0); }},
        {"t_WindowSize: Window does not exist.", [] { t_WindowSize(13, 0, 0, 100, 100); }},
        {"t_WindowCenter: Window does not exist.", [] { t_WindowCenter(13); }},
        {"t_WindowFront: Window does not exist.", [] { t_WindowFront(13); }},
        {"t_WindowTitle: Window does not exist.", [] { t_WindowTitle(13, "x"); }},
        {"t_WindowTitleVisible: Window does not exist.", [] { t_WindowTitleVisible(13, false); }},
        {"t_WindowVisible: Window does not exist.", [] { t_WindowVisible(13, true); }},
        {"t_WindowSize: Window #2 not initialized.", [] { t_WindowSize(2, 0, 0, 100, 100); }},
        // Off the runtime's threads t_QuitProgram returns; on one it ends it.
        {"t_QuitProgram: Quitting current thread.", [] { t_QuitProgram(200); }},
        {"t_QuitProgram: Quitting current thread.",
         [] { EXPECT_TRUE(run_on_program_thread([] { t_QuitProgram(13); ADD_FAILURE() << "not ended"; })); }},
    };
    for (const auto& [line, call] : rows) {
        DiagCapture capture;
        call();
        EXPECT_EQ(capture.lines(), std::vector<std::string>{line}) << line;
    }
}
