#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "hand_window.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

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

// Window 0 of columns x lines cells with text planes of exactly that size;
// every byte of video memory outside its blocks holds `guard`.
t_Window& setup(int64_t depth, const t_Font& font, int64_t columns, int64_t lines)
{
    std::memset(videomemory, guard, sizeof videomemory);
    sethandwindow({.depth = depth, .width = font.Width * columns, .height = font.Height * lines, .padded = false},
                  font);
    return windowtable[0];
}

Bytes bytes(int64_t start, int64_t count)
{
    return Bytes(videomemory + start, videomemory + start + count);
}

// Bytes outside window 0's blocks that lost the guard value.
int64_t changed()
{
    const t_Window& w = windowtable[0];
    int64_t count = 0;
    for (int64_t i = 0; i < videomemorysize; ++i)
        count += videomemory[i] != guard && (i < w.MemoryStart || i > w.MemoryEnd) &&
                 (i < w.TextMemoryStart || i > w.TextMemoryEnd);
    return count;
}

// Expected pixels worked out by hand from the palette. 1 bit: set when
// (R + G + B) / 3 >= 128; 4 bits: greys by channel sum, colours by nearest
// palette entry (ties to the lower number); 8/16 bits: blend of the grey
// levels of ink and paper; 16 and 32 bits leave the first byte alone.
TEST(PrintSymbol, BlendsEachDepthAsWorkedOutByHand)
{
    // Depth, colour, coverage, the first pixel's bytes (1 and 4 bits: the whole byte).
    const std::tuple<int64_t, uint8_t, uint8_t, Bytes> cases[] = {
        {1, 0xF0, 128, {0xFF}}, {1, 0xF0, 127, {0x00}}, {1, 0x10, 255, {0x00}}, {1, 0xD0, 191, {0x00}},
        {4, 0xF0, 63, {0x00}}, {4, 0xF0, 64, {0x55}}, {4, 0xF0, 128, {0xAA}}, {4, 0xF0, 192, {0xFF}},
        {4, 0x1F, 128, {0xBB}}, {4, 0x20, 128, {0x00}},  // nearest pink; black and dark blue tie
        {8, 0xC0, 255, {85}}, {8, 0xCF, 128, {169}}, {16, 0xCF, 128, {0, 169}},
        {24, 0x92, 128, {128, 64, 63}}, {24, 0x92, 0, {0, 0, 128}}, {32, 0x92, 128, {0xFF, 128, 64, 63}},
    };
    DiagCapture out;
    for (const auto& [depth, colour, coverage, pixel] : cases) {
        const t_Window& w = setup(depth, flatfont(8, 1, {coverage}), 1, 1);
        t_PrintSymbol(0, 0, colour, 1, 1);
        EXPECT_EQ(bytes(w.MemoryStart, static_cast<int64_t>(pixel.size())), pixel)
            << "depth " << depth << " colour " << int{colour} << " g " << int{coverage};
    }
    EXPECT_TRUE(out.lines().empty());
}

// At 1 bit two 4-pixel cells share a byte, at 4 bits two 1-pixel cells do.
TEST(PrintSymbol, NeighbouringCellsSharingAByteKeepTheirPixels)
{
    const int64_t bit = setup(1, flatfont(4, 1, {255}), 2, 1).MemoryStart;
    t_PrintSymbol(0, 0, 0xF0, 2, 1);
    EXPECT_EQ(videomemory[bit], 0x0F);
    const int64_t nibble = setup(4, flatfont(1, 1, {255}), 2, 1).MemoryStart;
    t_PrintSymbol(0, 0, 0xF0, 1, 1);
    t_PrintSymbol(0, 0, 0x10, 2, 1);
    EXPECT_EQ(videomemory[nibble], 0xF1);
}

// Cells left of, above or beyond the window (also where the index
// arithmetic would overflow) are refused before anything is written.
TEST(PrintSymbol, CellsOutsideTheWindowAreRefusedWithoutWriting)
{
    DiagCapture out;
    t_Window& w = setup(24, flatfont(2, 2, {255}), 3, 2);
    const Bytes pixels = pixelblock(0), text = textblock(0);
    const std::pair<int64_t, int64_t> outside[] = {{4, 1}, {1, 3}, {0, 1}, {1, 0}, {-5, 2},
                                                   {INT64_MIN, 1}, {INT64_MAX, 1}, {1, INT64_MAX}};
    for (const auto& [x, y] : outside) {
        out.clear();
        t_PrintSymbol(0, 0, 0xF0, x, y);
        EXPECT_EQ(out.lines(), Lines{"t_PrintSymbol: Window #0 illegal coordinates (x = " +
                                     std::to_string(x) + ", y = " + std::to_string(y) + ")."});
    }
    EXPECT_TRUE(pixelblock(0) == pixels && textblock(0) == text);
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
    // What is wrong, the damage, the window number, the lines, whether the cell is recorded.
    const std::tuple<const char*, std::function<void(t_Window&)>, uint8_t, Lines, bool> cases[] = {
        {"number 8", [](t_Window&) {}, 8, {"t_PrintSymbol: Window is not a graphic window."}, false},
        {"never set up", [](t_Window&) {}, 3, {"t_PrintSymbol: Window #3 not initialized."}, false},
        {"no text memory", [](t_Window& w) { w.TextMemoryStart = -1; }, 0, {notset}, false},
        {"no glyphs", [](t_Window& w) { w.Font.Data.clear(); }, 0, {notset}, false},
        {"compressed format", [](t_Window& w) { w.Font.Format = 102; }, 0, {grey}, true},
        {"format 7", [](t_Window& w) { w.Font.Format = 7; }, 0, {"t_PrintSymbol: Illegal font format."}, true},
        {"code beyond the font", [](t_Window& w) { w.Font.End = 0; }, 0, {}, true},
        {"glyph cut short", [](t_Window& w) { w.Font.Data.resize(1); }, 0, {}, true},
        {"block smaller than its pixels", [](t_Window& w) { w.Width = 2; }, 0, {}, true},
        {"depth 2", [](t_Window& w) { w.BitDepth = 2; }, 0, {}, true},
    };
    for (const auto& [what, damage, window, lines, recorded] : cases) {
        t_Window& w = setup(8, flatfont(1, 1, {255, 255}), 1, 1);
        const int64_t pixel = w.MemoryStart, text = w.TextMemoryStart;
        damage(w);
        DiagCapture out;
        t_PrintSymbol(window, 1, 0xF0, 1, 1);
        EXPECT_EQ(out.lines(), lines) << what;
        EXPECT_EQ(videomemory[pixel], 0) << what;
        EXPECT_EQ(bytes(text, 2), recorded ? Bytes({1, 0xF0}) : Bytes({32, 0xC0})) << what;
        EXPECT_EQ(changed(), 0) << what;
    }
}

// Output sent to standard output (2) prints the character as UTF-8, also
// for a window not set up; any other mode prints nothing. Neither draws.
TEST(PrintSymbol, RedirectionWritesTheCharacterAndDrawsNothing)
{
    t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
    const Bytes pixels = pixelblock(0), text = textblock(0);
    DiagCapture out;
    for (const int64_t mode : {2, 0, -1}) {
        w.TextRedirectOutput = mode;
        for (const bool initialized : {true, false}) {
            w.Initialized = initialized;
            t_PrintSymbol(0, initialized ? 0xE4 : 66, 0xF0, 1, 1);
        }
    }
    EXPECT_EQ(out.text(), "\xC3\xA4" "B");
    w.Initialized = true;
    EXPECT_TRUE(pixelblock(0) == pixels && textblock(0) == text);
    EXPECT_EQ(changed(), 0);
}

}  // namespace
