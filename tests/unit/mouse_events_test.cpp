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
// run while a failing test unwinds.
std::atomic<int> handlercalls{0};
std::atomic<int> running{0};
std::atomic<int> overlapped{0};

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
    windowtable[3].BorderWidth = 10;
    windowtable[3].BorderHeight = 10;
    setprogrammousehandler([] { ++handlercalls; });
}

t_MousePress press(double x, double y, uint64_t flags = 0, int64_t buttons = 1)
{
    return t_MousePress{x, y, flags, buttons};
}

// Off-by-one cells at each edge of the pixel area; -1 and -2 mark the
// border beside and above/below it.
TEST(MouseEvents, ClickPositionsInThePixelArea)
{
    setwindow3();
    const struct {
        double x, y;
        int64_t windowx, windowy, clickx, clicky;
    } rows[] = {
        {10, 210, 10, 210, 0, 0},      {9, 210, 9, 210, -1, 0},
        {330, 210, 330, 210, -2, 0},   {10, 10, 10, 10, 0, -2},
        {10, 211, 10, 211, 0, -1},     {329.9, 11.5, 329, 11, 319, 199},
        {-0.5, 210.99, 0, 210, -1, 0}, {170.2, 110.7, 170, 110, 160, 100},
    };
    DiagCapture capture;
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.x << ", " << row.y);
        capture.clear();
        viewMouseDown(3, press(row.x, row.y), false);
        ASSERT_FALSE(t_MouseEvents.empty());
        const t_Event& e = t_MouseEvents.back();
        EXPECT_EQ(std::tuple(e.WindowX, e.WindowY, e.ClickX, e.ClickY),
                  std::tuple(row.windowx, row.windowy, row.clickx, row.clicky));
        EXPECT_EQ(capture.lines(),
                  (std::vector<std::string>{
                      "t_MouseEventHandler: Graphic #3 window, X = " + std::to_string(row.clickx) +
                          ", Y = " + std::to_string(row.clicky),
                      "t_MouseEventHandler: Calling program mouse handler asynchronously."}));
    }
    EXPECT_TRUE(t_MouseEventAvailable);
    EXPECT_TRUE(waitfor([&] { return handlercalls == int(std::size(rows)); }));
}

// Both buttons, modifiers and the time reach the record.
TEST(MouseEvents, TheRecordCarriesButtonsModifiersAndTime)
{
    setwindow3();
    const int64_t before = absolute_ms();
    t_MouseEventHandler(3, press(50, 60, capslockflag | controlflag | helpflag | fnflag, 3), 50.7, 60.2);
    ASSERT_EQ(t_MouseEvents.size(), 1u);
    const t_Event& e = t_MouseEvents.front();
    EXPECT_EQ(std::tuple(e.Kind, e.Index, e.Window, e.Mods), std::tuple(2, 3, 3, 0x1 | 0x4 | 0x40 | 0x80));
    EXPECT_TRUE(e.Time >= before && e.Time <= absolute_ms());
    EXPECT_TRUE(e.CapsLockPressed && e.ControlPressed && e.HelpPressed && !e.ShiftPressed && !e.CloseBox);
    EXPECT_FALSE(e.FnPressed) << "bit 23 of a click means function, not Fn";
    EXPECT_TRUE(e.FunctionKeyPressed && !e.CursorKeyPressed);
}

// Clicks dropped before memory is ready, on an ignoring window or on one not
// set up still move the button flags; only the last complains.
TEST(MouseEvents, ButtonFlagsFollowEveryClickEvenDroppedOnes)
{
    DiagCapture capture;
    memoryready = false;
    viewMouseDown(3, press(20, 20), true);
    EXPECT_TRUE(t_RightMouseButtonPressed);
    setwindow3();
    windowtable[3].IgnoreEvents = true;
    viewMouseDown(3, press(20, 20), false);
    EXPECT_TRUE(t_LeftMouseButtonPressed && !t_RightMouseButtonPressed);
    viewMouseDown(6, press(20, 20), true);
    EXPECT_TRUE(t_RightMouseButtonPressed && !t_LeftMouseButtonPressed);
    viewMouseUp();
    EXPECT_FALSE(t_RightMouseButtonPressed || t_LeftMouseButtonPressed);
    EXPECT_TRUE(t_MouseEvents.empty());
    EXPECT_FALSE(t_MouseEventAvailable);
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"viewMouseDown: Graphic window (6) not initialized."});
    sleep_ms(50);
    EXPECT_EQ(handlercalls, 0) << "no handler task for a dropped click";
}

TEST(MouseEvents, ClicksTheHandlerCannotPlaceStillCallTheProgram)
{
    setwindow3();
    DiagCapture capture;
    t_MouseEventHandler(9, press(12.8, 34.1), 12.8, 34.1);
    t_MouseEventHandler(5, press(1, 2), 1, 2);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{
                                   "t_MouseEventHandler: Unknown window, AbsX = 12, AbsY = 34",
                                   "t_MouseEventHandler:  window, X = -3, Y = -3",
                                   "t_MouseEventHandler: Calling program mouse handler asynchronously.",
                                   "t_MouseEventHandler: Window #5 not initialized.",
                                   "t_MouseEventHandler:  window, X = -3, Y = -3",
                                   "t_MouseEventHandler: Calling program mouse handler asynchronously.",
                               }));
    EXPECT_TRUE(t_MouseEvents.empty());
    EXPECT_TRUE(waitfor([] { return handlercalls == 2; }));
}

// Each handler waits until the other one is running too, so the two calls
// can only both finish when the tasks overlap.
void overlappinghandler()
{
    ++running;
    if (waitfor([] { return running >= 2; }))
        ++overlapped;
    ++handlercalls;
}

TEST(MouseEvents, TwoQuickClicksStartTwoOverlappingHandlerTasks)
{
    setwindow3();
    setprogrammousehandler(overlappinghandler);
    DiagCapture capture;
    viewMouseDown(3, press(20, 20), false);
    viewMouseDown(3, press(30, 30), false);
    EXPECT_TRUE(waitfor([] { return handlercalls == 2; }));
    EXPECT_EQ(overlapped, 2);
    EXPECT_EQ(t_MouseEvents.size(), 2u);
}

TEST(MouseEvents, TheQueueKeepsTheNewestClicks)
{
    setwindow3();
    DiagCapture capture;
    for (int i = 0; i < 4200; ++i)
        t_MouseEventHandler(3, press(10, 210), 10 + i % 300, 210);
    std::lock_guard<std::mutex> lock(t_MouseEventsLock);
    ASSERT_EQ(t_MouseEvents.size(), 4096u);
    EXPECT_EQ(t_MouseEvents.front().ClickX, 104 % 300);
    EXPECT_EQ(t_MouseEvents.back().ClickX, 4199 % 300);
    EXPECT_TRUE(waitfor([] { return handlercalls == 4200; }));
}

}  // namespace
