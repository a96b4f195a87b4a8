// The application, its windows and the hand-off to the main thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <atomic>
#include <thread>

#include "platform/platform.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "platform/qt/text_windows.h"
#include "platform/qt/top_window.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

TEST(Application, TheTestThreadOwnsTheDesktop)
{
    EXPECT_TRUE(platform::available());
    EXPECT_TRUE(platform::on_main_thread());
    EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
    EXPECT_EQ(titlebarheight, 22) << "offscreen windows report no decoration";
}

TEST(Application, EveryWindowStartsHidden)
{
    for (uint8_t n = 0; n <= 12; ++n) {
        ASSERT_NE(platformwindow(n), nullptr) << "window " << int(n);
        EXPECT_FALSE(platform::window_visible(platformwindow(n))) << "window " << int(n);
    }
}

TEST(Lookups, NumbersReachTheirOutletsAndBack)
{
    const AppDelegate& d = appdelegate();
    EXPECT_EQ(towidget(platformwindow(8)), d.PasteboardWindow);
    EXPECT_EQ(towidget(platformwindow(9)), d.VirtualPrinterWindow);
    EXPECT_EQ(towidget(platformwindow(10)), d.SystemConsoleWindow);
    EXPECT_EQ(towidget(platformwindow(11)), d.PreferencesWindow);
    EXPECT_EQ(towidget(platformwindow(12)), d.MainWindow);
    EXPECT_EQ(totextview(windowtextview(8)), d.PasteboardTextView);
    EXPECT_EQ(totextview(windowtextview(9)), d.VirtualPrinterTextView);
    EXPECT_EQ(totextview(windowtextview(10)), d.SystemConsoleTextView);
    for (uint8_t n = 0; n <= 12; ++n)
        EXPECT_EQ(windownumber(platformwindow(n)), n);
    for (uint8_t n = 0; n < 8; ++n) {
        ASSERT_NE(windowview(n), nullptr);
        EXPECT_EQ(toview(windowview(n))->number(), n);
        EXPECT_EQ(towidget(platformwindow(n)), toview(windowview(n))->window());
        EXPECT_EQ(windowtextview(n), nullptr);
    }
}

TEST(Lookups, NumbersWithoutWindowGiveNone)
{
    for (const int n : {13, 14, 100, 255}) {
        EXPECT_EQ(platformwindow(uint8_t(n)), nullptr);
        EXPECT_EQ(windowview(uint8_t(n)), nullptr);
        EXPECT_EQ(windowtextview(uint8_t(n)), nullptr);
    }
    for (const int n : {8, 11, 12})
        EXPECT_EQ(windowview(uint8_t(n)), nullptr);
    EXPECT_EQ(windownumber(nullptr), 255);
    QWidget stranger;
    EXPECT_EQ(windownumber(tohandle(&stranger)), 255);
}

TEST(Lookups, AWindowHoldingTwoViewsAnswersTheLowerNumber)
{
    AppDelegate& d = appdelegate();
    QWidget* window3 = d.t_View03->window();
    d.t_View05->setParent(d.t_View03->parentWidget());
    EXPECT_EQ(windownumber(tohandle(window3)), 3);
    EXPECT_EQ(towidget(platformwindow(5)), window3);
}

TEST(Lookups, AnEmptyOutletOrAViewInNoWindowGivesNone)
{
    AppDelegate& d = appdelegate();
    d.PreferencesWindow = nullptr;
    EXPECT_EQ(platformwindow(11), nullptr);
    EXPECT_EQ(windownumber(nullptr), 255) << "an empty outlet must not match a missing window";
    d.t_View02->setParent(nullptr);
    EXPECT_EQ(platformwindow(2), nullptr);
    d.t_View04 = nullptr;
    EXPECT_EQ(platformwindow(4), nullptr);
    EXPECT_EQ(windowview(4), nullptr);
}

TEST(Lookups, FromAnotherThreadWhileTheLoopRuns)
{
    std::atomic<bool> done{false};
    PlatformWindow* printer = nullptr;
    uint8_t number = 0;
    std::thread other([&] {
        printer = platformwindow(9);
        number = windownumber(printer);
        done = true;
    });
    EXPECT_TRUE(pump_until([&] { return done.load(); }));
    other.join();
    EXPECT_EQ(towidget(printer), appdelegate().VirtualPrinterWindow);
    EXPECT_EQ(number, 9);
}

TEST(MainThread, WorkFromAnotherThreadRunsOnTheMainThreadAndIsWaitedFor)
{
    const std::thread::id mainid = std::this_thread::get_id();
    std::atomic<bool> returned{false};
    std::thread::id ranon;
    int value = 0;
    std::thread other([&] {
        platform::run_on_main([&] {
            ranon = std::this_thread::get_id();
            value = 42;
        });
        // The work has run by the time run_on_main returns.
        EXPECT_EQ(value, 42);
        returned = true;
    });
    EXPECT_TRUE(pump_until([&] { return returned.load(); }));
    other.join();
    EXPECT_EQ(ranon, mainid);
}

TEST(MainThread, PostedWorkRunsLaterInOrder)
{
    std::vector<int> order;
    platform::post_to_main([&] { order.push_back(1); });
    platform::post_to_main([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(pump_until([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(MainThread, ManyThreadsHandOffAtOnce)
{
    constexpr int threads = 8;
    constexpr int rounds = 50;
    std::atomic<int> finished{0};
    int counter = 0;  // touched only on the main thread
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (int r = 0; r < rounds; ++r)
                platform::run_on_main([&] { ++counter; });
            ++finished;
        });
    EXPECT_TRUE(pump_until([&] { return finished.load() == threads; }));
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(counter, threads * rounds);
}

TEST(CloseBox, HidesTheWindowAndShowingItAgainWorks)
{
    PlatformWindow* window = platformwindow(0);
    t_WindowFront(0);
    ASSERT_TRUE(platform::window_visible(window));

    DiagCapture capture;
    QCloseEvent close;
    QCoreApplication::sendEvent(towidget(window), &close);
    EXPECT_FALSE(close.isAccepted()) << "the window must not really close";
    EXPECT_FALSE(platform::window_visible(window));
    EXPECT_FALSE(windowtable[0].Visible);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 0"}));

    t_WindowFront(0);
    EXPECT_TRUE(platform::window_visible(window));
    EXPECT_TRUE(windowtable[0].Visible);
}

TEST(CloseBox, ClosingTheLastWindowLeavesTheApplicationRunning)
{
    bool quit = false;
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { quit = true; });
    t_WindowFront(9);
    QCloseEvent close;
    QCoreApplication::sendEvent(towidget(platformwindow(9)), &close);
    pump_for(50);
    EXPECT_FALSE(quit);
    EXPECT_TRUE(platform::available());
    EXPECT_FALSE(platform::window_visible(platformwindow(9)));
}

TEST(TitleBar, IsTheDefaultWhereTheSystemReportsNoFrame)
{
    // Offscreen nothing frames a window, so the default stands.
    EXPECT_EQ(platform::measure_title_bar_height(), 22);
    appdelegate().PasteboardScrollView = nullptr;
    EXPECT_EQ(platform::measure_title_bar_height(), 22);
}
