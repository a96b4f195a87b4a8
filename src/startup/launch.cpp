#include "startup/launch.h"

#include <mutex>

#include "conversation/conversation.h"
#include "display/window_refresh.h"
#include "platform/platform.h"
#include "startup/tables.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t programstacksize = 0x40000000;  // 1 GiB

std::mutex terminatelock;
t_Function terminatehandler;  // guarded by terminatelock

}  // namespace

void launchwork()
{
    diag_line("applicationDidFinishLaunching: Start.");
    inittermkit();
    titlebarheight = platform::measure_title_bar_height();
    diag_line("Program: Start.");
    startprocess(conversationmain, programstacksize);
    diag_line("applicationDidFinishLaunching: End.");
}

void setterminatehandler(t_Function handler)
{
    std::lock_guard lock(terminatelock);
    terminatehandler = std::move(handler);
}

// The refresh thread ends first: the front-end tears the views down next.
void applicationwillterminate()
{
    stoprefresh();
    diag_line("applicationWillTerminate: Called.");
    t_Function handler;
    {
        std::lock_guard lock(terminatelock);
        handler = terminatehandler;
    }
    if (handler)
        handler();
}
