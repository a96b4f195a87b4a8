// Key presses to one-byte codes: table rows, the same keys where a row's
// condition fails, and the general rule.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "input/key_translation.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t none = -1;  // no event

TEST(KeyTranslation, TableRowsTheirFailingConditionsAndTheGeneralRule)
{
    // `characters` is "" for a dead key.
    const struct { const char* what; int64_t key; const char* characters; uint64_t flags; int64_t value;
                   bool cursor = false, function = false; } rows[] = {
        {"equals, dead, Shift", 24, "", shiftflag, 96},
        {"E: euro", 14, "\u20AC", optionflag, 164},
        {"euro on another key", 8, "\u20AC", optionflag, none},
        {"Shift-Tab", 48, "\x19", shiftflag, 20},
        {"Tab", 48, "\t", 0, 9},
        {"Delete, whatever it types", 51, "\b", 0, 127},
        {"keypad Clear", 71, "", numericpadflag, 27},
        {"keypad Enter typing control-C", 76, "\x03", numericpadflag, 13},
        {"keypad 8, Control and Option", 91, "8", optionflag | controlflag, 230},
        {"Forward Delete", 117, "\uF728", 0, 7},
        {"Left", 123, "\uF702", 0, 8, true},
        {"Right", 124, "\uF703", 0, 21, true},
        {"Down", 125, "\uF701", 0, 10, true},
        {"Up", 126, "\uF700", 0, 11, true},
        {"F1", 122, "\uF704", 0, 129, false, true},
        {"U+00E9", 0xFFFF, "\u00E9", 0, 233},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string characters = row.characters;
        const t_KeyTranslation t =
            translatekey(0, row.key, unicode::firstscalar(characters), !characters.empty(), row.flags);
        EXPECT_EQ(std::tuple(t.Event, t.Event ? t.Value : none, t.Cursor, t.Function),
                  std::tuple(row.value != none, row.value, row.cursor, row.function));
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

}  // namespace
