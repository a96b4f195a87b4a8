// How soon a full-screen scroll is shown: the program's own window (80 x 25
// cells of 16 x 32 pixels at 24 bits) on the real desktop, offscreen unless
// QT_QPA_PLATFORM says otherwise. Another thread scrolls the whole screen
// once after a pause of a quarter second, long enough for the refresh to
// have gone idle and protected every page again, so each scroll pays the
// write faults in full. "shown_ms" is the time from the end of the scroll
// to the end of the view's next drawing (median and worst of the runs);
// the target is one refresh period (33 ms at RefreshRate 30).
// "scroll_ms" is the scroll itself, faults included.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "text/text_output.h"
#include "util/clock.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the view has finished a drawing.
class PaintClock : public QObject {
public:
    explicit PaintClock(QWidget* view) { view->installEventFilter(this); }
    std::atomic<int64_t> paints{0};
    Clock::time_point last;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            // The drawing itself comes after the filter: let it run first.
            static_cast<QWidget*>(object)->removeEventFilter(this);
            QCoreApplication::sendEvent(object, event);
            object->installEventFilter(this);
            last = Clock::now();
            ++paints;
            return true;
        }
        return false;
    }
};

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_FullScreenScrollShown(benchmark::State& state)
{
    ensuredesktop();
    t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
    t_WindowVisible(0, true);
    for (int line = 1; line <= 25; ++line)
        t_Print(0, "Zeile " + std::to_string(line) + ": Der schnelle braune Fuchs springt.\r");
    PaintClock clock(toview(windowview(0)));
    std::vector<double> shown, scrolls;
    for (auto _ : state) {
        const auto pause = Clock::now() + std::chrono::milliseconds(250);
        while (Clock::now() < pause)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const int64_t before = clock.paints;
        Clock::time_point start, end;
        std::thread scroller([&] {
            start = Clock::now();
            t_ScrollUp(0);
            end = Clock::now();
        });
        scroller.join();
        while (clock.paints == before && Clock::now() - end < std::chrono::seconds(2))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        state.SetIterationTime(std::chrono::duration<double>(clock.last - end).count());
        shown.push_back(milliseconds(clock.last - end));
        scrolls.push_back(milliseconds(end - start));
    }
    std::sort(shown.begin(), shown.end());
    std::sort(scrolls.begin(), scrolls.end());
    state.counters["shown_ms"] = shown[shown.size() / 2];
    state.counters["shown_worst_ms"] = shown.back();
    state.counters["scroll_ms"] = scrolls[scrolls.size() / 2];
}

}  // namespace

BENCHMARK(BM_FullScreenScrollShown)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
