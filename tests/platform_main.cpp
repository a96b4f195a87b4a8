// Test main for tests that need the desktop: the application and its whole
// interface exist, offscreen, and the tests run on its main thread.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "frontends/qt/application.h"
#include "platform/platform.h"
#include "support/runtime_reset.h"
#include "windows/window_table.h"

// Present when the leak checker is linked in (address sanitizer builds).
extern "C" __attribute__((weak)) int __lsan_do_recoverable_leak_check();

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
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
