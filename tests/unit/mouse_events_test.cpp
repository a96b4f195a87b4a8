// Mouse clicks: positions in the pixel area, the queued record, the button
// flags, the printed report and the program's handler tasks.
#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <cstring>

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
std::atomic<int> misnamed{0};

bool waitfor(const std::function<bool()>& done)
{
    for (int i = 0; i < 1000 && !done(); ++i)
        sleep_ms(5);
    return done();
}

void countcall()
{
    ++handlercalls;
}

// Window 3: 320 x 200 pixels inside a border of 10 x 10.
void setwindow3()
{
    sethandwindow({.number = 3, .width = 320, .height = 200}, handfont(8, 8));
    windowtable[3].BorderWidth = 10;
    windowtable[3].BorderHeight = 10;
}

t_MousePress press(double x, double y, uint64_t flags = 0, int64_t buttons = 1)
{
    return t_MousePress{x, y, flags, buttons};
}

TEST(MouseEvents, ClickPositionsInThePixelArea)
{
    setwindow3();
    setprogrammousehandler(countcall);
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
        EXPECT_EQ(e.WindowX, row.windowx);
        EXPECT_EQ(e.WindowY, row.windowy);
        EXPECT_EQ(e.ClickX, row.clickx);
        EXPECT_EQ(e.ClickY, row.clicky);
        EXPECT_EQ(capture.lines(),
                  (std::vector<std::string>{
                      "t_MouseEventHandler: Graphic #3 window, X = " + std::to_string(row.clickx) +
                          ", Y = " + std::to_string(row.clicky),
                      "t_MouseEventHandler: Calling program mouse handler asynchronously."}));
    }
    EXPECT_EQ(t_MouseEvents.size(), std::size(rows));
    EXPECT_TRUE(t_MouseEventAvailable);
    EXPECT_TRUE(waitfor([&] { return handlercalls == int(std::size(rows)); }));
}

TEST(MouseEvents, TheRecordCarriesButtonsModifiersAndTime)
{
    setwindow3();
    const uint64_t flags = capslockflag | controlflag | helpflag | fnflag;
    const int64_t before = absolute_ms();
    t_MouseEventHandler(3, press(50, 60, flags, 3), 50.7, 60.2);
    ASSERT_EQ(t_MouseEvents.size(), 1u);
    const t_Event& e = t_MouseEvents.front();
    EXPECT_EQ(e.Kind, 2);
    EXPECT_EQ(e.Index, 3) << "both buttons held";
    EXPECT_EQ(e.Description, "");
    EXPECT_EQ(e.Value, 0);
    EXPECT_EQ(e.Window, 3);
    EXPECT_EQ(e.Mods, 0x1 | 0x4 | 0x40 | 0x80);
    EXPECT_GE(e.Time, before);
    EXPECT_LE(e.Time, absolute_ms());
    EXPECT_TRUE(e.CapsLockPressed);
    EXPECT_TRUE(e.ControlPressed);
    EXPECT_TRUE(e.HelpPressed);
    EXPECT_FALSE(e.ShiftPressed);
    EXPECT_FALSE(e.FnPressed) << "bit 23 of a click means function, not Fn";
    EXPECT_TRUE(e.FunctionKeyPressed);
    EXPECT_FALSE(e.CursorKeyPressed);
    EXPECT_FALSE(e.CloseBox);
}

TEST(MouseEvents, ButtonFlagsFollowPressesAndReleases)
{
    setwindow3();
    viewMouseDown(3, press(20, 20, 0, 2), true);
    EXPECT_TRUE(t_RightMouseButtonPressed);
    EXPECT_FALSE(t_LeftMouseButtonPressed);
    viewMouseUp();
    EXPECT_FALSE(t_RightMouseButtonPressed);
    EXPECT_FALSE(t_LeftMouseButtonPressed);
    viewMouseDown(3, press(20, 20), false);
    EXPECT_TRUE(t_LeftMouseButtonPressed);
    EXPECT_FALSE(t_RightMouseButtonPressed);
}

TEST(MouseEvents, DroppedClicksStillSetTheButtonFlags)
{
    setprogrammousehandler(countcall);
    DiagCapture capture;
    memoryready = false;
    viewMouseDown(3, press(20, 20), true);
    EXPECT_TRUE(t_RightMouseButtonPressed);

    setwindow3();
    windowtable[3].IgnoreEvents = true;
    viewMouseDown(3, press(20, 20), false);
    EXPECT_TRUE(t_LeftMouseButtonPressed);
    viewMouseDown(6, press(20, 20), true);
    EXPECT_TRUE(t_RightMouseButtonPressed);

    EXPECT_TRUE(t_MouseEvents.empty());
    EXPECT_FALSE(t_MouseEventAvailable);
    EXPECT_EQ(capture.lines(),
              std::vector<std::string>{"viewMouseDown: Graphic window (6) not initialized."});
    sleep_ms(50);
    EXPECT_EQ(handlercalls, 0) << "no handler task for a dropped click";
}

TEST(MouseEvents, ClicksTheHandlerCannotPlaceStillCallTheProgram)
{
    setprogrammousehandler(countcall);
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
    char name[16] = {};
    pthread_getname_np(pthread_self(), name, sizeof name);
    if (threadnumber() >= 3 && std::strcmp(name, "t_EventMouse") != 0)
        ++misnamed;
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
    EXPECT_EQ(misnamed, 0);
    EXPECT_EQ(t_MouseEvents.size(), 2u);
}

TEST(MouseEvents, MenuTaskCallsTheMenuHandler)
{
    setprogrammenuhandler(countcall);
    startbackgroundtask(t_EventMenuProcess);
    EXPECT_TRUE(waitfor([] { return handlercalls == 1; }));
    t_ProgramMenuHandler = nullptr;  // an empty slot is skipped
    t_EventMenuProcess();
    EXPECT_EQ(handlercalls, 1);
}

TEST(MouseEvents, TheQueueKeepsTheNewestClicks)
{
    setwindow3();
    setprogrammousehandler(countcall);
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
