// Test main for tests that need the desktop: the application and its whole
// interface exist, offscreen, and the tests run on its main thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontends/qt/application.h"
#include "platform/platform.h"
#include "support/runtime_reset.h"
#include "windows/window_table.h"

// Present when the leak checker is linked in (address sanitizer builds).
extern "C" __attribute__((weak)) int __lsan_do_recoverable_leak_check();

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The desktop the tests see: a large primary screen, a laptop's
    // 1366 x 768 beside it and a HiDPI laptop beyond that (2560 x 1600
    // device pixels, two per point: 1280 x 800 points).
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    if (qpa == nullptr || std::string(qpa) == "offscreen")
        setenv("QT_QPA_PLATFORM", "offscreen:configfile=" SPRECHO_TEST_SCREENS, 1);
    startapplicationfortests(argc, argv);
    titlebarheight = platform::measure_title_bar_height();
    installruntimereset();
    int status = RUN_ALL_TESTS();
    // Service tasks started by the tests still run: end without static
    // destructors, as the program does, after the leak check that exit
    // would have run.
    if (__lsan_do_recoverable_leak_check != nullptr && __lsan_do_recoverable_leak_check() != 0)
        status = 1;
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
