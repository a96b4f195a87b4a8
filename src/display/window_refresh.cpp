#include "display/window_refresh.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "startup/threads.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

relaxed<bool> refreshrunning = false;
relaxed<bool> refreshstopped = false;

namespace {

std::string viewnil(const char* op, uint8_t window)
{
    return std::string(op) + ": Window #" + std::to_string(window) +
           " view is nil, resource undefined.";
}

// A window is due when it takes part in the refresh and its period has
// passed since its last mark. A rate of 0 (or below) makes it due always.
bool windowdue(const t_Window& w)
{
    if (!w.Initialized || !w.AutoUpdate || !w.VerticalBlank)
        return false;
    const int64_t rate = w.RefreshRate;
    const int64_t period = rate == 0 ? 0 : 1000 / rate;
    return absolute_ms() - w.UpdateStarted >= period;
}

// The pixel block of each window as it was when its view was last marked
// (refresh thread only). A view whose pixels have not changed since is not
// marked again: drawing the same image thirty times a second would only
// cost the machine. The view still draws whenever the desktop asks it to.
struct Shown {
    int64_t start = -1;
    std::vector<uint8_t> pixels;
};
Shown shown[graphicwindowcount];

bool pixelschanged(uint8_t window)
{
    const t_Window& w = windowtable[window];
    const int64_t start = w.MemoryStart;
    const int64_t end = w.MemoryEnd;
    if (start < 0 || end < start || end >= videomemorysize)
        return true;
    const auto size = static_cast<size_t>(end - start + 1);
    Shown& last = shown[window];
    const bool moved = last.start != start || last.pixels.size() != size;
    if (moved) {
        last.start = start;
        last.pixels.resize(size);
    }
    const RacyVideoRead racy;
    if (!moved && std::memcmp(last.pixels.data(), videomemory + start, size) == 0)
        return false;
    std::memcpy(last.pixels.data(), videomemory + start, size);
    return true;
}

// One pass over the windows; answers whether any window was marked. The
// stamp is taken before the mark, so a view that is slow to draw is not
// marked again before its period has passed.
bool refreshpass()
{
    bool marked = false;
    for (uint8_t n = 0; n < graphicwindowcount; ++n) {
        t_Window& w = windowtable[n];
        if (!windowdue(w))
            continue;
        PlatformView* view = windowview(n);
        if (!view) {
            if (!refreshstopped)
                diag_line(viewnil("t_WindowAutoUpdateProcess", n));
            continue;
        }
        w.UpdateStarted = absolute_ms();
        if (!pixelschanged(n))
            continue;
        platform::run_on_main([view] { platform::mark_view(view); });
        marked = true;
    }
    return marked;
}

}  // namespace

void t_WindowAutoUpdateProcess()
{
    diag_line("t_WindowAutoUpdateProcess: Start.");
    if (threadnumber() >= 3)
        namethread("t_WindowAutoUpdate");
    refreshrunning = true;
    if (memoryready) {
        do {
            if (!refreshpass())
                sleep_ms(1);
        } while (memoryready && refreshrunning && !refreshstopped);
    }
    refreshrunning = false;
    diag_line("t_WindowAutoUpdateProcess: End.");
}

void stoprefresh()
{
    refreshstopped = true;
}

void t_WindowUpdate(uint8_t window, bool deferred)
{
    if (!memoryready)
        return;
    if (window >= graphicwindowcount) {
        notgraphic("t_WindowUpdate");
        return;
    }
    PlatformView* view = windowview(window);
    if (!view) {
        diag_line(viewnil("t_WindowUpdate", window));
        return;
    }
    platform::run_on_main([view, deferred] {
        if (deferred)
            platform::mark_view(view);
        else
            platform::draw_view_now(view);
    });
}

// Window 0's VerticalBlank is false for the whole drawing pass of its view,
// so the refresh thread does not mark it while it draws.
std::shared_ptr<WindowImage> viewbegindraw(uint8_t window)
{
    if (!memoryready || window >= graphicwindowcount)
        return nullptr;
    if (window == 0)
        windowtable[0].VerticalBlank = false;
    return t_WindowImage(window);
}

void viewenddraw(uint8_t window)
{
    if (memoryready && window == 0)
        windowtable[0].VerticalBlank = true;
}
