// Random text output against a window of random shape, depth and cell size:
// bytes and strings (invalid UTF-8 and scalars far beyond the font
// included), control codes, escape parameters and display modes, with
// random text areas, tabs, colours, scroll lock, redirection, headers,
// inverted rectangles, clearing and scrolling in between.
//
// The window is set up by hand with guard bytes around its pixel block and
// its text block, and with the unused ends of both text planes filled too.
// After every operation: no guard byte has changed, the cursor is inside
// the window, the area is a valid rectangle of the grid, and a cursor shown
// and hidden again leaves every byte as it was. At the end every cell's
// pixels are what its stored code and attribute draw, and the pixels right
// of and below the grid are untouched.
//
// Input layout: seven bytes of window shape, then operations, each an
// operation byte followed by its arguments.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The fuzz build has no desktop: the window is set up by hand.
#include "fuzz_input.h"
#include "hand_window.h"

#include "input/key_events.h"
#include "text/screen_readback.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t guardsize = 4096;
constexpr int64_t pixelstart = 0x200000;

// ---- The window and its guards ---------------------------------------------

// The bytes that must not change: guard zones around both blocks, the part
// of each text plane beyond the grid, and the pixel margins beyond the grid.
struct Guarded {
    std::vector<int64_t> starts;
    std::vector<std::vector<uint8_t>> bytes;

    void add(int64_t start, int64_t count)
    {
        if (count < 1)
            return;
        starts.push_back(start);
        bytes.emplace_back(videomemory + start, videomemory + start + count);
    }
    bool intact() const
    {
        for (size_t i = 0; i < starts.size(); ++i)
            if (std::memcmp(videomemory + starts[i], bytes[i].data(), bytes[i].size()) != 0)
                return false;
        return true;
    }
};

void fill(int64_t start, int64_t count, uint8_t seed)
{
    for (int64_t i = 0; i < count; ++i)
        videomemory[start + i] = static_cast<uint8_t>(seed + i * 7);
}

const t_Font& fontof(int64_t fw, int64_t fh)
{
    static t_Font fonts[5][5];
    t_Font& font = fonts[std::countr_zero(static_cast<uint64_t>(fw))][fh];
    if (font.Data.empty())
        font = handfont(fw, fh);
    return font;
}

// Cell widths 2..16 pixels, heights 1..4; the pixel width is a multiple of
// 8 so that rows start on whole bytes at every depth. A 16 pixel cell may
// leave an 8 pixel margin at the right, any cell up to its height less one
// line of pixels at the bottom.
Guarded setwindow(Input& in)
{
    constexpr int64_t depths[] = {1, 4, 8, 16, 24, 32};
    const int64_t depth = depths[in.upto(6)];
    const int64_t fw = int64_t{2} << in.upto(4);
    const int64_t fh = 1 + in.upto(4);
    const int64_t columns = 1 + in.upto(24);
    const int64_t lines = 1 + in.upto(8);
    HandWindow shape;
    shape.depth = depth;
    shape.width = (columns * fw + 7) / 8 * 8;
    shape.height = lines * fh + in.upto(fh);
    shape.pixelstart = pixelstart;
    shape.padded = in.byte() % 2 == 0;
    sethandwindow(shape, fontof(fw, fh));

    const t_Window& w = windowtable[0];
    const int64_t cells = w.TextWidth * w.TextHeight;
    const int64_t half = (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
    fill(w.MemoryStart - guardsize, guardsize, 0x11);
    fill(w.MemoryEnd + 1, w.TextMemoryStart - w.MemoryEnd - 1, 0x22);
    fill(w.TextMemoryEnd + 1, guardsize, 0x33);
    fill(w.TextMemoryStart + cells, half - cells, 0x44);
    fill(w.TextMemoryStart + half + cells, half - cells, 0x55);

    Guarded guarded;
    guarded.add(w.MemoryStart - guardsize, guardsize);
    guarded.add(w.MemoryEnd + 1, w.TextMemoryStart - w.MemoryEnd - 1);
    guarded.add(w.TextMemoryEnd + 1, guardsize);
    guarded.add(w.TextMemoryStart + cells, half - cells);
    guarded.add(w.TextMemoryStart + half + cells, half - cells);
    const int64_t rowbytes = w.Width * depth / 8;
    const int64_t gridbytes = fw * w.TextWidth * depth / 8;
    for (int64_t row = 0; row < w.Height; ++row) {
        const int64_t start = w.MemoryStart + row * rowbytes;
        if (row < fh * w.TextHeight)
            guarded.add(start + gridbytes, rowbytes - gridbytes);
        else
            guarded.add(start, rowbytes);
    }
    return guarded;
}

void checkwindow(const Guarded& guarded)
{
    const t_Window& w = windowtable[0];
    require(guarded.intact(), "bytes outside the grid unchanged");
    require(w.TextHpos >= 1 && w.TextHpos <= w.TextWidth, "cursor column within the window");
    require(w.TextVpos >= 1 && w.TextVpos <= w.TextHeight, "cursor line within the window");
    require(1 <= w.TextFirstColumn && w.TextFirstColumn <= w.TextLastColumn &&
                w.TextLastColumn <= w.TextWidth,
            "area columns within the window");
    require(1 <= w.TextFirstLine && w.TextFirstLine <= w.TextLastLine &&
                w.TextLastLine <= w.TextHeight,
            "area lines within the window");
    require(w.TextCursorLevel == 0, "cursor hidden between operations");
}

// ---- Operations ------------------------------------------------------------

// Code points spread over the whole range: Latin-1, the rest of the basic
// plane (surrogates included) and the planes above, up to beyond U+10FFFF.
std::string scalartext(Input& in)
{
    const int64_t count = in.upto(32);
    std::string text;
    for (int64_t i = 0; i < count && in.more(); ++i) {
        uint32_t code = in.byte();
        if (code >= 0x80) {
            code = code << 8 | in.byte();
            code = (code << 8 | in.byte()) % 0x112000;
        }
        text += unicode::encode(static_cast<char32_t>(code));
    }
    return text;
}

// Showing and hiding the cursor, nested, gives every byte back.
void cursorpair(Input& in)
{
    const std::vector<uint8_t> pixels = pixelblock(0);
    const std::vector<uint8_t> text = textblock(0);
    const int64_t depth = 1 + in.upto(3);
    for (int64_t i = 0; i < depth; ++i)
        t_CursorOn(0);
    for (int64_t i = 0; i < depth; ++i)
        t_CursorOff(0);
    require(pixelblock(0) == pixels && textblock(0) == text, "cursor on and off restores");
}

void cursormove(Input& in)
{
    switch (in.upto(7)) {
    case 0: t_Cr(0); break;
    case 1: t_CursorRight(0); break;
    case 2: t_CursorLeft(0); break;
    case 3: t_CursorUp(0); break;
    case 4: t_CursorDown(0); break;
    case 5: t_CursorHome(0); break;
    default: t_CursorEnd(0); break;
    }
}

void attribute(Input& in)
{
    switch (in.upto(4)) {
    case 0: t_Normal(0); break;
    case 1: t_Inverse(0); break;
    case 2: t_Reverse(0); break;
    default: windowtable[0].ScrollLock = !windowtable[0].ScrollLock; break;
    }
}

// Display modes 0..4 mostly; any value now and then, since the mode is
// stored without a range check.
void displaymode(Input& in)
{
    const uint8_t b = in.byte();
    t_DisplayMode(0, b < 0xF0 ? b % 5 : in.number(200));
}

void clearorscroll(Input& in)
{
    switch (in.upto(4)) {
    case 0: t_ClearEndOfLine(0); break;
    case 1: t_ClearEndOfWindow(0); break;
    case 2: t_ScrollUp(0); break;
    default: t_ScrollDown(0); break;
    }
}

void operation(Input& in)
{
    const t_Window& w = windowtable[0];
    const int64_t tw = w.TextWidth;
    const int64_t th = w.TextHeight;
    switch (in.upto(18)) {
    case 0: {
        const std::string s = in.bytes();
        t_Print(0, Text{{s.begin(), s.end()}});
        break;
    }
    case 1: t_Print(0, in.bytes()); break;
    case 2: t_Print(0, scalartext(in)); break;
    case 3: {
        const int64_t c1 = in.number(tw), l1 = in.number(th), c2 = in.number(tw);
        t_Area(0, c1, l1, c2, in.number(th));
        break;
    }
    case 4: t_Htab(0, in.number(tw)); break;
    case 5: attribute(in); break;
    case 6: t_Color(0, in.number(20)); break;
    case 7: displaymode(in); break;
    case 8: {
        const std::string left = in.bytes();
        t_Header(0, left, in.bytes());
        break;
    }
    case 9: {
        const int64_t c1 = in.number(tw), l1 = in.number(th), c2 = in.number(tw);
        t_InvertRect(0, c1, l1, c2, in.number(th));
        break;
    }
    case 10: clearorscroll(in); break;
    case 11: cursorpair(in); break;
    case 12: t_FullArea(0); break;
    case 13: t_RedirectOutput(0, in.upto(4)); break;
    case 14: t_PrintChar(0, in.byte()); break;
    case 15: t_PrintControl(0, in.byte()); break;
    case 16: {
        // Long counts would only make the run slow: tabs and spaces stay
        // within a few screens, the extremes test the arithmetic.
        const int64_t column = in.number(3 * tw);
        if (column <= 4 * tw)
            t_PrintTab(0, column, in.byte());
        const int64_t count = in.number(3 * tw);
        if (count <= 4 * tw)
            t_PrintSpc(0, count);
        break;
    }
    default: cursormove(in); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const DiagCapture quiet;
    Input in{data, size};
    // The output pause waits only when keys are queued: keep the queue empty.
    clearkeyqueue();
    const Guarded guarded = setwindow(in);
    checkwindow(guarded);
    while (in.more()) {
        operation(in);
        checkwindow(guarded);
    }
    require(t_KeyEvents.empty(), "no key queued");
    int64_t column = 0;
    int64_t line = 0;
    require(cellsconsistent(0, column, line), "pixels match the text memory");
    return 0;
}
