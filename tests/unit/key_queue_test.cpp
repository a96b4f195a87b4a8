// The key event queue seen from both sides: key presses from the views,
// typed-ahead text, and the program's t_GetKey and t_NextKeyEvent.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "hand_window.h"
#include "input/key_events.h"
#include "support/queues.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

void sethandwindow0()
{
    sethandwindow({.number = 0, .width = 160, .height = 40}, handfont(8, 8));
}

// One event per character, not per scalar or byte; its code is the first
// scalar, also beyond the one-byte codes.
TEST(KeyQueue, TypedAheadTextComesBackInOrderThenMinusOne)
{
    t_TypeAhead("ae\u0301\U0001F600b");
    EXPECT_EQ(keyqueuelength(), 4u);
    for (const int64_t code : {97, 101, 0x1F600, 98})
        EXPECT_EQ(t_NextKeyEvent(), code);
    EXPECT_FALSE(t_KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), -1);
    const t_Event& e = t_LastKeyEvent;
    EXPECT_EQ(std::tuple(e.Kind, e.Index, e.Description, e.Window, e.Mods), std::tuple(1, 0, "b", 1, 0));
}

TEST(KeyQueue, GetKeyShowsTheCursorOnlyWhileItWaits)
{
    // With a key waiting no cursor is asked for: on window 9, which has no
    // text, asking would complain.
    t_TypeAhead("x");
    {
        DiagCapture capture;
        EXPECT_EQ(t_GetKey(9), "x");
        EXPECT_TRUE(capture.lines().empty());
    }
    sethandwindow0();
    const std::vector<uint8_t> before = pixelblock(0);
    std::atomic<bool> sawcursor{false};
    std::thread typist([&] {
        for (int i = 0; i < 500 && windowtable[0].TextCursorLevel != 1; ++i)
            sleep_ms(10);
        sawcursor = windowtable[0].TextCursorLevel == 1 && pixelblock(0) != before;
        viewKeyDown(0, t_KeyPress{12, "q", 0});
    });
    EXPECT_EQ(t_GetKey(0), "q");
    typist.join();
    EXPECT_TRUE(sawcursor);
    EXPECT_EQ(windowtable[0].TextCursorLevel, 0);
    EXPECT_EQ(pixelblock(0), before) << "the cursor is gone again";
}

// t_GetKey skips negative codes and gives U+0000 for codes that are no
// character; t_NextKeyEvent hands every code on.
TEST(KeyQueue, GetKeySkipsNegativeCodesAndNextKeyEventDoesNot)
{
    for (const int64_t value : {-5, 0xD800, 0x110000, 0xB0, 65})
        queuekeyvalue(value);
    const std::string nul(1, '\0');
    for (const std::string& expected : {nul, nul, std::string("\u00B0"), std::string("A")})
        EXPECT_EQ(t_GetKey(0), expected);
    queuekeyvalue(-5);
    EXPECT_EQ(t_NextKeyEvent(), -5);
}

TEST(KeyQueue, AFloodOfKeysIsWorkedThroughInOrder)
{
    sethandwindow0();
    constexpr int count = 100000;  // each way
    std::string text;
    for (int i = 0; i < count; ++i)
        text += static_cast<char>('a' + i % 26);
    t_TypeAhead(text);
    for (int i = 0; i < count; ++i)
        viewKeyDown(0, t_KeyPress{123, "\uF702", 0});
    ASSERT_EQ(keyqueuelength(), 2u * count);
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(t_NextKeyEvent(), 'a' + i % 26) << i;
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(t_GetKey(0), "\b") << i;
    EXPECT_FALSE(t_KeyEventAvailable);
}

// One thread presses keys while the other takes them: nothing is lost or
// reordered, and whenever the flag says a key is there, one is.
TEST(KeyQueue, AvailableFlagNeverPromisesAMissingKey)
{
    sethandwindow0();
    constexpr int count = 20000;
    std::thread typist([] {
        for (int i = 0; i < count; ++i)
            viewKeyDown(0, t_KeyPress{0, std::string(1, static_cast<char>('a' + i % 26)), 0});
    });
    int taken = 0;
    while (taken < count) {
        if (!t_KeyEventAvailable)
            continue;
        const int64_t value = t_NextKeyEvent();
        if (value != 'a' + taken % 26)
            break;
        ++taken;
    }
    typist.join();
    EXPECT_EQ(taken, count) << "a broken promise gives -1, a lost key the wrong letter";
}

}  // namespace
