// The runtime's threads at work together: the program thread prints,
// scrolls (whole width and a narrow area), flashes the cursor and echoes
// keys; the refresh thread converts window 0 at RefreshRate 0; the main
// thread sends real key presses to View00 and lets the views draw. Runs 3
// seconds, or SPRECHO_STRESS_SECONDS (the careful run: 30 under TSan).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <utility>

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
    const char* setting = std::getenv("SPRECHO_STRESS_SECONDS");
    const int64_t seconds = setting != nullptr && std::atoll(setting) > 0 ? std::atoll(setting) : 3;
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
