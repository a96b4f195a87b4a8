#include "support/runtime_reset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <mutex>

#include "conversation/answer_table.h"
#include "conversation/conversation.h"
#include "conversation/log_file.h"
#include "conversation/data_rows.h"
#include "display/window_refresh.h"
#include "input/key_events.h"
#include "input/mouse_events.h"
#include "menus/menu_actions.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "startup/launch.h"
#include "text/face_plane.h"
#include "platform/platform.h"
#include "support/program_thread.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/sound.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

// The title bar height the test program measured at its start; starting
// the program's launch work in a test measures it again.
int64_t measuredtitlebar = 0;
// Where the platform's windows were when the test program started: a test
// that moves one (to another screen, say) leaves it there otherwise.
std::array<PlatformRect, 13> startframes{};

// Waits for `done`, turning the event loop where there is one (the service
// threads hand work to the main thread and would wait for it for ever).
bool waitfor(const std::function<bool()>& done)
{
    if (platform::available())
        return pump_until(done, 5000);
    for (int i = 0; i < 5000 && !done(); ++i)
        sleep_ms(1);
    return done();
}

// Ends the refresh thread (it runs while the memory is ready) and the
// printer's service task, and waits for the line each prints at its end,
// so that no line of theirs reaches the next test's captures.
void stopservicethreads()
{
    const bool refresh = refreshrunning, printer = printerrunning;
    DiagCapture capture;
    memoryready = false;
    printerrunning = false;
    // Both sleep until something rings for them: ring, and again while
    // waiting (a task only now starting raises its flag once).
    const auto ended = [&] {
        printerrunning = false;
        printerpending = true;
        wakerefresh();
        const std::vector<std::string> lines = capture.lines();
        const auto seen = [&](const char* line) { return std::ranges::find(lines, line) != lines.end(); };
        return (!refresh || seen("t_WindowAutoUpdateProcess: End.")) &&
               (!printer || seen("p_PrinterAutoUpdateProcess: End."));
    };
    if (!waitfor(ended))
        ADD_FAILURE() << "a service thread of an earlier test did not end";
    refreshrunning = false;
    refreshstopped = false;
}

class ResetBeforeEachTest : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { resetruntime(); }
};

}  // namespace

void resetruntime()
{
    stopservicethreads();
    for (uint8_t n = 0; n <= 12 && platform::available(); ++n) {
        platform::order_window_out(platformwindow(n));
        platform::set_window_frame(platformwindow(n), startframes[n]);
        platform::set_text_view_text(windowtextview(n), "");  // none for windows but 8, 9, 10
    }
    for (uint8_t n = 0; n < graphicwindowcount; ++n) {
        windowtable[n] = t_Window{};
        resetfaceplane(n, 0);
    }
    memorystarted = false;
    firstwindow = 255;
    titlebarheight = measuredtitlebar;
    highmemory = 0xFFFFFF;
    std::memset(videomemory, 0, sizeof videomemory);

    clearkeyqueue();
    t_LastKeyEvent = t_Event{};
    for (relaxed<bool>* flag : {&t_KeyPressed, &t_CapsLockPressed, &t_ShiftPressed, &t_ControlPressed,
                                &t_OptionPressed, &t_CommandPressed, &t_FnPressed, &t_LeftMouseButtonPressed,
                                &t_RightMouseButtonPressed})
        *flag = false;
    printerpending = false;
    std::scoped_lock lock(t_MouseEventsLock, t_MenuEventsLock, printerbufferlock);
    t_MouseEvents.clear();
    t_MouseEventAvailable = false;
    t_MenuEvents.clear();
    t_MenuEventAvailable = false;
    setprogrammousehandler({});
    setprogrammenuhandler({});
    t_ProgramActionHandler = sysbeep;
    t_MenuActions.clear();
    printeroutputbuffer.clear();
    consoleoutputbuffer.clear();
    printerlastflush = 0;
    datalist.clear();
    dataitemcount = 0;
    datareadposition = 1;
    setterminatehandler({});
    closelogfile(conversationlog);
    keywords.clear();
    answers.clear();
    answercount = 0;
}

void installruntimereset()
{
    measuredtitlebar = titlebarheight;
    for (uint8_t n = 0; n <= 12 && platform::available(); ++n)
        startframes[n] = platform::window_frame(platformwindow(n));
    testing::UnitTest::GetInstance()->listeners().Append(new ResetBeforeEachTest);
}
