// The refresh thread and t_WindowUpdate against the real views, offscreen,
// with page tracking and with the compare that stands in for it.
#include <gtest/gtest.h>

#include <QEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <set>
#include <thread>

#include "display/window_refresh.h"
#include "display/write_tracking.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "support/program_thread.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/clock.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

const char* modename(ChangeTracking mode)
{
    return mode == ChangeTracking::pages ? "page tracking" : "compare";
}

}  // namespace

void PrintTo(ChangeTracking mode, std::ostream* out)
{
    *out << modename(mode);
}

namespace {

// Switches the refresh to a way of learning what changed for the life of
// the object; `available` is false where this build cannot track pages.
class TrackingMode {
public:
    explicit TrackingMode(ChangeTracking mode)
        : before_(changetracking()), available(setchangetracking(mode) == mode)
    {
    }
    ~TrackingMode() { setchangetracking(before_); }
    TrackingMode(const TrackingMode&) = delete;
    TrackingMode& operator=(const TrackingMode&) = delete;

private:
    ChangeTracking before_;

public:
    const bool available;
};

// Collects the regions a widget is asked to paint.
class PaintRegions : public QObject {
public:
    explicit PaintRegions(QWidget* widget) { widget->installEventFilter(this); }
    // Turns the event loop until nothing was painted for 300 ms (pages
    // written on and on are redrawn for a while after the writes stopped)
    // and answers the region painted since the last call.
    QRegion untilquiet()
    {
        for (int64_t quietsince = absolute_ms(); absolute_ms() - quietsince < 300;) {
            const QRegion before = region_;
            pump_for(20);
            if (region_ != before)
                quietsince = absolute_ms();
        }
        return std::exchange(region_, QRegion());
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            region_ += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QRegion region_;
};

// Writes to window 0's pixel block from a thread of its own, one byte
// every `pausems` (0: as fast as it can), until destroyed.
class Writer {
public:
    explicit Writer(int64_t pausems)
        : thread_([this, pausems] {
              const t_Window& w = windowtable[0];
              for (int64_t i = 0; !stop_; ++i) {
                  videomemory[w.MemoryStart + i * 4099 % (w.MemoryEnd - w.MemoryStart + 1)] += 1;
                  sleep_ms(pausems);
              }
          })
    {
    }
    ~Writer()
    {
        stop_ = true;
        thread_.join();
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The distinct UpdateStarted stamps (the marks) while the loop turns `ms`.
std::vector<int64_t> stamps(int ms)
{
    std::set<int64_t> seen;
    const int64_t end = absolute_ms() + ms;
    pump_until([&] {
        seen.insert(windowtable[0].UpdateStarted);
        return absolute_ms() >= end;
    });
    seen.erase(0);
    return {seen.begin(), seen.end()};
}

// The view's kept image after a drawing pass, against a fresh conversion
// of the memory: equal when no write was missed.
bool viewshowsmemory()
{
    const std::shared_ptr<WindowImage> shown = viewbegindraw(0);
    viewenddraw(0);
    const std::shared_ptr<WindowImage> fresh = t_WindowImage(0);
    return shown && fresh && shown->Pixels == fresh->Pixels;
}

// Window 0 as a small graphic window, shown so that its view really paints;
// its set-up also starts the refresh thread. Each test runs with page
// tracking and with the compare.
class Refresh : public ::testing::TestWithParam<ChangeTracking> {
protected:
    void SetUp() override
    {
        if (!mode_.available)
            GTEST_SKIP() << "no page tracking in this build";
        ASSERT_TRUE(run_on_program_thread([] {
            t_InitWindow(0, 24, true, 320, 200, 10, 10, emptyfont(), true);
            t_WindowVisible(0, true);
        }));
        ASSERT_TRUE(pump_until([] { return refreshrunning.load(); }));
        // The first drawing of the new window, and the redraws of pages
        // written on for a while: until no mark came for 300 ms.
        for (int64_t marked = 0, since = absolute_ms(); absolute_ms() - since < 300;) {
            pump_for(20);
            if (windowtable[0].UpdateStarted != std::exchange(marked, windowtable[0].UpdateStarted))
                since = absolute_ms();
        }
    }
    void TearDown() override { windowtable[0].RefreshRate = 30; }

private:
    TrackingMode mode_{GetParam()};
};

// While the window keeps changing, marks at rate 30 lie at least a period
// (33 ms) apart and, on most of them, within 2 ms of being due; at rate 0
// the window is due on every pass and marked far more often.
TEST_P(Refresh, MarksFollowTheRateOnTime)
{
    const Writer writer(1);
    const std::vector<int64_t> seen = stamps(1000);
    ASSERT_GE(seen.size(), 15u);
    std::vector<int64_t> late;
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i] - seen[i - 1], 33) << "marks " << i - 1 << " and " << i;
        late.push_back(seen[i] - seen[i - 1] - 33);
    }
    std::nth_element(late.begin(), late.begin() + late.size() / 2, late.end());
    EXPECT_LE(late[late.size() / 2], 2) << "median lateness in ms";

    windowtable[0].RefreshRate = 0;
    EXPECT_GE(stamps(600).size(), 40u) << "at 30 per second 600 ms hold at most 19 marks";
}

// No marks for a window without AutoUpdate, nor while View00 draws
// (VerticalBlank false), however much is written. Each of View00's passes
// ends by setting the flag true, so the window is hidden first: hidden
// windows are still marked, but their view no longer paints.
TEST_P(Refresh, NoMarksWithoutAutoUpdateOrWhileViewZeroDraws)
{
    ASSERT_TRUE(run_on_program_thread([] { t_WindowVisible(0, false); }));
    windowtable[0].AutoUpdate = false;
    pump_for(100);  // a pass under way finishes
    const Writer writer(1);
    windowtable[0].UpdateStarted = 0;
    EXPECT_TRUE(stamps(200).empty()) << "without AutoUpdate";
    windowtable[0].VerticalBlank = false;
    windowtable[0].AutoUpdate = true;
    EXPECT_TRUE(stamps(200).empty()) << "while View00 draws";
    windowtable[0].VerticalBlank = true;
    EXPECT_FALSE(stamps(300).empty());
}

// Without writes nothing is marked or drawn; one written pixel makes the
// view draw, soon (the thread wakes by itself only once a second). With
// AutoUpdate off, t_WindowUpdate from the program thread
// draws before it returns, deferred drawing waits for the event loop.
TEST_P(Refresh, DrawsChangedPixelsOnlyAndOnRequest)
{
    const int64_t marked = windowtable[0].UpdateStarted;
    const int64_t drawn = windowtable[0].UpdateFinished;
    pump_for(300);
    EXPECT_EQ(windowtable[0].UpdateStarted, marked);
    EXPECT_EQ(windowtable[0].UpdateFinished, drawn);
    videomemory[windowtable[0].MemoryStart] ^= 0xFF;  // the top-left pixel changes
    EXPECT_TRUE(pump_until([drawn] { return windowtable[0].UpdateFinished != drawn; }, 400));

    windowtable[0].AutoUpdate = false;
    pump_for(50);
    windowtable[0].UpdateFinished = 0;
    int64_t finished = 0;
    ASSERT_TRUE(run_on_program_thread([&] {
        t_WindowUpdate(0, false);
        finished = windowtable[0].UpdateFinished;
    }));
    EXPECT_GT(finished, 0);
    windowtable[0].UpdateFinished = 0;
    t_WindowUpdate(0, true);
    EXPECT_EQ(windowtable[0].UpdateFinished, 0);
    EXPECT_TRUE(pump_until([] { return windowtable[0].UpdateFinished > 0; }, 2000));
    windowtable[0].AutoUpdate = true;
}

INSTANTIATE_TEST_SUITE_P(Modes, Refresh, ::testing::Values(ChangeTracking::pages, ChangeTracking::compare),
                         [](const auto& info) {
                             return info.param == ChangeTracking::pages ? "Pages" : "Compare";
                         });

// On the program's own window (80 x 25 cells of 16 x 32 pixels), inverting
// one text line redraws exactly the rows of that line, printing redraws
// rows within its line, and the view then shows what the memory holds. Page
// tracking and the compare give the same regions and the same pictures.
TEST(RefreshRegions, AWrittenLineRedrawsItsRowsOnlyInBothModes)
{
    struct Seen {
        QRegion inverted, printed;
        PixelBuffer picture;
    };
    std::vector<Seen> seen;
    for (const ChangeTracking mode : {ChangeTracking::pages, ChangeTracking::compare}) {
        const TrackingMode tracking(mode);
        if (!tracking.available)
            continue;
        SCOPED_TRACE(modename(mode));
        ASSERT_TRUE(run_on_program_thread([] {
            t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
            t_WindowVisible(0, true);
        }));
        QWidget* view = toview(windowview(0));
        PaintRegions regions(view);
        regions.untilquiet();  // the window's first drawing, whole
        // The view's lines that show a text line. A view scaled by no whole
        // number may redraw one line more above and below; a block that
        // does not start on a page boundary (after other tests placed
        // windows) shares a page with up to two rows of each neighbour.
        const int64_t h = view->height();
        const int64_t slack = (h % 800 != 0 ? 1 : 0) +
                              (windowtable[0].MemoryStart % videopagesize() != 0 ? 2 * h / 800 : 0);
        const auto band = [&](int64_t line) {
            return QRect(0, int((line - 1) * 32 * h / 800), view->width(), int(32 * h / 800));
        };
        const auto within = [&](const QRect& drawn, int64_t line) {
            return band(line).adjusted(0, -slack, 0, slack).contains(drawn) &&
                   drawn.contains(band(line).adjusted(0, slack, 0, -slack));
        };

        Seen now;
        ASSERT_TRUE(run_on_program_thread([] { t_InvertRect(0, 1, 12, 80, 12); }));
        now.inverted = regions.untilquiet();
        ASSERT_TRUE(run_on_program_thread([] {
            windowtable[0].TextVpos = 5;
            windowtable[0].TextHpos = 10;
            t_Print(0, "Hallo");
        }));
        now.printed = regions.untilquiet();
        EXPECT_TRUE(viewshowsmemory());
        now.picture = t_WindowImage(0)->Pixels;

        const auto rows = [](const QRegion& region) {
            const QRect r = region.boundingRect();
            return "lines " + std::to_string(r.top()) + ".." + std::to_string(r.bottom());
        };
        EXPECT_TRUE(within(now.inverted.boundingRect(), 12)) << rows(now.inverted) << " of " << h;
        EXPECT_FALSE(now.printed.isEmpty());
        EXPECT_TRUE(band(5).adjusted(0, -slack, 0, slack).contains(now.printed.boundingRect()))
            << rows(now.printed) << " of " << h;
        seen.push_back(std::move(now));
    }
    ASSERT_FALSE(seen.empty());
    for (const Seen& other : seen) {
        EXPECT_EQ(other.inverted, seen[0].inverted);
        EXPECT_EQ(other.picture, seen[0].picture);
    }
}

}  // namespace
