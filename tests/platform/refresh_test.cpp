// The refresh thread and t_WindowUpdate against the real views, offscreen.
#include <gtest/gtest.h>

#include <set>

#include "display/window_refresh.h"
#include "support/program_thread.h"
#include "util/clock.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

// Window 0 as a small graphic window, shown so that its view really paints;
// its set-up also starts the refresh thread.
class Refresh : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run_on_program_thread([] {
            t_InitWindow(0, 24, true, 320, 200, 10, 10, emptyfont(), true);
            t_WindowVisible(0, true);
        }));
        ASSERT_TRUE(pump_until([] { return refreshrunning.load(); }));
    }
};

// The distinct UpdateStarted stamps (the marks) while the loop turns `ms`.
std::vector<int64_t> stamps(int ms)
{
    std::set<int64_t> seen;
    const int64_t end = absolute_ms() + ms;
    pump_until([&] {
        seen.insert(windowtable[0].UpdateStarted);
        return absolute_ms() >= end;
    });
    seen.erase(0);
    return {seen.begin(), seen.end()};
}

// At rate 30 two marks lie at least a period (33 ms) apart; at rate 0 the
// thread marks on every pass, far more often.
TEST_F(Refresh, MarksFollowTheRate)
{
    const std::vector<int64_t> seen = stamps(1000);
    EXPECT_GE(seen.size(), 15u);
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_GE(seen[i] - seen[i - 1], 33) << "marks " << i - 1 << " and " << i;
    windowtable[0].RefreshRate = 0;
    EXPECT_GE(stamps(600).size(), 40u) << "at 30 per second 600 ms hold at most 19 marks";
}

// No marks for a window without AutoUpdate, nor while View00 draws
// (VerticalBlank false). Each of View00's passes ends by setting the flag
// true, so the window is hidden first: hidden windows are still marked, but
// their view no longer paints.
TEST_F(Refresh, NoMarksWithoutAutoUpdateOrWhileViewZeroDraws)
{
    ASSERT_TRUE(run_on_program_thread([] { t_WindowVisible(0, false); }));
    windowtable[0].AutoUpdate = false;
    pump_for(100);  // a pass under way finishes
    windowtable[0].UpdateStarted = 0;
    EXPECT_TRUE(stamps(200).empty()) << "without AutoUpdate";
    windowtable[0].VerticalBlank = false;
    windowtable[0].AutoUpdate = true;
    EXPECT_TRUE(stamps(200).empty()) << "while View00 draws";
    windowtable[0].VerticalBlank = true;
    EXPECT_FALSE(stamps(200).empty());
}

// The view draws (and the image stamps UpdateFinished) only when the
// window's pixels changed since its last mark. Without marks, t_WindowUpdate
// from the program thread draws before it returns; deferred drawing waits
// for a later pass of the event loop.
TEST_F(Refresh, DrawsChangedPixelsOnlyAndOnRequest)
{
    pump_for(200);  // the first drawing of the new window
    const int64_t drawn = windowtable[0].UpdateFinished;
    pump_for(300);
    EXPECT_EQ(windowtable[0].UpdateFinished, drawn);
    videomemory[windowtable[0].MemoryStart] = 0xFF;  // one pixel turns red
    EXPECT_TRUE(pump_until([drawn] { return windowtable[0].UpdateFinished != drawn; }, 2000));

    windowtable[0].AutoUpdate = false;
    pump_for(50);
    windowtable[0].UpdateFinished = 0;
    int64_t finished = 0;
    ASSERT_TRUE(run_on_program_thread([&] {
        t_WindowUpdate(0, false);
        finished = windowtable[0].UpdateFinished;
    }));
    EXPECT_GT(finished, 0);
    windowtable[0].UpdateFinished = 0;
    t_WindowUpdate(0, true);
    EXPECT_EQ(windowtable[0].UpdateFinished, 0);
    EXPECT_TRUE(pump_until([] { return windowtable[0].UpdateFinished > 0; }, 2000));
}

}  // namespace
