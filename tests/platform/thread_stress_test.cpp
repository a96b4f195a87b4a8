// The runtime's threads at work together: the program thread prints,
// scrolls (whole width and a narrow area), flashes the cursor and echoes
// keys; the refresh thread converts window 0 at RefreshRate 0; the main
// thread sends real key presses to View00 and lets the views draw. Then
// the program thread writes all over pixel blocks while the refresh marks
// and the views draw, and no write may go unshown. Each test runs 3
// seconds, or SPRECHO_STRESS_SECONDS (the careful run: 30 under TSan).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <utility>

#include "display/window_refresh.h"
#include "display/write_tracking.h"
#include "input/key_events.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "startup/threads.h"
#include "support/keys.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/clock.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

int64_t stressseconds()
{
    const char* setting = std::getenv("SPRECHO_STRESS_SECONDS");
    return setting != nullptr && std::atoll(setting) > 0 ? std::atoll(setting) : 3;
}

// Shared with the program thread. `keys` belongs to the program thread
// until `finished` is set.
struct Program {
    std::atomic<bool> ready{false}, stop{false}, finished{false};
    std::atomic<int64_t> steps{0}, taken{0};
    std::vector<int64_t> keys;
};

// Takes every queued key and echoes it.
void takekeys(Program& program)
{
    for (int64_t value = t_NextKeyEvent(); value >= 0; value = t_NextKeyEvent()) {
        program.keys.push_back(value);
        ++program.taken;
        t_PrintChar(0, static_cast<uint8_t>(value));
    }
}

void workstep(int64_t step)
{
    switch (step % 8) {
    case 4:  // ink 3, inverse on, ink 15, inverse off: escapes and control codes
        t_Print(0, "\x1b" "C" "farbig \x0f" "invers\x0e" "\x1b" "O" " normal\r");
        break;
    case 5:  // a narrow area scrolls cell by cell; then the whole window again
        t_Area(0, 21, 5, 60, 15);
        for (int i = 0; i < 12; ++i)
            t_Print(0, "schmal " + std::to_string(step) + "/" + std::to_string(i) + "\r");
        t_FullArea(0);
        t_CursorEnd(0);
        t_Htab(0, 1);
        break;
    case 6:
        t_ScrollDown(0);
        t_ScrollUp(0);
        break;
    case 7:
        t_CursorOn(0);
        t_CursorOff(0);
        break;
    default:
        t_Print(0, "Zeile " + std::to_string(step) + ": Der schnelle braune Fuchs springt über den faulen Hund.\r");
    }
}

}  // namespace

TEST(ThreadStress, ProgramRefreshAndKeysRunTogether)
{
    const int64_t seconds = stressseconds();
    const auto program = std::make_shared<Program>();
    startprocess(
        [program] {
            t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
            t_WindowVisible(0, true);
            windowtable[0].RefreshRate = 0;
            program->ready = true;
            for (; !program->stop; ++program->steps) {
                workstep(program->steps);
                takekeys(*program);
            }
            takekeys(*program);  // the main thread sent its last key before it asked to stop
            t_Print(0, "Ende.");
            program->finished = true;
        },
        64 * 1024 * 1024);
    ASSERT_TRUE(pump_until([&] { return program->ready.load(); }));
    GraphicView* view0 = toview(windowview(0));

    // Lower-case letters, digits and blanks reach the program as their own
    // codes and never pause output.
    const QString keys = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789 ");
    std::vector<int64_t> typed;
    int64_t draws = 0, lastfinished = windowtable[0].UpdateFinished;
    for (const int64_t end = absolute_ms() + seconds * 1000; absolute_ms() < end;) {
        // At most a few dozen keys ahead of the program, as a fast typist
        // would be; an unbounded flood would only measure the queue.
        if (std::ssize(typed) - program->taken < 32) {
            const QString key = keys.mid(std::ssize(typed) % keys.size(), 1);
            typetext(view0, key);
            typed.push_back(key.at(0).unicode());
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        const int64_t finished = windowtable[0].UpdateFinished;
        draws += finished != std::exchange(lastfinished, finished);
    }
    program->stop = true;
    ASSERT_TRUE(pump_until([&] { return program->finished.load(); }, 120000));

    EXPECT_EQ(program->keys, typed) << "every key taken once, in order";
    EXPECT_GE(program->steps, 100);
    EXPECT_GE(draws, seconds) << "the view drew at least once a second";
    EXPECT_NE(screen_text(0).find("Ende."), std::string::npos);
}

// Bytes written anywhere in window 0's pixel block, one at a time and in
// runs that cross pages (as a scroll does), while the refresh thread takes
// and marks rows at the given rate and the main thread draws them. Rows do
// not line up with pages, and at 1 and 4 bits a byte holds several pixels.
// Once the writes stop and one more refresh has passed, the view's kept
// image must equal a fresh conversion of the memory: a write lost between
// taking a page's mark and protecting it would show as a difference.
TEST(ThreadStress, WritesRacingTheRefreshAreNeverLost)
{
    struct Layout {
        int64_t depth, width, height, rate;
    };
    const Layout layouts[] = {{24, 1000, 300, 30}, {4, 1000, 400, 0}, {1, 1000, 800, 30}};
    const ChangeTracking before = changetracking();
    const int64_t ms = stressseconds() * 1000 / 6;
    for (const ChangeTracking mode : {ChangeTracking::pages, ChangeTracking::compare}) {
        if (setchangetracking(mode) != mode)
            continue;  // no page tracking in this build
        for (const Layout& l : layouts) {
            SCOPED_TRACE(std::to_string(l.depth) + " bits, " +
                         (mode == ChangeTracking::pages ? "page tracking" : "compare"));
            std::atomic<bool> ready{false}, stop{false}, finished{false};
            startprocess(
                [&] {
                    t_InitWindow(0, l.depth, true, l.width, l.height, 10, 10, emptyfont(), true);
                    t_WindowVisible(0, true);
                    windowtable[0].RefreshRate = l.rate;
                    ready = true;
                    const int64_t start = windowtable[0].MemoryStart;
                    const int64_t size = l.width * l.height * l.depth / 8;
                    uint32_t random = 12345;
                    for (int64_t i = 0; !stop; ++i) {
                        random = random * 1103515245 + 12345;
                        const int64_t at = random % size;
                        if (i % 64 == 0)
                            movevideomemory(start + at / 2, start + at, std::min<int64_t>(size - at, 9000));
                        else
                            videomemory[start + at] = uint8_t(random >> 24);
                    }
                    finished = true;
                },
                64 * 1024 * 1024);
            ASSERT_TRUE(pump_until([&] { return ready.load(); }));
            pump_for(int(ms));
            stop = true;
            ASSERT_TRUE(pump_until([&] { return finished.load(); }));
            // The refresh thread shows the last writes within a period or
            // two; a lost write never, a missed wake-up only at the thread's
            // next look of its own (up to a second later).
            EXPECT_TRUE(pump_until(
                [] {
                    const std::shared_ptr<WindowImage> shown = viewbegindraw(0);
                    viewenddraw(0);
                    const std::shared_ptr<WindowImage> fresh = t_WindowImage(0);
                    return shown && fresh && shown->Pixels == fresh->Pixels;
                },
                400));
        }
    }
    windowtable[0].RefreshRate = 30;
    setchangetracking(before);
}
