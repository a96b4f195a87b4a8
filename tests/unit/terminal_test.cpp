// The terminal front-end's logic: colours, which cells are sent, which lines
// show at a size, and how the terminal's keys become key presses.
#include <gtest/gtest.h>

#include <curses.h>

#include <tuple>

#include "frontends/terminal/clipboard.h"
#include "frontends/terminal/colours.h"
#include "frontends/terminal/grid.h"
#include "frontends/terminal/keys.h"
#include "frontends/terminal/layout.h"
#include "frontends/terminal/log_view.h"
#include "frontends/terminal/wrap.h"
#include "support/keyboard.h"

namespace {

using Lines = std::vector<std::string>;

// A text screen of `lines` lines of 80 blanks in green on black, with the
// cursor at (column, line) and the given text at the start of some lines.
t_TextScreen textscreen(int lines, int cursorline, const std::vector<std::pair<int, std::string>>& text)
{
    t_TextScreen screen;
    screen.Columns = 80;
    screen.Lines = lines;
    screen.Cells.assign(size_t(80 * lines), t_TextCell{32, 0xC0, t_FontFace::regular});
    for (const auto& [line, content] : text)
        for (size_t i = 0; i < content.size(); ++i)
            screen.Cells[size_t((line - 1) * 80) + i].Code = uint8_t(content[i]);
    screen.CursorColumn = 3;
    screen.CursorLine = cursorline;
    return screen;
}

}  // namespace

// Exact colours where the terminal takes them; the runtime's sixteen
// colours otherwise land on the nearest the terminal has.
TEST(TerminalColours, PaletteColoursOnEachKindOfTerminal)
{
    const struct { unsigned colour; int direct; int of256; int of8; } rows[] = {
        {0, 0x000100, 16, 0},        // black: nudged off the theme's colour 0
        {1, 0xFF0000, 196, 1},       // red
        {2, 0x000080, 18, 4},        // dark blue: nearer blue than black
        {5, 0x545454, 240, 0},       // dark grey falls to the grey ramp; black of eight
        {7, 0x0080FF, 33, 6},        // light blue
        {9, 0xFF8000, 208, 3},       // orange: yellow of eight
        {10, 0xA8A8A8, 248, 7},      // light grey
        {12, 0x00FF00, 46, 2},       // green
        {13, 0xFFFF00, 226, 3},      // yellow
        {15, 0xFFFFFF, 231, 7},      // white: the cube's, not the theme's
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.colour);
        const uint32_t rgb = palettergb(row.colour);
        EXPECT_EQ(std::tuple(terminalcolour(rgb, ColourDepth::direct), terminalcolour(rgb, ColourDepth::indexed256),
                             terminalcolour(rgb, ColourDepth::eight), terminalcolour(rgb, ColourDepth::none)),
                  std::tuple(row.direct, row.of256, row.of8, -1));
    }
}

TEST(TerminalColours, TheCubeAndGreyRampAndTheirNearest)
{
    const struct { uint32_t rgb; int nearest; uint32_t back; } rows[] = {
        {0x5F87AF, 67, 0x5F87AF},    // a cube colour is itself
        {0x080808, 232, 0x080808},   // first grey of the ramp
        {0x767676, 243, 0x767676},
        {0x777777, 243, 0x767676},   // between greys: the nearer one
        {0x000001, 16, 0x000000},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(nearest256(row.rgb), row.nearest) << std::hex << row.rgb;
        EXPECT_EQ(rgbof256(row.nearest), row.back) << std::hex << row.rgb;
    }
}

TEST(TerminalColours, WhatTheTerminalOffers)
{
    EXPECT_TRUE(saysdirectcolour("truecolor"));
    EXPECT_TRUE(saysdirectcolour("24bit"));
    EXPECT_FALSE(saysdirectcolour("yes"));
    EXPECT_FALSE(saysdirectcolour(nullptr));
    const struct { int colours; bool direct; ColourDepth depth; } rows[] = {
        {0x1000000, true, ColourDepth::direct},  {0x1000000, false, ColourDepth::indexed256},
        {256, true, ColourDepth::indexed256},    {88, false, ColourDepth::eight},
        {8, false, ColourDepth::eight},          {2, false, ColourDepth::none},
    };
    for (const auto& row : rows)
        EXPECT_EQ(colourdepthof(row.colours, row.direct), row.depth) << row.colours;
}

// Bold and italic follow the face; an inverted cell keeps its swapped
// colours; ink that the terminal cannot tell from its paper is made
// readable; without colour, light paper is inverse video.
TEST(TerminalColours, TheLookOfACell)
{
    const struct { uint8_t attribute; t_FontFace face; ColourDepth depth; CellLook look; } rows[] = {
        {0xC0, t_FontFace::italic, ColourDepth::indexed256, {46, 16, false, true, false}},
        {0xD0, t_FontFace::bold, ColourDepth::indexed256, {226, 16, true, false, false}},
        {0x0C, t_FontFace::regular, ColourDepth::indexed256, {16, 46, false, false, false}},
        {0x50, t_FontFace::regular, ColourDepth::eight, {7, 0, false, false, false}},   // dark grey on black
        {0xAF, t_FontFace::regular, ColourDepth::eight, {0, 7, false, false, false}},   // light grey on white
        {0x00, t_FontFace::regular, ColourDepth::eight, {0, 0, false, false, false}},   // black on black stays
        {0xC0, t_FontFace::regular, ColourDepth::none, {-1, -1, false, false, false}},
        {0x0C, t_FontFace::bold, ColourDepth::none, {-1, -1, true, false, true}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(lookof(row.attribute, row.face, row.depth), row.look) << std::hex << int(row.attribute);
}

// Only the cells that differ are sent, in runs within a row; runs close
// together are joined; a grid of another size is sent whole.
TEST(TerminalCells, ChangedCellsAreSentAsRuns)
{
    const auto grid = [](const std::string& text) {
        Grid g;
        g.reset(int(text.size()), 1);
        for (size_t i = 0; i < text.size(); ++i)
            g.at(0, int(i)).Character = char32_t(text[i]);
        return g;
    };
    const struct { std::string shown; std::string wanted; int gap; std::vector<::Run> runs; } rows[] = {
        {"abcdefghij", "abcdefghij", 4, {}},
        {"abcdefghij", "abXdefghij", 4, {{0, 2, 1}}},
        {"abcdefghij", "XbcdefghiY", 4, {{0, 0, 1}, {0, 9, 1}}},
        {"abcdefghij", "XbcYefghij", 4, {{0, 0, 4}}},        // two unchanged between: joined
        {"abcdefghij", "XbcYefghij", 1, {{0, 0, 1}, {0, 3, 1}}},
        {"abc", "abcd", 4, {{0, 0, 4}}},                     // new size: everything
    };
    for (const auto& row : rows)
        EXPECT_EQ(changedruns(grid(row.shown), grid(row.wanted), row.gap), row.runs) << row.wanted;

    // A change of look alone is a change.
    Grid shown = grid("ab"), wanted = grid("ab");
    wanted.at(0, 1).Look.italic = true;
    EXPECT_EQ(changedruns(shown, wanted), (std::vector<::Run>{{0, 1, 1}}));
}

// 80 x 25 and larger: everything, centred, framed where there is room, a
// status line where a line is left; lower: the lines up to the one to keep
// in sight; narrower: nothing fits.
TEST(TerminalLayout, WhatShowsAtEachSize)
{
    const struct { int columns, rows, keep; Layout layout; } rows[] = {
        {100, 30, 7, {true, 10, 2, 1, 25, 2, 2, 1, 1, 29}},
        {81, 27, 7, {true, 0, 0, 1, 25, 0, 1, 0, 1, 26}},
        {80, 26, 7, {true, 0, 0, 1, 25, 0, 0, 0, 0, 25}},
        {80, 25, 25, {true, 0, 0, 1, 25, 0, 0, 0, 0, -1}},
        {80, 24, 7, {true, 0, 0, 1, 24, 0, 0, 0, 0, -1}},
        {80, 24, 25, {true, 0, 0, 2, 24, 0, 0, 0, 0, -1}},
        {90, 10, 24, {true, 5, 0, 15, 10, 2, 2, 0, 0, -1}},
        {80, 10, 3, {true, 0, 0, 1, 10, 0, 0, 0, 0, -1}},
        {79, 30, 7, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(computelayout(row.columns, row.rows, 80, 25, row.keep), row.layout)
            << row.columns << " x " << row.rows << ", keeping line " << row.keep;
}

TEST(TerminalLayout, TheLineToKeepInSight)
{
    EXPECT_EQ(lineinsight(textscreen(25, 8, {{7, "Bist du immer unsicher?"}})), 8);   // the prompt's
    EXPECT_EQ(lineinsight(textscreen(25, 8, {{25, "(Programm Ende)"}})), 25);         // text below it
    EXPECT_EQ(lineinsight(textscreen(25, 30, {})), 25);                               // clamped
}

TEST(TerminalLayout, TheSizeNoteSaysWhatIsNeeded)
{
    EXPECT_EQ(sizenote(60, 20, 80, 25, 60),
              (Lines{"Sprecho braucht ein Terminal mit mindestens 80 Spalten (ganz",
                     "zu sehen ab 80 \u00D7 25). Dieses hat 60 \u00D7 20. Bitte das Fenster",
                     "vergr\u00F6\u00DFern."}));
}

// The screen as composed: frame, text, faces, cursor and status line.
TEST(TerminalCells, AScreenComposedForTheTerminal)
{
    t_TextScreen screen = textscreen(25, 7, {{2, "  S P R E C H O"}, {7, "=>\xE4\xDF"}});
    screen.Cells[80 + 2].Face = t_FontFace::bold;
    screen.MarginColour = palettergb(13);
    const Layout layout = computelayout(86, 28, 80, 25, 7);  // text from column 3, row 1
    Grid grid;
    grid.reset(86, 28);
    const CursorCell cursor = composescreen(grid, layout, screen, ColourDepth::indexed256, "Alt+Q Beenden");
    EXPECT_EQ(std::tuple(cursor.row, cursor.column), std::tuple(7, 5));
    const CellLook frame{226, 226, false, false, false};
    EXPECT_EQ(grid.at(0, 0).Look, CellLook{});      // outside the frame
    EXPECT_EQ(grid.at(0, 1).Look, frame);           // the frame's corner
    EXPECT_EQ(grid.at(1, 1).Look, frame);
    EXPECT_EQ(grid.at(2, 5).Character, U'S');
    EXPECT_TRUE(grid.at(2, 5).Look.bold);
    EXPECT_FALSE(grid.at(2, 7).Look.bold);
    EXPECT_EQ(grid.at(7, 5).Character, U'\u00E4');
    EXPECT_EQ(grid.at(7, 6).Character, U'\u00DF');
    EXPECT_EQ(grid.at(26, 84).Look, frame);
    EXPECT_EQ(grid.at(26, 85).Look, CellLook{});
    EXPECT_EQ(grid.at(27, 1).Character, U'A');
    EXPECT_TRUE(grid.at(27, 1).Look.reverse);
}

TEST(TerminalCells, CodesAsTheTerminalShowsThem)
{
    const struct { uint8_t code; char32_t shown; } rows[] = {
        {0, U' '},     {13, U' '},     {65, U'A'},     {126, U'~'},    {127, U'\u2592'},
        {134, U'\u250C'}, {146, U'\u253C'}, {160, U'\u2423'}, {161, U'\u00A1'}, {223, U'\u00DF'},
    };
    for (const auto& row : rows)
        EXPECT_EQ(displaycharacter(row.code), row.shown) << int(row.code);
}

// The terminal's keys as key presses: the key code by meaning, the
// characters a desktop reports and the modifier flags; Alt with P, C or Q
// is the front-end's own.
TEST(TerminalKeys, KeysBecomeKeyPresses)
{
    const int controlleft = 600;  // a code the description gives Control+Left
    const std::vector<ModifiedKey> modified = {{controlleft, t_NamedKey::left, controlflag}};
    const struct { const char* what; TerminalKey key; KeyAction action; int64_t code; std::string characters; uint64_t flags; } rows[] = {
        {"a", {false, 'a', false}, KeyAction::press, 0, "a", 0},
        {"A", {false, 'A', false}, KeyAction::press, 0, "A", shiftflag},
        {"ä", {false, 0xE4, false}, KeyAction::press, 39, "\u00E4", 0},
        {"ß", {false, 0xDF, false}, KeyAction::press, 27, "\u00DF", 0},
        {"?", {false, '?', false}, KeyAction::press, 44, "?", shiftflag},
        {"é", {false, 0xE9, false}, KeyAction::press, unknownkeycode, "\u00E9", 0},
        {"Return", {false, '\r', false}, KeyAction::press, 36, "\r", 0},
        {"Tab", {false, '\t', false}, KeyAction::press, 48, "\t", 0},
        {"Escape", {false, 0x1B, false}, KeyAction::press, 53, "\x1B", 0},
        {"Backspace as DEL", {false, 0x7F, false}, KeyAction::press, 51, "\x7F", 0},
        {"Backspace by name", {true, KEY_BACKSPACE, false}, KeyAction::press, 51, "\x7F", 0},
        {"Control+L", {false, 12, false}, KeyAction::press, 37, "\x0C", controlflag},
        {"Control+H", {false, 8, false}, KeyAction::press, 4, "\x08", controlflag},
        {"Control+^", {false, 30, false}, KeyAction::press, 22, "\x1E", controlflag},
        {"Control+Space", {false, 0, false}, KeyAction::press, 49, std::string(1, '\0'), controlflag},
        {"Left", {true, KEY_LEFT, false}, KeyAction::press, 123, "\uF702", 0},
        {"Up", {true, KEY_UP, false}, KeyAction::press, 126, "\uF700", 0},
        {"Home", {true, KEY_HOME, false}, KeyAction::press, 115, "\uF729", 0},
        {"End", {true, KEY_END, false}, KeyAction::press, 119, "\uF72B", 0},
        {"Page Up", {true, KEY_PPAGE, false}, KeyAction::press, 116, "\uF72C", 0},
        {"Page Down", {true, KEY_NPAGE, false}, KeyAction::press, 121, "\uF72D", 0},
        {"Delete", {true, KEY_DC, false}, KeyAction::press, 117, "\uF728", 0},
        {"Shift+Tab", {true, KEY_BTAB, false}, KeyAction::press, 48, "\x19", shiftflag},
        {"Shift+Right", {true, KEY_SRIGHT, false}, KeyAction::press, 124, "\uF703", shiftflag},
        {"keypad Enter", {true, KEY_ENTER, false}, KeyAction::press, 76, "\r", 0},
        {"F1", {true, KEY_F(1), false}, KeyAction::press, 122, "\uF704", 0},
        {"F12", {true, KEY_F(12), false}, KeyAction::press, 111, "\uF70F", 0},
        {"Shift+F1 as F13 of xterm", {true, KEY_F(13), false}, KeyAction::press, 105, "\uF710", 0},
        {"Control+F2 as F26", {true, KEY_F(26), false}, KeyAction::press, 120, "\uF705", controlflag},
        {"Control+Left from the description", {true, controlleft, false}, KeyAction::press, 123, "\uF702", controlflag},
        {"Alt+x", {false, 'x', true}, KeyAction::press, 7, "x", optionflag},
        {"Alt+Left", {true, KEY_LEFT, true}, KeyAction::press, 123, "\uF702", optionflag},
        {"Alt+P", {false, 'p', true}, KeyAction::showlog, 0, "", 0},
        {"Alt+Shift+P", {false, 'P', true}, KeyAction::showlog, 0, "", 0},
        {"Alt+C", {false, 'c', true}, KeyAction::copytext, 0, "", 0},
        {"Alt+Q", {false, 'q', true}, KeyAction::quit, 0, "", 0},
        {"unknown key code", {true, KEY_MAX + 40, false}, KeyAction::none, 0, "", 0},
        {"surrogate", {false, 0xD800, false}, KeyAction::none, 0, "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const KeyResult result = translatekey(row.key, modified);
        EXPECT_EQ(std::tuple(result.action, result.press.KeyCode, result.press.Characters, result.press.ModifierFlags),
                  std::tuple(row.action, row.code, row.characters, row.flags));
    }    // Control with a letter, a to z: the letter's key, except where the
    // code is that of Tab (I) or Return (M).
    for (int code = 1; code <= 26; ++code) {
        if (code == '\t' || code == '\r')
            continue;
        const char letter[] = {char('A' + code - 1), '\0'};
        SCOPED_TRACE(letter);
        int64_t wanted = -2;
        for (const KeyboardKey& key : keyboardkeys)
            if (key.us != nullptr && std::string(key.us) == letter)
                wanted = key.code;
        const KeyResult result = translatekey({false, code, false}, modified);
        EXPECT_EQ(std::tuple(result.press.KeyCode, result.press.Characters, result.press.ModifierFlags),
                  std::tuple(wanted, std::string(1, char(code)), controlflag));
    }
}

TEST(TerminalText, LinesWrapAtBlanksAndLongWordsAreCut)
{
    const struct { std::string text; int width; Lines lines; } rows[] = {
        {"", 10, {""}},
        {"Patient: Hallo", 20, {"Patient: Hallo"}},
        {"Sprecho: Ich begrüsse dich!", 12, {"Sprecho: Ich", "begrüsse", "dich!"}},
        {"abcdefghijkl", 5, {"abcde", "fghij", "kl"}},
        {"ab cdefghijkl", 5, {"ab", "cdefg", "hijkl"}},
        {"größer", 3, {"grö", "ßer"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(wraplines(row.text, row.width), row.lines) << row.text;
}

// The log's lines end in carriage returns; the view follows its end until
// it is scrolled back, and follows again once scrolled to the end.
TEST(TerminalText, TheLogViewScrollsAndFollows)
{
    EXPECT_EQ(logrows("Protokoll\r\rPatient: Hallo\r", 40), (Lines{"Protokoll", "", "Patient: Hallo"}));
    EXPECT_EQ(logrows("a\r\nb\n", 40), (Lines{"a", "b"}));

    LogView view;
    EXPECT_EQ(logfirstrow(view, 50, 20), 30);
    const struct { LogScroll scroll; int first; bool follow; } steps[] = {
        {LogScroll::lineup, 29, false},  {LogScroll::pageup, 10, false}, {LogScroll::pageup, 0, false},
        {LogScroll::lineup, 0, false},   {LogScroll::pagedown, 19, false}, {LogScroll::pagedown, 30, true},
        {LogScroll::top, 0, false},      {LogScroll::bottom, 30, true},
    };
    for (const auto& step : steps) {
        scrolllog(view, step.scroll, 50, 20);
        EXPECT_EQ(std::tuple(logfirstrow(view, 50, 20), view.follow), std::tuple(step.first, step.follow));
    }
    EXPECT_EQ(logfirstrow(view, 10, 20), 0);  // shorter than the view
}

TEST(TerminalText, Base64ForTheClipboardEscape)
{
    const struct { std::string text; std::string encoded; } rows[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
        {"Grüße", "R3LDvMOfZQ=="},
    };
    for (const auto& row : rows)
        EXPECT_EQ(base64(row.text), row.encoded) << row.text;
}
