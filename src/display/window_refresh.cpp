#include "display/window_refresh.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <string>
#include <thread>

#include "display/write_tracking.h"
#include "platform/platform.h"
#include "startup/threads.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/wakeup.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

relaxed<bool> refreshrunning = false;
relaxed<bool> refreshstopped = false;

// How the refresh thread waits. It sleeps until the next window with rows
// to show is due, or, when nothing waits to be shown, until the first write
// to a watched page (page tracking) or the next due time (the compare,
// which must look to know, and page tracking while pages written on and on
// are left writable). A write from idle is shown after a short pause so
// that a burst of drawing (a character with its cursor, a scrolled screen)
// appears whole rather than in two frames a period apart.

namespace {

Wakeup refreshbell;
// Set while the thread may sleep until a write: the first tracked write
// rings then. Cleared by that write, so a burst rings once.
std::atomic<bool> sleepsuntilwrite{false};

constexpr int64_t idlelimitus = 1'000'000;   // looks at least once a second
constexpr int64_t waitlimitus = 100'000;     // while rows wait: RefreshRate may change
constexpr int64_t burstus = 1'000;           // after a write woke the thread from idle
constexpr int64_t never = std::numeric_limits<int64_t>::max();

std::string viewnil(const char* op, uint8_t window)
{
    return std::string(op) + ": Window #" + std::to_string(window) +
           " view is nil, resource undefined.";
}

// Milliseconds between two marks; a rate of 0 (or below) makes a window
// due always.
int64_t period(const t_Window& w)
{
    const int64_t rate = w.RefreshRate;
    return rate == 0 ? 0 : 1000 / rate;
}

// The pixel block as the refresh sees it; rows are counted in bits so that
// 1- and 4-bit windows map bytes to rows exactly.
struct Block {
    int64_t start = -1;
    int64_t width = 0;
    int64_t height = 0;
    int64_t depth = 0;
    bool operator==(const Block&) const = default;

    int64_t rowbits() const { return width * depth; }
    int64_t bytes() const { return (height * rowbits() + 7) / 8; }
};

// A block the refresh can watch: as a set-up makes it, inside the tracked
// part of video memory. Other windows are not refreshed.
bool watchable(const Block& b)
{
    const bool depthknown = b.depth == 1 || b.depth == 4 || b.depth == 8 || b.depth == 16 ||
                            b.depth == 24 || b.depth == 32;
    return depthknown && b.start >= 0 && b.width > 0 && b.width <= 8192 && b.height > 0 &&
           b.height <= RowSet::maxrows && b.start + b.bytes() <= trackedbytes;
}

Block blockof(const t_Window& w)
{
    return {w.MemoryStart, w.Width, w.Height, w.BitDepth};
}

// The rows of the block that have a byte on one of `pages`.
void addrows(RowSet& rows, const Block& b, const PageSet& pages)
{
    const int64_t size = videopagesize();
    const int64_t last = b.start + b.bytes() - 1;
    for (int64_t page = b.start / size; page <= last / size; ++page) {
        if (!haspage(pages, page))
            continue;
        const int64_t from = std::max(page * size, b.start) - b.start;
        const int64_t to = std::min(page * size + size - 1, last) - b.start;
        rows.add(from * 8 / b.rowbits(), (to * 8 + 7) / b.rowbits());
    }
}

bool onpages(const Block& b, const PageSet& pages)
{
    const int64_t size = videopagesize();
    for (int64_t page = b.start / size; page <= (b.start + b.bytes() - 1) / size; ++page)
        if (haspage(pages, page))
            return true;
    return false;
}

// What the refresh thread knows of a window (refresh thread only).
struct Watched {
    Block block;          // as at the last pass; a change redraws every row
    RowSet pending;       // written since the last mark
    BlockCopy copy;       // the compare's copy
    int64_t nextlook = 0; // not looked at again before (ms): nothing to show, or no view
};
Watched watched[graphicwindowcount];
uint64_t watchedgeneration = std::numeric_limits<uint64_t>::max();

// ---- The views' images (main thread only) -----------------------------------

struct Shown {
    std::shared_ptr<WindowImage> image;  // kept from drawing to drawing
    RowSet stale;                        // rows the image does not show yet
};
Shown shown[graphicwindowcount];

// Stamps the mark and marks the view's rows; false when the window has no
// view. One hand-off to the main thread does the lookup and the marks.
bool markrows(uint8_t n, const RowSet& rows, int64_t height, int64_t now)
{
    bool marked = false;
    platform::run_on_main([&] {
        PlatformView* view = windowview(n);
        if (view == nullptr)
            return;
        windowtable[n].UpdateStarted = now;
        shown[n].stale |= rows;
        rows.eachrun([&](int64_t first, int64_t last) {
            platform::mark_view_rows(view, first, last, height);
        });
        marked = true;
    });
    return marked;
}

// One pass over the windows: gathers what was written, marks the windows
// that are due and have rows to show, and answers when the next pass is
// needed (absolute ms; `never` when only a write can make one due).
int64_t refreshpass()
{
    if (const uint64_t generation = changetrackinggeneration(); generation != watchedgeneration) {
        watchedgeneration = generation;
        for (Watched& s : watched)
            s = Watched{};
    }
    bool tracking = changetracking() == ChangeTracking::pages;
    PageSet written, hot;
    if (tracking) {
        PageSet watchedpages;
        for (const t_Window& w : windowtable)
            if (const Block b = blockof(w); w.Initialized && watchable(b))
                addpages(watchedpages, b.start, b.start + b.bytes() - 1);
        tracking = takewrittenpages(watchedpages, written, hot);
    }
    const int64_t now = absolute_ms();
    int64_t next = never;
    for (uint8_t n = 0; n < graphicwindowcount; ++n) {
        const t_Window& w = windowtable[n];
        Watched& s = watched[n];
        const Block b = blockof(w);
        if (!w.Initialized || !watchable(b)) {
            s.block = Block{};
            continue;
        }
        if (b != s.block) {
            s.block = b;
            s.pending.clear();
            s.pending.add(0, b.height - 1);
        } else if (tracking) {
            addrows(s.pending, b, written);
        }
        // A window on pages left writable must be looked at again: their
        // writes do not fault, so none would wake the thread.
        const bool lookagain = !tracking || onpages(b, hot);
        if (!w.AutoUpdate || (tracking && s.pending.empty())) {
            // A program may switch AutoUpdate on by assignment: while rows
            // wait (or only the compare can tell), the thread looks again.
            if (!w.AutoUpdate && (!tracking || !s.pending.empty()))
                next = std::min(next, now + waitlimitus / 1000);
            continue;
        }
        if (!w.VerticalBlank) {
            next = std::min(next, now + 1);
            continue;
        }
        const int64_t due = std::max(w.UpdateStarted + period(w), s.nextlook);
        if (now < due) {
            next = std::min(next, due);
            continue;
        }
        if (!tracking)
            addrows(s.pending, b, [&] {
                PageSet changed;
                comparepages(s.copy, b.start, b.bytes(), changed);
                return changed;
            }());
        const int64_t again = now + std::max<int64_t>(period(w), 1);
        if (s.pending.empty()) {
            s.nextlook = again;
        } else if (markrows(n, s.pending, b.height, now)) {
            s.pending.clear();
        } else {
            if (!refreshstopped)
                diag_line(viewnil("t_WindowAutoUpdateProcess", n));
            s.nextlook = again;
        }
        if (lookagain || !s.pending.empty())
            next = std::min(next, std::max(again, s.nextlook));
    }
    return next;
}

int64_t microseconds(int64_t ms)
{
    return ms >= std::numeric_limits<int64_t>::max() / 1000 ? std::numeric_limits<int64_t>::max()
                                                             : ms * 1000;
}

}  // namespace

void t_WindowAutoUpdateProcess()
{
    diag_line("t_WindowAutoUpdateProcess: Start.");
    if (threadnumber() >= 3)
        namethread("t_WindowAutoUpdate");
    refreshrunning = true;
    if (memoryready) {
        startchangetracking();
        do {
            // Read the bell and allow a write to ring it before the pass
            // looks at the marks: a write the pass misses rings.
            const uint32_t seen = refreshbell.rung();
            sleepsuntilwrite.store(true);
            const int64_t next = refreshpass();
            if (next == never) {
                refreshbell.sleep(seen, idlelimitus);
                if (refreshbell.rung() != seen)
                    std::this_thread::sleep_for(std::chrono::microseconds(burstus));
            } else {
                sleepsuntilwrite.store(false);
                const int64_t wait = microseconds(next) - absolute_us();
                refreshbell.sleep(seen, std::clamp<int64_t>(wait, 0, waitlimitus));
            }
        } while (memoryready && refreshrunning && !refreshstopped);
    }
    sleepsuntilwrite.store(false);
    refreshrunning = false;
    diag_line("t_WindowAutoUpdateProcess: End.");
}

void stoprefresh()
{
    refreshstopped = true;
    wakerefresh();
}

void wakerefresh()
{
    refreshbell.ring();
}

void wakerefreshforwrite() noexcept
{
    if (sleepsuntilwrite.exchange(false))
        refreshbell.ring();
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
    platform::run_on_main([view, window, deferred] {
        // The whole picture as the memory holds it now, as the program asks.
        shown[window].stale.add(0, RowSet::maxrows - 1);
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
    Shown& s = shown[window];
    // The refresh thread tells only auto-updating windows' views what
    // changed; the others show the memory as it is whenever they draw.
    if (!windowtable[window].AutoUpdate)
        s.stale.add(0, RowSet::maxrows - 1);
    if (!t_WindowImageRows(window, s.image, s.stale))
        return nullptr;
    s.stale.clear();
    return s.image;
}

void viewenddraw(uint8_t window)
{
    if (memoryready && window == 0)
        windowtable[0].VerticalBlank = true;
}
