// Random keys against the line editor, on windows and text areas of random
// shape, with random prompts, defaults, modes and limits.
//
// After every key: the cursor lies within the text, the text keeps its
// length limits and ends before the area's last column, the screen line
// shows exactly the text, and no other cell of the window has changed.
//
// Input layout: window and area shape, cursor start, prompt and default
// lengths, mode and limit, the default's bytes, then one byte per key.
#include <cstdint>
#include <string>
#include <vector>

// The fuzz build has no desktop: the window is set up by hand.
#include "fuzz_input.h"
#include "hand_window.h"

#include "input/key_events.h"
#include "input/line_editor.h"
#include "text/text_attributes.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

// Key bytes from 0xF0 on stand for codes no byte holds.
constexpr int64_t widekeys[] = {-1,       -200,     256,      0x20AC,   0xD800, 0xFFFF,
                                0x10FFFF, 0x110000, 0x1F600,  INT64_MIN, INT64_MAX, 255,
                                0xF704,   1000,     0x7FFFFFFF, 30};

int64_t keyfrom(uint8_t b)
{
    return b < 0xF0 ? b : widekeys[b - 0xF0];
}

// A key as the main thread would queue it.
void queuevalue(int64_t value)
{
    t_TypeAhead(unicode::encode(static_cast<char32_t>(value)));
}

// Decimal code entry reads up to three keys: queue three from the input
// (mostly digits), then Returns, so the wait always finds a key and the
// newest key is never the pause key.
void queuecodeentry(Input& in)
{
    for (int i = 0; i < 3; ++i) {
        const uint8_t b = in.byte();
        queuevalue(b < 200 ? '0' + b % 10 : b);
    }
    for (int i = 0; i < 3; ++i)
        queuevalue(13);
}

// What the editing display mode draws for a character.
uint8_t shown(char32_t c)
{
    if (c < 32)
        return static_cast<uint8_t>(c + 64);
    return c > 255 ? '?' : static_cast<uint8_t>(c);
}

void setwindow(Input& in)
{
    static const t_Font font = handfont(8, 2);  // 8 wide: whole bytes at 1 bit per pixel
    constexpr int64_t depths[] = {1, 4, 8, 16, 24, 32};
    const int64_t columns = 1 + in.upto(40);
    const int64_t lines = 1 + in.upto(6);
    HandWindow shape;
    shape.depth = depths[in.upto(6)];
    shape.width = columns * 8;
    shape.height = lines * 2;
    sethandwindow(shape, font);
    const int64_t firstcolumn = 1 + in.upto(columns);
    const int64_t lastcolumn = firstcolumn + in.upto(columns - firstcolumn + 1);
    const int64_t firstline = 1 + in.upto(lines);
    const int64_t lastline = firstline + in.upto(lines - firstline + 1);
    t_Area(0, firstcolumn, firstline, lastcolumn, lastline);
    t_Window& w = windowtable[0];
    w.TextHpos = firstcolumn + in.upto(lastcolumn - firstcolumn + 1);
    w.TextVpos = firstline + in.upto(lastline - firstline + 1);
}

void startinput(Input& in)
{
    const std::string prompt(static_cast<size_t>(in.upto(12)), '>');
    const int64_t defaultlength = in.upto(60);
    const int64_t mode = in.upto(6);
    const int64_t max = static_cast<int8_t>(in.byte());
    std::string defaulttext;
    for (int64_t i = 0; i < defaultlength; ++i)
        defaulttext += static_cast<char>(32 + in.byte() % 95);
    t_InputForm(0, prompt, defaulttext, true, mode, max);
}

void checkinput(const std::vector<uint8_t>& before)
{
    const t_Window& w = windowtable[0];
    const std::vector<char32_t> text = unicode::scalars(w.InputString);
    const auto length = static_cast<int64_t>(text.size());
    require(w.InputCursorPos >= 0 && w.InputCursorPos <= length, "cursor within the text");
    require(length <= std::max<int64_t>(w.InputMaxCharacters, 0), "length limit");
    require(length == 0 || w.InputHpos + length <= w.TextLastColumn, "text before the last column");
    require(w.TextVpos == w.InputVpos, "cursor on the input line");
    require(w.TextDisplayMode == 0, "display mode restored");

    const std::vector<uint8_t> after = textblock(0);
    const size_t half = after.size() / 2;
    for (int64_t line = 1; line <= w.TextHeight; ++line) {
        for (int64_t column = 1; column <= w.TextWidth; ++column) {
            const auto cell = static_cast<size_t>((line - 1) * w.TextWidth + column - 1);
            const int64_t offset = column - w.InputHpos;
            const bool editable = line == w.InputVpos && offset >= 0 &&
                                  column < w.TextLastColumn;
            if (!editable) {
                require(after[cell] == before[cell] && after[cell + half] == before[cell + half],
                        "cells outside the text unchanged");
            } else if (offset < length) {
                require(after[cell] == shown(text[static_cast<size_t>(offset)]), "screen shows the text");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    clearkeyqueue();
    setwindow(in);
    startinput(in);
    const std::vector<uint8_t> before = textblock(0);
    checkinput(before);
    while (in.more()) {
        const int64_t key = keyfrom(in.byte());
        if (key == 30)
            queuecodeentry(in);
        t_InputEdit(0, key);
        clearkeyqueue();
        checkinput(before);
    }
    int64_t column = 0;
    int64_t line = 0;
    require(cellsconsistent(0, column, line), "pixels match the text memory");
    return 0;
}
