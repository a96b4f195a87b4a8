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

// A fresh, blank window with the cursor at the top left.
void reset()
{
    sethandwindow({.number = 0, .width = 160, .height = 40}, handfont(8, 8));
}

t_Window& w()
{
    return windowtable[0];
}

// Reads a line with the prompt "=>" (the text starts in column 3) after
// queueing `keys` as if typed.
std::string form(const std::string& keys, int64_t mode = 0, int64_t max = 80, const std::string& defaulttext = "")
{
    t_TypeAhead(keys);
    return t_InputForm(0, "=>", defaulttext, false, mode, max);
}

// Sets an input up with `defaulttext` and the cursor at `cursor`, then
// edits it with `keys`, without reading the queue.
void edit(const std::string& defaulttext, int64_t cursor, std::initializer_list<int64_t> keys)
{
    reset();
    t_InputForm(0, "=>", defaulttext, true, 0, 80);
    w().InputCursorPos = cursor;
    for (const int64_t key : keys)
        t_InputEdit(0, key);
}

class LineEditor : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
};

// Keys 1, 2, 11, 18 go to the start; 3, 5, 6, 10 to the end; 8 and 21 one
// step; 4 and 19 a word. Key 31 after each is ignored.
TEST_F(LineEditor, CursorKeysMoveWithinTheText)
{
    const struct { int64_t from, key, to; } rows[] = {
        {3, 1, 0},  {3, 2, 0},  {3, 11, 0}, {3, 18, 0}, {3, 3, 8},  {3, 5, 8},  {3, 6, 8},
        {3, 10, 8}, {0, 8, 0},  {5, 8, 4},  {8, 21, 8}, {2, 21, 3}, {0, 4, 3},  {3, 4, 6},
        {6, 4, 8},  {8, 4, 8},  {8, 19, 6}, {6, 19, 3}, {4, 19, 3}, {3, 19, 0}, {0, 19, 0},
        {99, 8, 7}, {-4, 21, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "from " << row.from << " key " << row.key);
        edit("ab cd ef", row.from, {row.key, 31});
        EXPECT_EQ(std::tuple(w().InputCursorPos, w().TextHpos, w().InputString),
                  std::tuple(row.to, 3 + row.to, "ab cd ef"));
    }
}

TEST_F(LineEditor, DeletingKeysRedrawAndBlankTheFreedCells)
{
    // The cursor at `at`; `cells`: the first six cells of the text.
    const struct { const char* what; int64_t at, key; const char *text, *cells; int64_t after; } rows[] = {
        {"Backspace", 3, 127, "abde", "abde  ", 2},
        {"Backspace at the start", 0, 127, "abcde", "abcde ", 0},
        {"forward Delete", 1, 7, "acde", "acde  ", 1},
        {"forward Delete at the end", 5, 7, "abcde", "abcde ", 5},
        {"control-X after the third letter", 3, 24, "de", "de    ", 0},
        {"control-X at the start", 0, 24, "abcde", "abcde ", 0},
        {"control-Z", 2, 26, "", "      ", 0},
        {"Escape", 2, 27, "", "      ", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        edit("abcde", row.at, {row.key});
        EXPECT_EQ(std::tuple(w().InputString, w().InputCursorPos), std::tuple(row.text, row.after));
        EXPECT_EQ(screen_line(0, 1).substr(0, 8), std::string("=>") + row.cells);
        EXPECT_EQ(w().TextDisplayMode, 0);
    }
}

TEST_F(LineEditor, TheTextNeverReachesTheAreasLastColumn)
{
    // The prompt takes columns 1 and 2.
    for (const auto& [lastcolumn, length] : {std::pair{20, 17}, {10, 7}, {3, 0}}) {
        reset();
        t_Area(0, 1, 1, lastcolumn, 5);
        EXPECT_EQ(form(std::string(30, 'x') + "\r"), std::string(length, 'x')) << lastcolumn;
        EXPECT_EQ(cell_code(0, lastcolumn, 1), ' ') << lastcolumn;
    }
    // Blanking after a full line stays on the line: nothing wraps or scrolls.
    reset();
    w().TextVpos = 5;
    t_InputForm(0, "=>", std::string(30, 'x'), true, 0, 80);
    const std::string above = screen_line(0, 4);
    for (const int64_t key : {5, 7, 0})
        t_InputEdit(0, key);
    EXPECT_EQ(w().TextVpos, 5);
    EXPECT_EQ(screen_line(0, 5), "=>" + std::string(17, 'x') + " ");
    EXPECT_EQ(screen_line(0, 4), above);
}

// Control-^ starts a decimal code; modes 2 to 4 take numbers only.
TEST_F(LineEditor, TypedKeysAndTheDefaultGiveTheLine)
{
    const struct { int64_t mode, max; const char *defaulttext, *keys, *expected; } rows[] = {
        {0, 3, "abcdef", "\r", "abc"},
        {0, 0, "abc", "\r", ""},
        {0, -1, "abc", "\r", ""},
        {0, 4, "\u00E4\u00F6\u00FC\u20ACx", "\r", "\u00E4\u00F6\u00FC\u20AC"},
        {0, 80, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", "\r", "xxxxxxxxxxxxxxxxx"},  // 17 cells fit
        {3, 80, "", "1.5.E-3\r", "1,5e-3"},
        {3, 80, "", "-1e-2e\r", "-1e-2"},
        {3, 80, "", "1-2,3,x\r", "12,3"},
        {3, 80, "", "12\x02-\r", "-12"},
        {2, 80, "", "-12-3a\r", "-123"},
        {2, 80, "", "12\x02-\r", "-12"},
        {4, 80, "", "-1-2-\r", "1-2"},
        {4, 80, "", "12\x02-\r", "12"},
        {0, 80, "", "a-1.e\r", "a-1.e"},
        {0, 80, "", "\x1e" "65\rx\r", "Ax"},  // the Return ends the number and is swallowed
        {0, 80, "", "\x1e" "065\r", "A"},     // three digits end it by themselves
        {0, 80, "", "\x1e" "1234\r", "{4"},
        {0, 80, "", "\x1e" "ab\r", "b"},      // a first key that is no digit is swallowed
        {0, 80, "", "\x1e" "256\r", ""},      // beyond the character set
        {0, 80, "", "\x1e" "7\r\r", ""},      // control codes only in mode 1
        {1, 80, "", "\x1e" "0\r\r", ""},
        {1, 80, "", "\x1e" "7\r\r", "\x07"},  // last: its screen is checked below
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.mode << " " << ::testing::PrintToString(std::string(row.keys)));
        reset();
        EXPECT_EQ(form(row.keys, row.mode, row.max, row.defaulttext), row.expected);
        EXPECT_EQ(w().TextVpos, 2) << "Return ends the line";
        EXPECT_EQ(keyqueuelength(), 0u);
    }
    // The control code shows as the letter 64 places higher in ink colour 1.
    EXPECT_EQ(cell_code(0, 3, 1), 'G');
    EXPECT_EQ(cell_attribute(0, 3, 1) >> 4, 1);
    EXPECT_EQ(cell_attribute(0, 1, 1), 0xC0) << "the prompt keeps its colour";
}

TEST_F(LineEditor, CharactersBeyondTheFontShowAsQuestionMarks)
{
    edit("", 0, {0x20AC, 0x110000, 'a', -7, 9, 14, 29});
    EXPECT_EQ(w().InputString, std::string("\u20AC") + '\0' + "a");
    EXPECT_EQ(screen_line(0, 1).substr(2, 4), "?@a ");
    EXPECT_EQ(cell_attribute(0, 3, 1) >> 4, 1);
    EXPECT_EQ(cell_attribute(0, 4, 1) >> 4, 1);
    EXPECT_EQ(cell_attribute(0, 5, 1), 0xC0);
}

// A pasted euro sign arrives as code 27, its four digits and code 29: the
// 27 cancels the line as Escape does, the rest is typed into the next one.
TEST_F(LineEditor, APastedEscapeCancelsTheLineAndTheRestStaysQueued)
{
    EXPECT_EQ(form(frompasteboardtext("x\u20ACy")), "");
    EXPECT_EQ(keyqueuelength(), 6u);
    EXPECT_EQ(form("\r"), "20ACy");
}

// Copy turns escapes (27, four hex digits, 29) back into characters and
// leaves broken ones as they are; paste escapes what lies above Latin-1.
TEST(PasteboardText, EscapesOnPasteAndCharactersOnCopy)
{
    const struct { const char *what, *pasted, *typed, *copied; } rows[] = {
        {"euro", "x\u20ACy", "x\x1b" "20AC\x1dy", "x\u20ACy"},
        {"Latin-1 stays", "\u00FF\u0100", "\u00FF\x1b" "0100\x1d", "\u00FF\u0100"},
        {"the low 16 bits only", "\U0001F600", "\x1b" "F600\x1d", "\uF600"},
        {"line ends", "Gr\u00FC\u00DF\r\ndich", "Gr\u00FC\u00DF\r\ndich", "Gr\u00FC\u00DF\r\ndich"},
        {"lower-case digits", nullptr, "\x1b" "00e9\x1d", "\u00E9"},
        {"two in a row", nullptr, "\x1b" "0100\x1d\x1b" "0101\x1d", "\u0100\u0101"},
        {"three digits", nullptr, "\x1b" "20A\x1d", "\x1b" "20A\x1d"},
        {"not hexadecimal", nullptr, "\x1b" "20G0\x1d", "\x1b" "20G0\x1d"},
        {"surrogate half", nullptr, "\x1b" "D800\x1d", "\x1b" "D800\x1d"},
        {"escape inside a broken one", nullptr, "\x1b\x1b" "0041\x1d", "\x1b" "A"},
    };
    for (const auto& row : rows) {
        if (row.pasted != nullptr) {
            EXPECT_EQ(frompasteboardtext(row.pasted), row.typed) << row.what;
        }
        EXPECT_EQ(topasteboardtext(row.typed), row.copied) << row.what;
    }
}

}  // namespace
