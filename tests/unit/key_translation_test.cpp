// The translation of key presses into one-byte codes: every row of the
// table, the same keys where the row's condition fails, the general rule,
// and the event record a key press leaves in the queue.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "input/key_events.h"
#include "input/key_translation.h"
#include "util/clock.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t none = -1;  // no event

struct TranslationRow {
    const char* what;
    int64_t key;
    const char* characters;  // UTF-8; "" for a dead key
    uint64_t flags;
    int64_t value;  // or `none`
    bool cursor;
    bool function;
};

const TranslationRow translations[] = {
    // Option characters of the letter and punctuation keys.
    {"A: U+00E5", 0, "\u00E5", optionflag, 176, false, false},
    {"A: plain a", 0, "a", 0, 97, false, false},
    {"S: U+201A", 1, "\u201A", optionflag, 168, false, false},
    {"D: U+2202", 2, "\u2202", optionflag, 173, false, false},
    {"F: U+0192", 3, "\u0192", optionflag, 130, false, false},
    {"H: U+00AA", 4, "\u00AA", optionflag, 131, false, false},
    {"X: U+2248", 7, "\u2248", optionflag, 132, false, false},
    {"V: U+221A", 9, "\u221A", optionflag, 253, false, false},
    {"section key, dead", 10, "", 0, 94, false, false},
    {"section key typing U+00A7", 10, "\u00A7", 0, 167, false, false},
    {"B: U+222B", 11, "\u222B", optionflag, 222, false, false},
    {"W: U+2211", 13, "\u2211", optionflag, 221, false, false},
    {"E: euro", 14, "\u20AC", optionflag, 164, false, false},
    {"E: euro without Option", 14, "\u20AC", 0, 164, false, false},
    {"Y: U+03A9", 16, "\u03A9", optionflag, 128, false, false},
    {"T: U+2020", 17, "\u2020", optionflag, 189, false, false},
    {"2: U+201C", 19, "\u201C", optionflag, 163, false, false},
    {"equals, dead, Shift", 24, "", shiftflag, 96, false, false},
    {"equals, dead", 24, "", 0, 180, false, false},
    {"equals typing =", 24, "=", 0, 61, false, false},
    {"minus: U+00BF", 27, "\u00BF", optionflag, 166, false, false},
    {"0: U+2260", 29, "\u2260", optionflag, 172, false, false},
    {"U, dead", 32, "", optionflag, 175, false, false},
    {"left bracket: U+2022", 33, "\u2022", optionflag, 184, false, false},
    {"I: U+2044", 34, "\u2044", optionflag, 129, false, false},
    {"P: U+03C0", 35, "\u03C0", optionflag, 240, false, false},
    {"P: U+220F", 35, "\u220F", optionflag, 208, false, false},
    {"L: form feed with Option", 37, "\x0C", optionflag | controlflag, 0, false, false},
    {"L: form feed without Option", 37, "\x0C", controlflag, 12, false, false},
    {"J: U+00BA", 38, "\u00BA", optionflag, 183, false, false},
    {"K: U+2206", 40, "\u2206", optionflag, 254, false, false},
    {"semicolon: U+0153", 41, "\u0153", optionflag, 190, false, false},
    {"backslash: U+2018", 42, "\u2018", optionflag, 180, false, false},
    {"comma: U+221E", 43, "\u221E", optionflag, 255, false, false},
    {"slash: U+2013", 44, "\u2013", optionflag, 154, false, false},
    {"N, dead, Option", 45, "", optionflag, 126, false, false},
    {"N, dead, no Option", 45, "", 0, 0, false, false},
    {"period: U+2026", 47, "\u2026", optionflag, 191, false, false},
    {"Shift-Tab", 48, "\x19", shiftflag, 20, false, false},
    {"Tab", 48, "\t", 0, 9, false, false},
    {"grave: U+2264", 50, "\u2264", optionflag, 197, false, false},
    {"grave: U+2265", 50, "\u2265", optionflag, 198, false, false},
    {"Delete", 51, "\x7F", 0, 127, false, false},
    {"Delete whatever it types", 51, "\b", 0, 127, false, false},
    {"keypad Clear", 71, "", numericpadflag, 27, false, false},
    {"keypad Enter", 76, "\r", numericpadflag, 13, false, false},
    {"keypad Enter typing control-C", 76, "\x03", numericpadflag, 13, false, false},
    // Keypad digits with Option; without it they type their digit.
    {"keypad 0, Option", 82, "0", optionflag, 216, false, false},
    {"keypad 1, Option", 83, "1", optionflag, 185, false, false},
    {"keypad 2, Option", 84, "2", optionflag, 178, false, false},
    {"keypad 3, Option", 85, "3", optionflag, 179, false, false},
    {"keypad 4, Option", 86, "4", optionflag, 170, false, false},
    {"keypad 5, Option", 87, "5", optionflag, 215, false, false},
    {"keypad 6, Option", 88, "6", optionflag, 186, false, false},
    {"keypad 0", 82, "0", numericpadflag, 48, false, false},
    {"keypad 7, Option", 89, "7", optionflag, 229, false, false},
    {"keypad 8, Option", 91, "8", optionflag, 230, false, false},
    {"keypad 9, Option", 92, "9", optionflag, 188, false, false},
    {"keypad 8, Control and Option", 91, "8", optionflag | controlflag, 230, false, false},
    {"keypad 8", 91, "8", numericpadflag, 56, false, false},
    // Cursor keys and Forward Delete.
    {"Home", 115, "\uF729", 0, 2, true, false},
    {"Page Up", 116, "\uF72C", 0, 18, true, false},
    {"Forward Delete", 117, "\uF728", 0, 7, false, false},
    {"End", 119, "\uF72B", 0, 5, true, false},
    {"Page Down", 121, "\uF72D", 0, 3, true, false},
    {"Left", 123, "\uF702", 0, 8, true, false},
    {"Right", 124, "\uF703", 0, 21, true, false},
    {"Down", 125, "\uF701", 0, 10, true, false},
    {"Up", 126, "\uF700", 0, 11, true, false},
    // The general rule.
    {"Return", 36, "\r", 0, 13, false, false},
    {"Escape", 53, "\x1B", 0, 27, false, false},
    {"control-A", 0, "\x01", controlflag, 1, false, false},
    {"F1", 122, "\uF704", 0, 129, false, true},
    {"F2", 120, "\uF705", 0, 130, false, true},
    {"F15 on a key without a row", 113, "\uF712", 0, 143, false, true},
    {"dead key without a row", 5, "", 0, 0, false, false},
    {"U+00E9", 0xFFFF, "\u00E9", 0, 233, false, false},
    {"U+00FF", 0xFFFF, "\u00FF", 0, 255, false, false},
    {"U+0100 gives nothing", 0xFFFF, "\u0100", 0, none, false, false},
    {"euro on another key", 8, "\u20AC", optionflag, none, false, false},
    {"euro without a key position", 0xFFFF, "\u20AC", 0, none, false, false},
    {"arrow character on a key without a row", 200, "\uF703", 0, none, false, false},
    {"the first character decides", 0xFFFF, "e\u0301", 0, 101, false, false},
};

TEST(KeyTranslation, EveryTableRowAndTheGeneralRule)
{
    for (const TranslationRow& row : translations) {
        SCOPED_TRACE(row.what);
        const std::string characters = row.characters;
        const t_KeyTranslation t =
            translatekey(0, row.key, unicode::firstscalar(characters), !characters.empty(), row.flags);
        ASSERT_EQ(t.Event, row.value != none);
        if (!t.Event)
            continue;
        EXPECT_EQ(t.Value, row.value);
        EXPECT_EQ(t.Cursor, row.cursor);
        EXPECT_EQ(t.Function, row.function);
    }
}

TEST(KeyTranslation, ControlWithKeypadSevenEightNineRedirectsOutput)
{
    sethandwindow({.number = 2, .width = 80, .height = 40}, handfont(8, 8));
    const struct {
        int64_t key;
        int64_t mode;
    } rows[] = {{89, 0}, {91, 2}, {92, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        windowtable[2].TextRedirectOutput = 7;
        const t_KeyTranslation t = translatekey(2, row.key, 0x7F, true, controlflag | numericpadflag);
        EXPECT_FALSE(t.Event);
        EXPECT_EQ(windowtable[2].TextRedirectOutput, row.mode);
    }
}

TEST(KeyEvents, AKeyPressQueuesOneCompleteRecord)
{
    sethandwindow({.number = 4, .width = 80, .height = 40}, handfont(8, 8));
    const int64_t before = absolute_ms();
    viewKeyDown(4, t_KeyPress{123, "\uF702", shiftflag | optionflag | numericpadflag | fnflag});
    const int64_t after = absolute_ms();
    ASSERT_EQ(t_KeyEvents.size(), 1u);
    EXPECT_TRUE(t_KeyEventAvailable);
    const t_Event& e = t_KeyEvents.front();
    EXPECT_EQ(e.Kind, 1);
    EXPECT_EQ(e.Index, 123);
    EXPECT_EQ(e.Description, "\uF702");
    EXPECT_EQ(e.Value, 8);
    EXPECT_EQ(e.WindowX, 0);
    EXPECT_EQ(e.ClickY, 0);
    EXPECT_EQ(e.Mods, 0x2 | 0x8 | 0x20 | 0x80);
    EXPECT_EQ(e.Window, 4);
    EXPECT_GE(e.Time, before);
    EXPECT_LE(e.Time, after);
    EXPECT_FALSE(e.CloseBox);
    EXPECT_TRUE(e.CursorKeyPressed);
    EXPECT_FALSE(e.FunctionKeyPressed);
    EXPECT_TRUE(t_OptionPressed);
    EXPECT_TRUE(t_FnPressed);
    EXPECT_FALSE(t_ControlPressed);
    EXPECT_TRUE(t_KeyPressed);
}

TEST(KeyEvents, LiveModifierFlagsFollowEveryChange)
{
    viewFlagsChanged(capslockflag | controlflag | commandflag);
    EXPECT_TRUE(t_CapsLockPressed);
    EXPECT_FALSE(t_ShiftPressed);
    EXPECT_TRUE(t_ControlPressed);
    EXPECT_FALSE(t_OptionPressed);
    EXPECT_TRUE(t_CommandPressed);
    EXPECT_FALSE(t_FnPressed);
    viewFlagsChanged(shiftflag | fnflag);
    EXPECT_FALSE(t_CapsLockPressed);
    EXPECT_TRUE(t_ShiftPressed);
    EXPECT_FALSE(t_ControlPressed);
    EXPECT_FALSE(t_CommandPressed);
    EXPECT_TRUE(t_FnPressed);
    EXPECT_TRUE(t_KeyEvents.empty()) << "modifier changes queue nothing";
}

}  // namespace
