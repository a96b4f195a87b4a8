// Key presses to one-byte codes: table rows, the same keys where a row's
// condition fails, the general rule, and what a key press leaves behind.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "input/key_events.h"
#include "input/key_translation.h"
#include "util/clock.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t none = -1;  // no event

struct Row {
    const char* what;
    int64_t key;
    const char* characters;  // UTF-8; "" for a dead key
    uint64_t flags;
    int64_t value;  // or `none`
    bool cursor = false, function = false;
};

const Row rows[] = {
    {"A: U+00E5", 0, "\u00E5", optionflag, 176},
    {"A: plain a", 0, "a", 0, 97},
    {"section key, dead", 10, "", 0, 94},
    {"equals, dead, Shift", 24, "", shiftflag, 96},
    {"equals, dead", 24, "", 0, 180},
    {"N, dead, Option", 45, "", optionflag, 126},
    {"dead key without a row", 5, "", 0, 0},
    {"E: euro", 14, "\u20AC", optionflag, 164},
    {"E: euro without Option", 14, "\u20AC", 0, 164},
    {"euro on another key", 8, "\u20AC", optionflag, none},
    {"L: form feed with Option", 37, "\x0C", optionflag | controlflag, 0},
    {"L: form feed without Option", 37, "\x0C", controlflag, 12},
    {"Shift-Tab", 48, "\x19", shiftflag, 20},
    {"Tab", 48, "\t", 0, 9},
    {"Delete, whatever it types", 51, "\b", 0, 127},
    {"keypad Clear", 71, "", numericpadflag, 27},
    {"keypad Enter typing control-C", 76, "\x03", numericpadflag, 13},
    {"keypad 8, Control and Option", 91, "8", optionflag | controlflag, 230},
    {"keypad 8", 91, "8", numericpadflag, 56},
    {"Forward Delete", 117, "\uF728", 0, 7},
    {"Left", 123, "\uF702", 0, 8, true},
    {"Right", 124, "\uF703", 0, 21, true},
    {"Down", 125, "\uF701", 0, 10, true},
    {"Up", 126, "\uF700", 0, 11, true},
    {"arrow character on a key without a row", 200, "\uF703", 0, none},
    {"F1", 122, "\uF704", 0, 129, false, true},
    {"F15 on a key without a row", 113, "\uF712", 0, 143, false, true},
    {"control-A", 0, "\x01", controlflag, 1},
    {"U+00E9", 0xFFFF, "\u00E9", 0, 233},
    {"U+00FF", 0xFFFF, "\u00FF", 0, 255},
    {"U+0100 gives nothing", 0xFFFF, "\u0100", 0, none},
};

TEST(KeyTranslation, TableRowsTheirFailingConditionsAndTheGeneralRule)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string characters = row.characters;
        const t_KeyTranslation t =
            translatekey(0, row.key, unicode::firstscalar(characters), !characters.empty(), row.flags);
        ASSERT_EQ(t.Event, row.value != none);
        if (t.Event) {
            EXPECT_EQ(std::tuple(t.Value, t.Cursor, t.Function), std::tuple(row.value, row.cursor, row.function));
        }
    }
}

TEST(KeyTranslation, ControlWithKeypadSevenEightNineRedirectsOutput)
{
    sethandwindow({.number = 2, .width = 80, .height = 40}, handfont(8, 8));
    for (const auto& [key, mode] : {std::pair{89, 0}, {91, 2}, {92, 1}}) {
        windowtable[2].TextRedirectOutput = 7;
        EXPECT_FALSE(translatekey(2, key, 0x7F, true, controlflag | numericpadflag).Event) << key;
        EXPECT_EQ(windowtable[2].TextRedirectOutput, mode) << key;
    }
}

// The live flags as letters: caps Lock, Shift, Control, Option, coMmand, Fn.
std::string liveflags()
{
    return std::string(t_CapsLockPressed ? "L" : "") + (t_ShiftPressed ? "S" : "") +
           (t_ControlPressed ? "C" : "") + (t_OptionPressed ? "O" : "") + (t_CommandPressed ? "M" : "") +
           (t_FnPressed ? "F" : "");
}

TEST(KeyEvents, AKeyPressQueuesOneCompleteRecord)
{
    sethandwindow({.number = 4, .width = 80, .height = 40}, handfont(8, 8));
    const int64_t before = absolute_ms();
    viewKeyDown(4, t_KeyPress{123, "\uF702", shiftflag | optionflag | numericpadflag | fnflag});
    ASSERT_EQ(t_KeyEvents.size(), 1u);
    EXPECT_TRUE(t_KeyEventAvailable && t_KeyPressed);
    const t_Event& e = t_KeyEvents.front();
    EXPECT_EQ(std::tuple(e.Kind, e.Index, e.Description, e.Value, e.Window), std::tuple(1, 123, "\uF702", 8, 4));
    EXPECT_EQ(e.Mods, 0x2 | 0x8 | 0x20 | 0x80);
    EXPECT_TRUE(e.Time >= before && e.Time <= absolute_ms());
    EXPECT_TRUE(e.CursorKeyPressed && !e.FunctionKeyPressed && !e.CloseBox);
    EXPECT_EQ(liveflags(), "SOF");
}

TEST(KeyEvents, LiveModifierFlagsFollowEveryChange)
{
    viewFlagsChanged(capslockflag | controlflag | commandflag);
    EXPECT_EQ(liveflags(), "LCM");
    viewFlagsChanged(shiftflag | fnflag);
    EXPECT_EQ(liveflags(), "SF");
    EXPECT_TRUE(t_KeyEvents.empty()) << "modifier changes queue nothing";
}

}  // namespace
