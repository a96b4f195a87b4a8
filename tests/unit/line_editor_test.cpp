// The line editor on a hand-made window of 20 x 5 cells: what t_InputForm
// returns for typed keys, where the cursor goes, what the screen line shows.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "input/key_events.h"
#include "input/line_editor.h"
#include "support/screen.h"
#include "text/text_attributes.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

class LineEditor : public ::testing::Test {
protected:
    void SetUp() override { reset(); }

    // A fresh, blank window with the cursor at the top left.
    static void reset()
    {
        sethandwindow({.number = 0, .width = 160, .height = 40}, handfont(8, 8));
    }

    static t_Window& w() { return windowtable[0]; }

    // Reads a line with the prompt "=>" (the text starts in column 3) after
    // queueing `keys` as if typed.
    static std::string form(const std::string& keys, int64_t mode = 0, int64_t max = 80,
                            const std::string& defaulttext = "")
    {
        t_TypeAhead(keys);
        return t_InputForm(0, "=>", defaulttext, false, mode, max);
    }

    // Sets an input up without reading keys.
    static void start(const std::string& defaulttext, int64_t max = 80)
    {
        t_InputForm(0, "=>", defaulttext, true, 0, max);
    }

    static void edit(std::initializer_list<int64_t> keys)
    {
        for (const int64_t key : keys)
            t_InputEdit(0, key);
    }

    // Columns 3 .. 3 + n - 1 of line 1: where the text stands.
    static std::string shown(size_t n) { return screen_line(0, 1).substr(2, n); }
};

TEST_F(LineEditor, DefaultTextIsCutToTheLimitAndToTheLine)
{
    const struct {
        const char* defaulttext;
        int64_t max;
        const char* expected;
    } rows[] = {
        {"abcdef", 3, "abc"},
        {"abc", 0, ""},
        {"abc", -1, ""},
        {"\u00E4\u00F6\u00FC\u20ACx", 4, "\u00E4\u00F6\u00FC\u20AC"},
        {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 80, "xxxxxxxxxxxxxxxxx"},  // 17 cells fit
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.defaulttext);
        reset();
        EXPECT_EQ(form("\r", 0, row.max, row.defaulttext), row.expected);
        EXPECT_EQ(w().TextVpos, 2) << "Return ends the line";
    }
    EXPECT_EQ(screen_line(0, 1), "=>xxxxxxxxxxxxxxxxx ");
}

TEST_F(LineEditor, CursorKeysMoveWithinTheText)
{
    const struct {
        int64_t from;
        int64_t key;
        int64_t to;
    } rows[] = {
        {3, 1, 0},  {3, 2, 0},  {3, 11, 0}, {3, 18, 0}, {3, 3, 8},  {3, 5, 8},  {3, 6, 8},
        {3, 10, 8}, {0, 8, 0},  {5, 8, 4},  {8, 21, 8}, {2, 21, 3}, {0, 4, 3},  {3, 4, 6},
        {6, 4, 8},  {8, 4, 8},  {8, 19, 6}, {6, 19, 3}, {4, 19, 3}, {3, 19, 0}, {0, 19, 0},
        {99, 8, 7}, {-4, 21, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "from " << row.from << " key " << row.key);
        reset();
        start("ab cd ef");
        w().InputCursorPos = row.from;
        edit({row.key, 31});
        EXPECT_EQ(w().InputCursorPos, row.to);
        EXPECT_EQ(w().TextHpos, 3 + row.to);
        EXPECT_EQ(w().InputString, "ab cd ef");
    }
}

TEST_F(LineEditor, DeletingKeysRedrawAndBlankTheFreedCells)
{
    const struct {
        const char* what;
        int64_t cursor;
        int64_t key;
        const char* text;
        int64_t after;
        const char* screen;  // the first six cells of the text
    } rows[] = {
        {"Backspace", 3, 127, "abde", 2, "abde  "},
        {"Backspace at the start", 0, 127, "abcde", 0, "abcde "},
        {"forward Delete", 1, 7, "acde", 1, "acde  "},
        {"forward Delete at the end", 5, 7, "abcde", 5, "abcde "},
        {"control-X after the third letter", 3, 24, "de", 0, "de    "},
        {"control-X at the start", 0, 24, "abcde", 0, "abcde "},
        {"control-Z", 2, 26, "", 0, "      "},
        {"Escape", 2, 27, "", 0, "      "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        reset();
        start("abcde");
        w().InputCursorPos = row.cursor;
        edit({row.key});
        EXPECT_EQ(w().InputString, row.text);
        EXPECT_EQ(w().InputCursorPos, row.after);
        EXPECT_EQ(shown(6), row.screen);
        EXPECT_EQ(screen_line(0, 1).substr(0, 2), "=>");
        EXPECT_EQ(w().TextDisplayMode, 0);
    }
}

TEST_F(LineEditor, NumberModesFilterTheKeys)
{
    const struct {
        int64_t mode;
        const char* keys;
        const char* expected;
    } rows[] = {
        {3, "1.5.E-3", "1,5e-3"},
        {3, "-1e-2e", "-1e-2"},
        {3, "1-2,3,x", "12,3"},
        {3, "12\x02-", "-12"},
        {2, "-12-3a", "-123"},
        {2, "12\x02-", "-12"},
        {4, "-1-2-", "1-2"},
        {4, "12\x02-", "12"},
        {0, "a-1.e", "a-1.e"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        reset();
        EXPECT_EQ(form(std::string(row.keys) + "\r", row.mode), row.expected);
    }
}

TEST_F(LineEditor, TheTextNeverReachesTheAreasLastColumn)
{
    const struct {
        int64_t lastcolumn;
        size_t length;  // the prompt takes columns 1 and 2
    } rows[] = {{20, 17}, {10, 7}, {3, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lastcolumn);
        reset();
        t_Area(0, 1, 1, row.lastcolumn, 5);
        const std::string text = form(std::string(30, 'x') + "\r", 0, 80);
        EXPECT_EQ(text, std::string(row.length, 'x'));
        EXPECT_EQ(cell_code(0, row.lastcolumn, 1), ' ');
    }
    // Blanking after a full line stays on the line: nothing wraps or scrolls.
    reset();
    w().TextVpos = 5;
    t_InputForm(0, "=>", std::string(30, 'x'), true, 0, 80);
    const std::string above = screen_line(0, 4);
    edit({5, 7, 0});
    EXPECT_EQ(w().TextVpos, 5);
    EXPECT_EQ(screen_line(0, 5), "=>" + std::string(17, 'x') + " ");
    EXPECT_EQ(screen_line(0, 4), above);
}

TEST_F(LineEditor, EscapeReturnsNothingAndBlanksTheText)
{
    EXPECT_EQ(form("Hallo\x1b"), "");
    EXPECT_FALSE(w().InputFinished);
    EXPECT_EQ(screen_line(0, 1), "=>" + std::string(18, ' '));
    EXPECT_EQ(form("Hallo\r"), "Hallo");
    EXPECT_TRUE(w().InputFinished);
    EXPECT_EQ(screen_line(0, 2), "=>Hallo" + std::string(13, ' '));
}

TEST_F(LineEditor, DecimalCodeEntry)
{
    const struct {
        int64_t mode;
        const char* keys;
        const char* expected;
    } rows[] = {
        {0, "\x1e" "65\rx\r", "Ax"},    // the Return ends the number and is swallowed
        {0, "\x1e" "065\r", "A"},       // three digits end it by themselves
        {0, "\x1e" "1234\r", "{4"},
        {0, "\x1e" "ab\r", "b"},        // a first key that is no digit is swallowed
        {0, "\x1e" "256\r", ""},        // beyond the character set
        {0, "\x1e" "7\r\r", ""},        // control codes only in mode 1
        {1, "\x1e" "0\r\r", ""},
        {1, "\x1e" "7\r\r", "\x07"},  // last: its screen is checked below
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::string(row.keys)));
        reset();
        EXPECT_EQ(form(row.keys, row.mode), row.expected);
        EXPECT_EQ(keyqueuelength(), 0u);
    }
    // The control code shows as the letter 64 places higher in ink colour 1.
    EXPECT_EQ(cell_code(0, 3, 1), 'G');
    EXPECT_EQ(cell_attribute(0, 3, 1) >> 4, 1);
    EXPECT_EQ(cell_attribute(0, 1, 1), 0xC0) << "the prompt keeps its colour";
}

TEST_F(LineEditor, CharactersBeyondTheFontShowAsQuestionMarks)
{
    start("");
    edit({0x20AC, 0x110000, 'a', -7, 9, 14, 29});
    EXPECT_EQ(w().InputString, std::string("\u20AC") + '\0' + "a");
    EXPECT_EQ(shown(4), "?@a ");
    EXPECT_EQ(cell_attribute(0, 3, 1) >> 4, 1);
    EXPECT_EQ(cell_attribute(0, 4, 1) >> 4, 1);
    EXPECT_EQ(cell_attribute(0, 5, 1), 0xC0);
}

// A pasted euro sign arrives as code 27, its four digits and code 29: the
// 27 cancels the line as Escape does, the rest is typed into the next one.
TEST_F(LineEditor, APastedEscapeCancelsTheLineAndTheRestStaysQueued)
{
    t_TypeAhead(frompasteboardtext("x\u20ACy"));
    EXPECT_EQ(t_InputForm(0, "=>", "", false, 0, 80), "");
    EXPECT_EQ(keyqueuelength(), 6u);
    EXPECT_EQ(form("\r"), "20ACy");
}

TEST_F(LineEditor, OperationsOnWindowsWithoutTextOnlyComplain)
{
    DiagCapture capture;
    EXPECT_EQ(t_InputForm(8, "=>", "a", true, 0, 80), "");
    t_InputEdit(3, 'a');
    t_InputInsert(255, 'a');
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{
                                   "t_InputForm: Window is not a graphic window.",
                                   "t_InputEdit: Window #3 not initialized.",
                                   "t_InputInsert: Window is not a graphic window.",
                               }));
}

TEST(PasteboardText, EscapedCharactersBecomeCharactersOnCopy)
{
    const struct {
        const char* what;
        std::string input;
        std::string copied;
    } rows[] = {
        {"euro", "a\x1b" "20AC\x1d" "b", "a\u20ACb"},
        {"lower-case digits", "\x1b" "00e9\x1d", "\u00E9"},
        {"two in a row", "\x1b" "0100\x1d\x1b" "0101\x1d", "\u0100\u0101"},
        {"three digits", "\x1b" "20A\x1d", "\x1b" "20A\x1d"},
        {"no closing 29", "\x1b" "20ACx", "\x1b" "20ACx"},
        {"cut short", "ab\x1b" "20", "ab\x1b" "20"},
        {"not hexadecimal", "\x1b" "20G0\x1d", "\x1b" "20G0\x1d"},
        {"a digit beyond Latin-1", "\x1b" "20\uFF10" "0\x1d", "\x1b" "20\uFF10" "0\x1d"},
        {"surrogate half", "\x1b" "D800\x1d", "\x1b" "D800\x1d"},
        {"escape inside a broken one", "\x1b\x1b" "0041\x1d", "\x1b" "A"},
        {"plain text", "Gr\u00FC\u00DF dich", "Gr\u00FC\u00DF dich"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(topasteboardtext(row.input), row.copied);
    }
}

TEST(PasteboardText, CharactersAboveLatinOneAreEscapedOnPaste)
{
    const struct {
        std::string pasted;
        std::string typed;
    } rows[] = {
        {"x\u20ACy", "x\x1b" "20AC\x1dy"},
        {"\u00FF\u0100", "\u00FF\x1b" "0100\x1d"},
        {"\U0001F600", "\x1b" "F600\x1d"},  // the escape holds the low 16 bits
        {"a\r\nb", "a\r\nb"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(frompasteboardtext(row.pasted), row.typed);
        EXPECT_EQ(topasteboardtext(row.typed), row.pasted == "\U0001F600" ? "\uF600" : row.pasted);
    }
}

}  // namespace
