// The key event queue seen from both sides: key presses from the views,
// typed-ahead text, and the program's t_GetKey and t_NextKeyEvent.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "hand_window.h"
#include "input/key_events.h"
#include "support/queues.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

// One event per character, not per scalar or byte; its code is the first
// scalar, also beyond the one-byte codes. t_GetKey skips negative codes and
// gives U+0000 for codes that are no character.
TEST(KeyQueue, TypedAheadTextComesBackInOrderThenMinusOne)
{
    t_TypeAhead("ae\u0301\U0001F600b");
    ASSERT_EQ(keyqueuelength(), 4u);
    const t_Event& e = t_KeyEvents[1];
    EXPECT_EQ(std::tuple(e.Kind, e.Index, e.Description, e.Mods, e.Window, e.CursorKeyPressed, e.ShiftPressed),
              std::tuple(1, 0, "e\u0301", 0, 1, false, false));
    for (const int64_t code : {97, 101, 0x1F600, 98})
        EXPECT_EQ(t_NextKeyEvent(), code);
    EXPECT_FALSE(t_KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), -1);
    for (const int64_t value : {-5, 0xD800, 0xB0})
        queuekeyvalue(value);
    EXPECT_EQ(t_GetKey(0), std::string(1, '\0'));
    EXPECT_EQ(t_GetKey(0), "\u00B0");
}

TEST(KeyQueue, GetKeyShowsTheCursorOnlyWhileItWaits)
{
    // With a key waiting no cursor is asked for: on window 9, which has no
    // text, asking would complain.
    t_TypeAhead("x");
    DiagCapture capture;
    EXPECT_EQ(t_GetKey(9), "x");
    EXPECT_TRUE(capture.lines().empty());
    sethandwindow({.number = 0, .width = 160, .height = 40}, handfont(8, 8));
    const std::vector<uint8_t> before = pixelblock(0);
    std::atomic<bool> sawcursor{false};
    // The level rises before the cell is drawn inverted: the typist waits
    // until both show.
    std::thread typist([&] {
        const auto shown = [&] { return windowtable[0].TextCursorLevel == 1 && pixelblock(0) != before; };
        for (int i = 0; i < 500 && !shown(); ++i)
            sleep_ms(10);
        sawcursor = shown();
        viewKeyDown(0, t_KeyPress{12, "q", 0});
    });
    EXPECT_EQ(t_GetKey(0), "q");
    typist.join();
    EXPECT_TRUE(sawcursor);
    EXPECT_EQ(pixelblock(0), before) << "the cursor is gone again";
}

// A key queued while t_GetKey waits wakes it at once, whether a view
// queued it on the main thread or typed-ahead text on another: the median
// wait stays far below the 10 ms that a poll would give on average 5 ms of.
TEST(KeyQueue, AKeyQueuedWhileGetKeyWaitsIsTakenAtOnce)
{
    sethandwindow({.number = 0, .width = 160, .height = 40}, handfont(8, 8));
    clearkeyqueue();
    const std::pair<const char*, std::function<void()>> producers[] = {
        {"view", [] { viewKeyDown(0, t_KeyPress{12, "q", 0}); }},
        {"typed ahead", [] { t_TypeAhead("q"); }},
    };
    for (const auto& [name, produce] : producers) {
        std::vector<int64_t> waits;
        for (int i = 0; i < 7; ++i) {
            std::atomic<int64_t> queuedat{0};
            std::thread typist([&] {
                for (int tries = 0; tries < 500 && windowtable[0].TextCursorLevel != 1; ++tries)
                    sleep_ms(2);
                sleep_ms(15);  // well into the wait
                queuedat = absolute_us();
                produce();
            });
            EXPECT_EQ(t_GetKey(0), "q") << name;
            const int64_t takenat = absolute_us();
            typist.join();
            waits.push_back(takenat - queuedat);
        }
        std::nth_element(waits.begin(), waits.begin() + 3, waits.end());
        EXPECT_LT(waits[3], 2000) << name << ": median wait in microseconds";
    }
}

}  // namespace
