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

TEST(KeyQueue, TypedAheadTextComesBackInOrderThenMinusOne)
{
    t_TypeAhead("ab");
    EXPECT_TRUE(t_KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), 97);
    EXPECT_EQ(t_NextKeyEvent(), 98);
    EXPECT_FALSE(t_KeyEventAvailable);
    EXPECT_EQ(t_NextKeyEvent(), -1);

    const t_Event& last = t_LastKeyEvent;
    EXPECT_EQ(last.Kind, 1);
    EXPECT_EQ(last.Index, 0);
    EXPECT_EQ(last.Description, "b");
    EXPECT_EQ(last.Window, 1);
    EXPECT_EQ(last.Mods, 0);
    EXPECT_FALSE(last.ShiftPressed || last.CursorKeyPressed || last.FunctionKeyPressed);
    EXPECT_NEAR(static_cast<double>(last.Time), static_cast<double>(absolute_ms()), 5000.0);
}

TEST(KeyQueue, TypeAheadMakesOneEventPerCharacter)
{
    // "e" with a combining acute is one character; its code is its first
    // scalar. The emoji is one character beyond the one-byte codes.
    t_TypeAhead("e\u0301\U0001F600x");
    ASSERT_EQ(keyqueuelength(), 3u);
    EXPECT_EQ(t_NextKeyEvent(), 'e');
    EXPECT_EQ(t_LastKeyEvent.Description, "e\u0301");
    EXPECT_EQ(t_NextKeyEvent(), 0x1F600);
    EXPECT_EQ(t_NextKeyEvent(), 'x');
    t_TypeAhead("");
    EXPECT_EQ(keyqueuelength(), 0u);
    EXPECT_FALSE(t_KeyEventAvailable);
}

TEST(KeyQueue, GetKeyWithKeysWaitingTakesTheOldestAndShowsNoCursor)
{
    // t_CursorOn on a window without text would complain: no line means the
    // cursor was never asked for.
    t_TypeAhead("xy");
    DiagCapture capture;
    EXPECT_EQ(t_GetKey(9), "x");
    EXPECT_TRUE(t_KeyEventAvailable);
    EXPECT_EQ(keyqueuelength(), 1u);
    EXPECT_TRUE(capture.lines().empty());
}

TEST(KeyQueue, GetKeyShowsTheCursorOnlyWhileItWaits)
{
    sethandwindow0();
    const std::vector<uint8_t> before = pixelblock(0);
    std::atomic<bool> sawcursor{false};
    std::thread typist([&] {
        for (int i = 0; i < 500 && windowtable[0].TextCursorLevel != 1; ++i)
            sleep_ms(10);
        sawcursor = windowtable[0].TextCursorLevel == 1 && pixelblock(0) != before;
        viewKeyDown(0, t_KeyPress{12, "q", 0});
    });
    const std::string key = t_GetKey(0);
    typist.join();
    EXPECT_EQ(key, "q");
    EXPECT_TRUE(sawcursor);
    EXPECT_EQ(windowtable[0].TextCursorLevel, 0);
    EXPECT_EQ(pixelblock(0), before) << "the cursor is gone again";
    EXPECT_EQ(t_LastKeyEvent.Index, 12);
}

TEST(KeyQueue, GetKeySkipsNegativeCodesAndNextKeyEventDoesNot)
{
    for (const int64_t value : {-5, 0xD800, 0x110000, 0xB0, 65})
        queuekeyvalue(value);
    EXPECT_EQ(t_GetKey(0), std::string(1, '\0')) << "no scalar: U+0000";
    EXPECT_EQ(t_LastKeyEvent.Value, 0xD800);
    EXPECT_EQ(t_GetKey(0), std::string(1, '\0'));
    EXPECT_EQ(t_GetKey(0), "\u00B0");
    EXPECT_EQ(t_GetKey(0), "A");
    queuekeyvalue(-5);
    EXPECT_EQ(t_NextKeyEvent(), -5);
}

TEST(KeyQueue, KeyPressesThatAreDroppedStillMarkAKeyDown)
{
    DiagCapture capture;
    memoryready = false;
    viewKeyDown(0, t_KeyPress{0, "a", 0});
    EXPECT_TRUE(t_KeyPressed);
    viewKeyUp();
    EXPECT_FALSE(t_KeyPressed);

    sethandwindow0();
    viewKeyDown(3, t_KeyPress{0, "a", 0});
    EXPECT_TRUE(t_KeyPressed);
    windowtable[0].IgnoreEvents = true;
    viewKeyDown(0, t_KeyPress{0, "a", 0});
    EXPECT_EQ(keyqueuelength(), 0u);
    EXPECT_FALSE(t_KeyEventAvailable);
    EXPECT_EQ(capture.lines(),
              std::vector<std::string>{"viewKeyDown: Graphic window (3) not initialized."});

    windowtable[0].IgnoreEvents = false;
    viewKeyDown(0, t_KeyPress{0, "a", 0});
    EXPECT_EQ(keyqueuelength(), 1u);
}

TEST(KeyQueue, AFloodOfKeysIsWorkedThroughInOrder)
{
    sethandwindow0();
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += static_cast<char>('a' + i % 26);
    t_TypeAhead(text);
    for (int i = 0; i < 100000; ++i)
        viewKeyDown(0, t_KeyPress{123, "\uF702", 0});
    ASSERT_EQ(keyqueuelength(), 200000u);
    for (int i = 0; i < 100000; ++i)
        ASSERT_EQ(t_NextKeyEvent(), 'a' + i % 26) << i;
    for (int i = 0; i < 100000; ++i)
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
    bool promisebroken = false;
    while (taken < count) {
        if (!t_KeyEventAvailable)
            continue;
        const int64_t value = t_NextKeyEvent();
        if (value == -1) {
            promisebroken = true;
            break;
        }
        ASSERT_EQ(value, 'a' + taken % 26);
        ++taken;
    }
    typist.join();
    EXPECT_FALSE(promisebroken);
    EXPECT_EQ(taken, count);
}

}  // namespace
