// The line editor on a hand-made window of 20 x 5 cells: what t_InputForm
// returns for typed keys, where the cursor goes, what the screen line shows.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "input/key_events.h"
#include "input/line_editor.h"
#include "support/screen.h"
#include "text/text_attributes.h"
#include "windows/window_table.h"

namespace {

// A fresh, blank window of `width` pixels (8 per column) with the cursor at
// the top left.
void reset(int64_t width = 160)
{
    sethandwindow({.number = 0, .width = width, .height = 40}, handfont(8, 8));
}

t_Window& w = windowtable[0];

// Reads a line with the prompt "=>" (the text starts in column 3) after
// queueing `keys` as if typed.
std::string form(const std::string& keys, int64_t mode = 0, int64_t max = 80, const std::string& defaulttext = "")
{
    t_TypeAhead(keys);
    return t_InputForm(0, "=>", defaulttext, false, mode, max);
}

// Keys 1, 2, 11, 18 go to the start; 3, 5, 6, 10 to the end; 8 and 21 one
// step; 4 and 19 a word; 127, 7, 24, 26, 27 delete and blank the freed
// cells. Key 31 after each is ignored.
TEST(LineEditor, EditingKeysMoveTheCursorAndRedrawTheText)
{
    const struct { int64_t from, key, to; const char* text = "ab cd ef"; } rows[] = {
        {3, 1, 0},  {3, 2, 0},  {3, 11, 0}, {3, 18, 0}, {3, 3, 8},  {3, 5, 8},  {3, 6, 8},
        {3, 10, 8}, {0, 8, 0},  {5, 8, 4},  {8, 21, 8}, {2, 21, 3}, {0, 4, 3},  {3, 4, 6},
        {6, 4, 8},  {8, 4, 8},  {8, 19, 6}, {6, 19, 3}, {4, 19, 3}, {3, 19, 0}, {0, 19, 0},
        {99, 8, 7}, {-4, 21, 1}, {0, 127, 0}, {3, 127, 2, "abcd ef"}, {1, 7, 1, "a cd ef"},
        {3, 24, 0, "cd ef"}, {2, 26, 0, ""}, {2, 27, 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "from " << row.from << " key " << row.key);
        reset();
        t_InputForm(0, "=>", "ab cd ef", true, 0, 80);
        w.InputCursorPos = row.from;
        t_InputEdit(0, row.key);
        t_InputEdit(0, 31);
        EXPECT_EQ(std::tuple(w.InputCursorPos, w.TextHpos, w.InputString, w.TextDisplayMode),
                  std::tuple(row.to, 3 + row.to, row.text, 0));
        EXPECT_EQ(screen_line(0, 1).substr(0, 10), ("=>" + std::string(row.text) + "        ").substr(0, 10));
    }
}

TEST(LineEditor, TheTextNeverReachesTheAreasLastColumn)
{
    // The prompt takes columns 1 and 2.
    for (const auto& [lastcolumn, length] : {std::pair{20, 17}, {10, 7}, {3, 0}}) {
        reset();
        t_Area(0, 1, 1, lastcolumn, 5);
        EXPECT_EQ(form(std::string(30, 'x') + "\r"), std::string(length, 'x')) << lastcolumn;
        EXPECT_EQ(cell_code(0, lastcolumn, 1), ' ') << lastcolumn;
    }
}

// Control-^ starts a decimal code; modes 2 to 4 take numbers only.
TEST(LineEditor, TypedKeysAndTheDefaultGiveTheLine)
{
    const struct { int64_t mode, max; const char *defaulttext, *keys, *expected; } rows[] = {
        {0, 3, "abcdef", "\r", "abc"},
        {0, 4, "\u00E4\u00F6\u00FC\u20ACx", "\r", "\u00E4\u00F6\u00FC\u20AC"},
        {3, 80, "", "1.5.E-3\r", "1,5e-3"},
        {3, 80, "", "1-2,3,x\r", "12,3"},
        {3, 80, "", "12\x02-\r", "-12"},
        {2, 80, "", "-12-3a\r", "-123"},
        {4, 80, "", "-1-2-\r", "1-2"},
        {0, 80, "", "\x1e" "65\rx\r", "Ax"},  // the Return ends the number and is swallowed
        {0, 80, "", "\x1e" "065\r", "A"},     // three digits end it by themselves
        {0, 80, "", "\x1e" "255\r", "\u00FF"},  // the last character
        {0, 80, "", "\x1e" "256\r", ""},      // beyond the character set
        {0, 80, "", "\x1e" "7\r\r", ""},      // control codes only in mode 1
        {1, 80, "", "\x1e" "7\r\r", "\x07"},  // last: its screen is checked below
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.mode << " " << ::testing::PrintToString(std::string(row.keys)));
        reset();
        EXPECT_EQ(form(row.keys, row.mode, row.max, row.defaulttext), row.expected);
        EXPECT_EQ(std::tuple(w.TextVpos, keyqueuelength()), std::tuple(2, 0u)) << "Return ends the line, takes all";
    }
    // The control code shows as the letter 64 places higher in ink colour 1.
    EXPECT_EQ(std::tuple(cell_code(0, 3, 1), cell_attribute(0, 3, 1) >> 4, cell_attribute(0, 1, 1)),
              std::tuple('G', 1, 0xC0)) << "the prompt keeps its colour";
}

// A paste types its first line whatever it holds: characters beyond
// Latin-1 go in escaped, control characters are left out, so neither a
// pasted Return nor a pasted Escape ends the line; a real Escape still
// cancels it. An escaped character goes in whole or not at all.
TEST(LineEditor, APasteTypesItsFirstLineAndNeverEndsTheLine)
{
    const std::string x71(71, 'x');
    const struct { const char* what; std::string pasted; const char* keys; std::string line; int64_t mode = 0; } rows[] = {
        {"German text", "Preis 5\u20AC \u2013 \u201Egut\u201C", "\r",
         "Preis 5\x1b" "20AC\x1d \x1b" "2013\x1d \x1b" "201E\x1dgut\x1b" "201C\x1d"},
        {"control characters", "a\x1b" "b\tc\x7F\x08\u0085" "d", "\r", "ab cd"},
        {"the first line only", "one\r\ntwo", "\r", "one"},
        {"composed", "e\u0301", "\r", "\u00E9"},
        {"beyond 16 bits", "\U0001F600", "\r", "\x1b" "FFFD\x1d"},
        {"numbers take digits only", "1\u20AC2", "\r", "12", 2},
        {"a real Escape cancels", "ab", "\x1b", ""},
        // 77 cells from column 3 to the last column 80 (excluded)
        {"no room for the escape", "x" + x71 + "\u20ACy", "\r", "x" + x71 + "y"},
        {"just room for it", x71 + "\u20ACy", "\r", x71 + "\x1b" "20AC\x1d"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        reset(640);
        t_InputPaste(0, row.pasted);
        EXPECT_EQ(form(row.keys, row.mode), row.line);
        EXPECT_EQ(keyqueuelength(), 0u);
    }
    // An escaped character shows as its four digits between colour-1
    // brackets and means the character again.
    reset(640);
    t_InputPaste(0, "5\u20AC!");
    EXPECT_EQ(unescapedtext(form("\r")), "5\u20AC!");
    EXPECT_EQ(screen_line(0, 1).substr(0, 11), "=>5[20AC]! ");
    EXPECT_EQ(std::tuple(cell_attribute(0, 4, 1) >> 4, cell_attribute(0, 5, 1) >> 4, cell_attribute(0, 9, 1) >> 4),
              std::tuple(1, cell_attribute(0, 3, 1) >> 4, 1));
}

// The cursor steps over an escaped character, Backspace and Delete remove
// it whole; a broken one is plain characters.
TEST(LineEditor, AnEscapedCharacterEditsAsOne)
{
    const struct { const char* start; int64_t from, key, to; const char* text; } rows[] = {
        {"a\x1b" "20AC\x1d" "b", 7, 8, 1, "a\x1b" "20AC\x1d" "b"},
        {"a\x1b" "20AC\x1d" "b", 1, 21, 7, "a\x1b" "20AC\x1d" "b"},
        {"a\x1b" "20AC\x1d" "b", 7, 127, 1, "ab"},
        {"a\x1b" "20AC\x1d" "b", 1, 7, 1, "ab"},
        {"a\x1b" "20AC", 6, 127, 5, "a\x1b" "20A"},
        {"\x1b" "20AC\x1d", 0, 8, 0, "\x1b" "20AC\x1d"},
        {"\x1b" "20AC\x1d\x1b" "00E9\x1d", 12, 127, 6, "\x1b" "20AC\x1d"},  // last: its screen is checked
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "from " << row.from << " key " << row.key);
        reset();
        t_InputForm(0, "=>", row.start, true, 0, 80);
        w.InputCursorPos = row.from;
        t_InputEdit(0, row.key);
        EXPECT_EQ(std::tuple(w.InputCursorPos, w.InputString), std::tuple(row.to, row.text));
    }
    EXPECT_EQ(screen_line(0, 1).substr(0, 16), "=>[20AC]        ") << "the freed cells are blanked";
}

// Copy turns escapes (27, four hex digits, 29) back into characters and
// leaves broken ones as they are.
TEST(PasteboardText, EscapedCharactersComeBack)
{
    const struct { const char *what, *typed, *copied; } rows[] = {
        {"euro", "x\x1b" "20AC\x1dy", "x\u20ACy"},
        {"Latin-1 stays", "\u00FF\x1b" "0100\x1d", "\u00FF\u0100"},
        {"surrogate half", "\x1b" "D800\x1d", "\x1b" "D800\x1d"},
        {"escape inside a broken one", "\x1b\x1b" "0041\x1d", "\x1b" "A"},
        {"cut short", "\x1b" "20A", "\x1b" "20A"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(unescapedtext(row.typed), row.copied) << row.what;
}

}  // namespace
