// Mouse clicks: positions in the pixel area, the queued record, the button
// flags, the printed report and the program's handler tasks.
#include <gtest/gtest.h>

#include <atomic>

#include "hand_window.h"
#include "input/mouse_events.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

// Counters the handler tasks write; static, since detached tasks may still
// run while a failing test unwinds. Each test waits for its own tasks and
// starts from zero.
std::atomic<int> handlercalls{0};
std::atomic<int> running{0};
std::atomic<int> overlapped{0};

class MouseEvents : public testing::Test {
protected:
    void SetUp() override { handlercalls = running = overlapped = 0; }
};

bool waitfor(const std::function<bool()>& done)
{
    for (int i = 0; i < 1000 && !done(); ++i)
        sleep_ms(5);
    return done();
}

// Window 3: 320 x 200 pixels inside a border of 10 x 10, clicks counted.
void setwindow3()
{
    sethandwindow({.number = 3, .width = 320, .height = 200}, handfont(8, 8));
    windowtable[3].BorderWidth = windowtable[3].BorderHeight = 10;
    setprogrammousehandler([] { ++handlercalls; });
}

// Off-by-one cells at each edge of the pixel area; -1 and -2 mark the
// border beside and above/below it.
TEST_F(MouseEvents, ClickPositionsInThePixelArea)
{
    setwindow3();
    const struct { double x, y; int64_t windowx, windowy, clickx, clicky; } rows[] = {
        {10, 210, 10, 210, 0, 0},      {9, 210, 9, 210, -1, 0},
        {330, 210, 330, 210, -2, 0},   {10, 10, 10, 10, 0, -2},
        {10, 211, 10, 211, 0, -1},     {329.9, 11.5, 329, 11, 319, 199},
        {-0.5, 210.99, 0, 210, -1, 0}, {170.2, 110.7, 170, 110, 160, 100},
    };
    DiagCapture capture;
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.x << ", " << row.y);
        capture.clear();
        viewMouseDown(3, {row.x, row.y, 0, 1}, false);
        const t_Event& e = t_MouseEvents.back();
        const std::string at = "X = " + std::to_string(row.clickx) + ", Y = " + std::to_string(row.clicky);
        EXPECT_EQ(std::tuple(e.WindowX, e.WindowY, capture.lines().at(0)),
                  std::tuple(row.windowx, row.windowy, "t_MouseEventHandler: Graphic #3 window, " + at));
    }
    EXPECT_EQ(capture.lines().at(1), "t_MouseEventHandler: Calling program mouse handler asynchronously.");
    // Bit 23 of a click means a function key, not Fn.
    t_MouseEventHandler(3, {50, 60, capslockflag | helpflag | fnflag, 3}, 50.7, 60.2);
    const t_Event& e = t_MouseEvents.back();
    EXPECT_EQ(std::tuple(e.Kind, e.Index, e.Mods, e.HelpPressed, e.FnPressed, e.FunctionKeyPressed),
              std::tuple(2, 3, 0x1 | 0x40 | 0x80, true, false, true));
    // Clicks the handler cannot place queue nothing but still call the program.
    capture.clear();
    t_MouseEventHandler(9, {12.8, 34.1, 0, 1}, 12.8, 34.1);
    t_MouseEventHandler(5, {1, 2, 0, 1}, 1, 2);
    EXPECT_EQ(capture.lines().at(0), "t_MouseEventHandler: Unknown window, AbsX = 12, AbsY = 34");
    EXPECT_EQ(capture.lines().at(3), "t_MouseEventHandler: Window #5 not initialized.");
    EXPECT_EQ(t_MouseEvents.size(), std::size(rows) + 1);
    EXPECT_TRUE(waitfor([&] { return handlercalls == int(std::size(rows)) + 3; }));
}

// Clicks dropped before memory is ready, on an ignoring window or on one not
// set up still move the button flags; only the last complains.
TEST_F(MouseEvents, ButtonFlagsFollowEveryClickEvenDroppedOnes)
{
    DiagCapture capture;
    memoryready = false;
    viewMouseDown(3, {20, 20, 0, 1}, true);
    EXPECT_TRUE(t_RightMouseButtonPressed);
    setwindow3();
    windowtable[3].IgnoreEvents = true;
    viewMouseDown(3, {20, 20, 0, 1}, false);
    EXPECT_TRUE(t_LeftMouseButtonPressed && !t_RightMouseButtonPressed);
    viewMouseDown(6, {20, 20, 0, 1}, true);
    EXPECT_TRUE(t_RightMouseButtonPressed && !t_LeftMouseButtonPressed);
    viewMouseUp();
    EXPECT_FALSE(t_RightMouseButtonPressed || t_LeftMouseButtonPressed || t_MouseEventAvailable ||
                 !t_MouseEvents.empty());
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"viewMouseDown: Graphic window (6) not initialized."});
    sleep_ms(50);
    EXPECT_EQ(handlercalls, 0) << "no handler task for a dropped click";
}

// Each handler waits until the other one is running too, so the two calls
// can only both finish when the tasks overlap.
TEST_F(MouseEvents, TwoQuickClicksStartTwoOverlappingHandlerTasks)
{
    setwindow3();
    setprogrammousehandler([] {
        ++running;
        if (waitfor([] { return running >= 2; }))
            ++overlapped;
        ++handlercalls;
    });
    DiagCapture capture;
    viewMouseDown(3, {20, 20, 0, 1}, false);
    viewMouseDown(3, {30, 30, 0, 1}, false);
    EXPECT_TRUE(waitfor([] { return handlercalls == 2; }));
    EXPECT_EQ(overlapped, 2);
}

TEST_F(MouseEvents, TheQueueKeepsTheNewestClicks)
{
    setwindow3();
    DiagCapture capture;
    for (int i = 0; i < 4200; ++i)
        t_MouseEventHandler(3, {10, 210, 0, 1}, 10 + i % 300, 210);
    std::lock_guard<std::mutex> lock(t_MouseEventsLock);
    EXPECT_EQ(std::tuple(t_MouseEvents.size(), t_MouseEvents.front().ClickX, t_MouseEvents.back().ClickX),
              std::tuple(4096u, 104, 299));
    EXPECT_TRUE(waitfor([] { return handlercalls == 4200; }));
}

}  // namespace
