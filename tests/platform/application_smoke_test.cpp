// The application, its windows and the hand-off to the main thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "frontends/qt/handles.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

// Many threads hand work over at once while the loop turns: none is lost,
// each runs on the main thread before its caller goes on. Posted work runs
// later, in order.
TEST(MainThread, HandOffsFromOtherThreadsRunThereAndAreWaitedFor)
{
    constexpr int threads = 8, rounds = 50;
    const std::thread::id mainid = std::this_thread::get_id();
    std::atomic<int> finished{0}, faults{0};
    std::vector<int> posted;
    platform::post_to_main([&] { posted.push_back(1); });
    platform::post_to_main([&] { posted.push_back(2); });
    std::vector<std::jthread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (int r = 0; r < rounds; ++r) {
                bool ran = false;
                platform::run_on_main([&] { ran = std::this_thread::get_id() == mainid; });
                faults += !ran;
            }
            ++finished;
        });
    EXPECT_TRUE(pump_until([&] { return finished.load() == threads; }));
    EXPECT_EQ(faults.load(), 0);
    EXPECT_EQ(posted, (std::vector<int>{1, 2}));
}

// The close box only hides the window, even the last one shown: the
// application keeps running and t_WindowFront brings the window back.
TEST(CloseBox, HidesTheWindowUntilItIsBroughtToTheFront)
{
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { quit = true; });
    PlatformWindow* window = platformwindow(0);
    t_WindowFront(0);
    DiagCapture capture;
    QCloseEvent close;
    QCoreApplication::sendEvent(towidget(window), &close);
    pump_for(50);
    EXPECT_FALSE(close.isAccepted() || quit);
    EXPECT_FALSE(platform::window_visible(window) || windowtable[0].Visible);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 0"}));
    t_WindowFront(0);
    EXPECT_TRUE(platform::window_visible(window) && windowtable[0].Visible);
}
