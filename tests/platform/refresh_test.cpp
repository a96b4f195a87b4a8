// The refresh thread and t_WindowUpdate against the real views, offscreen.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "display/window_refresh.h"
#include "support/program_thread.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

// Window 0 as a small graphic window (its set-up also starts the refresh
// thread), shown so that its view really paints.
class Refresh : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(run_on_program_thread([] {
            t_InitWindow(0, 24, true, 320, 200, 10, 10, emptyfont(), true);
            t_WindowVisible(0, true);
        }));
        ASSERT_TRUE(windowtable[0].Initialized);
        ASSERT_TRUE(pump_until([] { return refreshrunning.load(); }));
    }

    // The distinct UpdateStarted stamps seen while the event loop turns for
    // `ms` milliseconds.
    static std::vector<int64_t> stamps(int ms)
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
};

TEST_F(Refresh, MarksAtMostOncePerPeriodAtThirtyPerSecond)
{
    const std::vector<int64_t> seen = stamps(1000);
    EXPECT_GE(seen.size(), 15u);
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_GE(seen[i] - seen[i - 1], 33) << "marks " << i - 1 << " and " << i;
}

TEST_F(Refresh, RateZeroMarksOnEveryPass)
{
    windowtable[0].RefreshRate = 0;
    const std::vector<int64_t> seen = stamps(600);
    // At 30 per second 600 ms hold at most 19 marks.
    EXPECT_GE(seen.size(), 40u);
}

// The view draws (and the image stamps UpdateFinished) only when the
// window's pixels changed since its last mark.
TEST_F(Refresh, UnchangedPixelsAreNotDrawnAgain)
{
    pump_for(200);  // the first drawing of the new window
    const int64_t drawn = windowtable[0].UpdateFinished;
    pump_for(300);
    EXPECT_EQ(windowtable[0].UpdateFinished, drawn);
    videomemory[windowtable[0].MemoryStart] = 0xFF;  // one pixel turns red
    EXPECT_TRUE(pump_until([drawn] { return windowtable[0].UpdateFinished != drawn; }, 2000));
}

TEST_F(Refresh, WindowsWithoutAutoUpdateAreNotMarked)
{
    windowtable[0].AutoUpdate = false;
    pump_for(50);  // a pass under way finishes
    windowtable[0].UpdateStarted = 0;
    EXPECT_TRUE(stamps(200).empty());
}

// The flag is View00's: each of its drawing passes ends by setting it true,
// so the window is hidden first (the refresh thread still marks hidden
// windows, but their view no longer paints).
TEST_F(Refresh, NoMarkWhileViewZeroDraws)
{
    ASSERT_TRUE(run_on_program_thread([] { t_WindowVisible(0, false); }));
    pump_for(100);
    windowtable[0].VerticalBlank = false;
    pump_for(50);  // a pass under way finishes
    windowtable[0].UpdateStarted = 0;
    EXPECT_TRUE(stamps(200).empty());
    windowtable[0].VerticalBlank = true;
    EXPECT_FALSE(stamps(200).empty());
}

// On the main thread the hand-off runs the work at once, so whether the view
// was drawn or only marked shows right after the call.
TEST_F(Refresh, UpdateNowDrawsBeforeItReturnsDeferredInTheNextPass)
{
    windowtable[0].AutoUpdate = false;
    pump_for(50);
    windowtable[0].UpdateFinished = 0;
    t_WindowUpdate(0, false);
    EXPECT_GT(windowtable[0].UpdateFinished, 0);

    windowtable[0].UpdateFinished = 0;
    t_WindowUpdate(0, true);
    EXPECT_EQ(windowtable[0].UpdateFinished, 0);
    EXPECT_TRUE(pump_until([] { return windowtable[0].UpdateFinished > 0; }, 2000));
}

TEST_F(Refresh, UpdateFromTheProgramThreadDraws)
{
    windowtable[0].AutoUpdate = false;
    pump_for(50);
    windowtable[0].UpdateFinished = 0;
    int64_t finished = 0;
    ASSERT_TRUE(run_on_program_thread([&] {
        t_WindowUpdate(0, false);
        finished = windowtable[0].UpdateFinished;
    }));
    EXPECT_GT(finished, 0);
}

TEST_F(Refresh, UpdateOfANumberAboveSevenPrintsItsLine)
{
    DiagCapture out;
    ASSERT_TRUE(run_on_program_thread([] { t_WindowUpdate(8, true); }));
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"t_WindowUpdate: Window is not a graphic window."}));
}

// Started from the program thread, the refresh thread has number 3 and
// names itself (Linux keeps 15 bytes of the name).
TEST_F(Refresh, ThreadCarriesItsName)
{
    bool found = false;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
            std::string name;
            if (std::getline(comm, name) && name == "t_WindowAutoUpd")
                found = true;
        }
        closedir(tasks);
    }
    EXPECT_TRUE(found);
}

}  // namespace
