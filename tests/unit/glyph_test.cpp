#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

// Window 0 laid out by hand: pixel block at `pixels`, text block at `text`,
// every other byte of video memory a guard value that must survive.
constexpr int64_t pixels = 0x1000;
constexpr int64_t text = 0x8000;
constexpr uint8_t guard = 0xA5;

// A font whose glyph of code c has every pixel at coverage `levels[c]`.
t_Font flatfont(int64_t width, int64_t height, const Bytes& levels)
{
    t_Font font;
    font.Format = 2;
    font.End = static_cast<uint8_t>(levels.size() - 1);
    font.Width = width;
    font.Height = height;
    for (uint8_t level : levels)
        font.Data.insert(font.Data.end(), static_cast<size_t>(width * height), level);
    return font;
}

// Guards all of video memory, then makes window 0 `columns` x `lines` cells
// of `font` at `depth` with text planes of exactly columns x lines bytes.
t_Window& setup(int64_t depth, const t_Font& font, int64_t columns, int64_t lines)
{
    std::memset(videomemory, guard, sizeof videomemory);
    memoryready = true;
    t_Window& w = windowtable[0];
    w = t_Window{};
    w.Initialized = true;
    w.BitDepth = depth;
    w.Width = font.Width * columns;
    w.Height = font.Height * lines;
    w.MemoryStart = pixels;
    w.MemoryEnd = pixels + w.Width * w.Height * depth / 8 - 1;
    w.Font = font;
    w.TextWidth = columns;
    w.TextHeight = lines;
    w.TextMemoryStart = text;
    w.TextMemoryEnd = text + columns * lines * 2 - 1;
    return w;
}

Bytes bytes(int64_t start, int64_t count)
{
    return Bytes(videomemory + start, videomemory + start + count);
}

// Bytes that lost the guard value: outside window 0's blocks, or anywhere.
int64_t changed(bool anywhere = false)
{
    const t_Window& w = windowtable[0];
    int64_t count = 0;
    for (int64_t i = 0; i < videomemorysize; ++i) {
        const bool inblock = (i >= w.MemoryStart && i <= w.MemoryEnd) ||
                             (i >= w.TextMemoryStart && i <= w.TextMemoryEnd);
        count += videomemory[i] != guard && (anywhere || !inblock);
    }
    return count;
}

// Expected pixels worked out by hand from the palette. 1 bit: set when
// (R + G + B) / 3 >= 128; 4 bits: greys by channel sum, colours by nearest
// palette entry (ties to the lower number); 8/16 bits: blend of the grey
// levels (R + G + B) / 3 of ink and paper.
TEST(PrintSymbol, BlendsEachDepthAsWorkedOutByHand)
{
    struct Case {
        int64_t depth;
        uint8_t colour;
        uint8_t coverage;
        Bytes pixel;  // the first pixel's bytes (1 and 4 bits: the whole byte)
    };
    const Case cases[] = {
        {1, 0xF0, 128, {0xFF}}, {1, 0xF0, 127, {0x00}},  // white on black: v = g
        {1, 0x10, 255, {0x00}},                          // red: v = 85, never set
        {1, 0xD0, 192, {0xFF}}, {1, 0xD0, 191, {0x00}},  // yellow: v = 2g / 3
        // white on black: channel sums 3g split at 192, 384, 576
        {4, 0xF0, 63, {0x00}}, {4, 0xF0, 64, {0x55}}, {4, 0xF0, 127, {0x55}},
        {4, 0xF0, 128, {0xAA}}, {4, 0xF0, 191, {0xAA}}, {4, 0xF0, 192, {0xFF}},
        {4, 0x1F, 128, {0xBB}},  // red on white: (255, 127, 127) is nearest pink
        {4, 0x1F, 255, {0x11}},
        {4, 0x20, 128, {0x00}},  // (0, 0, 64): black and dark blue tie
        {8, 0xC0, 255, {85}}, {8, 0xC0, 128, {42}}, {8, 0xCF, 128, {169}},
        {16, 0xCF, 128, {guard, 169}},  // the first byte is left alone
        {24, 0x92, 128, {128, 64, 63}},  // orange on dark blue
        {24, 0x92, 255, {255, 128, 0}}, {24, 0x92, 0, {0, 0, 128}},
        {32, 0x92, 128, {guard, 128, 64, 63}},
    };
    DiagCapture out;
    for (const Case& c : cases) {
        setup(c.depth, flatfont(8, 1, {c.coverage}), 1, 1);
        t_PrintSymbol(0, 0, c.colour, 1, 1);
        EXPECT_EQ(bytes(pixels, static_cast<int64_t>(c.pixel.size())), c.pixel)
            << "depth " << c.depth << " colour " << int{c.colour} << " g " << int{c.coverage};
    }
    EXPECT_TRUE(out.lines().empty());
}

// Inverse draws paper as ink and stores the swapped colour byte.
TEST(PrintSymbol, InverseSwapsInkAndPaperAndStoresTheSwappedByte)
{
    t_Window& w = setup(24, flatfont(1, 1, {255, 0}), 2, 1);
    w.TextInverse = true;
    t_PrintSymbol(0, 0, 0xF0, 1, 1);
    t_PrintSymbol(0, 1, 0xF0, 2, 1);
    EXPECT_EQ(bytes(pixels, 6), (Bytes{0, 0, 0, 255, 255, 255}));
    EXPECT_EQ(bytes(text, 4), (Bytes{0, 1, 0x0F, 0x0F}));
}

// At 1 bit two 4-pixel cells share a byte, at 4 bits two 1-pixel cells do.
TEST(PrintSymbol, NeighbouringCellsSharingAByteKeepTheirPixels)
{
    setup(1, flatfont(4, 1, {255}), 2, 1);
    videomemory[pixels] = 0x00;
    t_PrintSymbol(0, 0, 0xF0, 2, 1);
    EXPECT_EQ(videomemory[pixels], 0x0F);

    setup(4, flatfont(1, 1, {255}), 2, 1);
    t_PrintSymbol(0, 0, 0xF0, 1, 1);
    t_PrintSymbol(0, 0, 0x10, 2, 1);
    EXPECT_EQ(videomemory[pixels], 0xF1);
}

// Cells left of, above or beyond the window (also where the index
// arithmetic would overflow) are refused before anything is written.
TEST(PrintSymbol, CellsOutsideTheWindowAreRefusedWithoutWriting)
{
    DiagCapture out;
    t_Window& w = setup(24, flatfont(2, 2, {255}), 3, 2);
    const std::pair<int64_t, int64_t> outside[] = {{4, 1}, {1, 3}, {0, 1}, {1, 0}, {-5, 2},
                                                   {2, -1}, {INT64_MIN, 1}, {INT64_MAX, 1},
                                                   {1, INT64_MAX}};
    for (const auto& [x, y] : outside) {
        out.clear();
        t_PrintSymbol(0, 0, 0xF0, x, y);
        EXPECT_EQ(out.lines(), Lines{"t_PrintSymbol: Window #0 illegal coordinates (x = " +
                                     std::to_string(x) + ", y = " + std::to_string(y) + ")."});
    }
    EXPECT_EQ(changed(true), 0);
    // A font changed after set-up makes the pixels hold more cells than the
    // text planes: those cells are refused too.
    w.Font = flatfont(1, 1, {255});
    out.clear();
    t_PrintSymbol(0, 0, 0xF0, 4, 4);
    EXPECT_EQ(out.lines(), Lines{"t_PrintSymbol: Window #0 illegal coordinates (x = 4, y = 4)."});
    t_PrintSymbol(0, 0, 0xF0, 6, 1);  // still inside both
    EXPECT_EQ(changed(), 0);
}

// Windows it cannot draw into print their line and write nothing; fonts and
// records it cannot draw from still record the cell but keep the pixels.
TEST(PrintSymbol, RefusalsKeepThePixelsAndStayInsideTheBlocks)
{
    const std::string grey = "t_PrintSymbol: Font format must be uncompressed grey for text-printing.";
    const std::string notset = "t_PrintSymbol: Window #0 not initialized.";
    struct Case {
        const char* what;
        std::function<void(t_Window&)> damage;
        uint8_t window;
        Lines lines;
        bool recorded;
    };
    const Case cases[] = {
        {"number 8", [](t_Window&) {}, 8, {"t_PrintSymbol: Window is not a graphic window."}, false},
        {"never set up", [](t_Window&) {}, 3, {"t_PrintSymbol: Window #3 not initialized."}, false},
        {"no text memory", [](t_Window& w) { w.TextMemoryStart = -1; }, 0, {notset}, false},
        {"no glyphs", [](t_Window& w) { w.Font.Data.clear(); }, 0, {notset}, false},
        {"memory not ready", [](t_Window&) { memoryready = false; }, 0, {notset}, false},
        {"compressed format", [](t_Window& w) { w.Font.Format = 102; }, 0, {grey}, true},
        {"format 0", [](t_Window& w) { w.Font.Format = 0; }, 0, {grey}, true},
        {"format 7", [](t_Window& w) { w.Font.Format = 7; }, 0, {"t_PrintSymbol: Illegal font format."},
         true},
        {"code beyond the font", [](t_Window& w) { w.Font.End = 0; }, 0, {}, true},
        {"glyph cut short", [](t_Window& w) { w.Font.Data.resize(1); }, 0, {}, true},
        {"block smaller than its pixels", [](t_Window& w) { w.Width = 2; }, 0, {}, true},
        {"depth 2", [](t_Window& w) { w.BitDepth = 2; }, 0, {}, true},
    };
    for (const Case& c : cases) {
        c.damage(setup(8, flatfont(1, 1, {255, 255}), 1, 1));
        DiagCapture out;
        t_PrintSymbol(c.window, 1, 0xF0, 1, 1);
        EXPECT_EQ(out.lines(), c.lines) << c.what;
        EXPECT_EQ(videomemory[pixels], guard) << c.what;
        EXPECT_EQ(bytes(text, 2), c.recorded ? Bytes({1, 0xF0}) : Bytes({guard, guard})) << c.what;
        EXPECT_EQ(changed(), 0) << c.what;
    }
}

// Output sent to standard output (2) prints the character as UTF-8, also
// for a window not set up; dropped output (any other mode) prints nothing.
// Neither draws.
TEST(PrintSymbol, RedirectionWritesTheCharacterAndDrawsNothing)
{
    t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
    DiagCapture out;
    w.TextRedirectOutput = 2;
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    t_PrintSymbol(0, 0xE4, 0xF0, 1, 1);
    w.Initialized = false;
    t_PrintSymbol(0, 66, 0xF0, 1, 1);
    for (int64_t mode : {0, 3, -1}) {
        w.TextRedirectOutput = mode;
        for (bool initialized : {true, false}) {
            w.Initialized = initialized;
            t_PrintSymbol(0, 67, 0xF0, 1, 1);
        }
    }
    EXPECT_EQ(out.text(), "A\xC3\xA4" "B");
    EXPECT_EQ(changed(true), 0);
}

}  // namespace
