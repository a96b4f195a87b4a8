#include "startup/launch.h"

#include "conversation/conversation.h"
#include "platform/platform.h"
#include "startup/tables.h"
#include "startup/threads.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t programstacksize = 0x40000000;  // 1 GiB

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
