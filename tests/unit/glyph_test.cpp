#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

// A window laid out by hand: pixel block at `pixels`, text block at `text`,
// every other byte of video memory a guard value that must survive.
constexpr int64_t pixels = 0x1000;
constexpr int64_t text = 0x8000;
constexpr uint8_t guard = 0xA5;

// A font whose glyph of code c has every pixel at coverage `levels[c]`.
t_Font flatfont(int64_t width, int64_t height, const std::vector<uint8_t>& levels)
{
    t_Font font;
    font.Format = 2;
    font.Start = 0;
    font.End = static_cast<uint8_t>(levels.size() - 1);
    font.Width = width;
    font.Height = height;
    for (uint8_t level : levels)
        font.Data.insert(font.Data.end(), static_cast<size_t>(width * height), level);
    return font;
}

class PrintSymbol : public ::testing::Test {
protected:
    void SetUp() override { std::memset(videomemory, guard, sizeof videomemory); }

    // Window 0: `columns` x `lines` cells of `font` at `depth`; the text
    // block has exactly two planes of columns x lines bytes.
    t_Window& setup(int64_t depth, const t_Font& font, int64_t columns, int64_t lines)
    {
        memoryready = true;
        t_Window& w = windowtable[0];
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

    // Bytes outside both blocks that differ from the guard value.
    static int64_t strays(const t_Window& w)
    {
        int64_t count = 0;
        for (int64_t i = 0; i < videomemorysize; ++i) {
            const bool inpixels = i >= w.MemoryStart && i <= w.MemoryEnd;
            const bool intext = i >= w.TextMemoryStart && i <= w.TextMemoryEnd;
            if (!inpixels && !intext && videomemory[i] != guard)
                ++count;
        }
        return count;
    }

    static std::vector<uint8_t> bytes(int64_t start, int64_t count)
    {
        return std::vector<uint8_t>(videomemory + start, videomemory + start + count);
    }

    DiagCapture out;
};

struct BlendCase {
    int64_t depth;
    uint8_t colour;
    uint8_t coverage;
    std::vector<uint8_t> pixel;  // the bytes of the first pixel (1 and 4 bits: the whole byte)
};

// Expected values worked out by hand from the palette:
// 1 bit: v = (mR + mG + mB) / 3, set from 128 on.
// 4 bits: greys by channel sum, colours by nearest palette entry.
// 8/16 bits: blend of the grey levels (R + G + B) / 3 of ink and paper.
TEST_F(PrintSymbol, BlendsEachDepthAsWorkedOutByHand)
{
    const BlendCase cases[] = {
        // white on black: v = g
        {1, 0xF0, 128, {0xFF}},
        {1, 0xF0, 127, {0x00}},
        // red on black: v = 255 / 3 = 85, never set
        {1, 0x10, 255, {0x00}},
        // yellow on black: v = 2g / 3, so 192 -> 128 is set, 191 -> 127 is not
        {1, 0xD0, 192, {0xFF}},
        {1, 0xD0, 191, {0x00}},
        // white on black at 4 bits: channel sums 3g split at 192, 384, 576
        {4, 0xF0, 63, {0x00}},
        {4, 0xF0, 64, {0x55}},
        {4, 0xF0, 127, {0x55}},
        {4, 0xF0, 128, {0xAA}},
        {4, 0xF0, 191, {0xAA}},
        {4, 0xF0, 192, {0xFF}},
        // red on white: (255, 127, 127) is nearest to pink 11
        {4, 0x1F, 128, {0xBB}},
        {4, 0x1F, 255, {0x11}},
        // dark blue on black: (0, 0, 64) is as near to black as to dark blue;
        // the lower number wins
        {4, 0x20, 128, {0x00}},
        // green on black: grey 85 -> 128 * 85 / 255 = 42; on white: 42 + 127
        {8, 0xC0, 255, {85}},
        {8, 0xC0, 128, {42}},
        {8, 0xCF, 128, {169}},
        // 16 bits: the grey in the second byte, the first untouched
        {16, 0xCF, 128, {guard, 169}},
        // orange on dark blue: (128, 64, 0 + 63)
        {24, 0x92, 128, {128, 64, 63}},
        {24, 0x92, 255, {255, 128, 0}},
        {24, 0x92, 0, {0, 0, 128}},
        {32, 0x92, 128, {guard, 128, 64, 63}},
    };
    for (const BlendCase& c : cases) {
        SetUp();
        setup(c.depth, flatfont(8, 1, {c.coverage}), 1, 1);
        t_PrintSymbol(0, 0, c.colour, 1, 1);
        EXPECT_EQ(bytes(pixels, static_cast<int64_t>(c.pixel.size())), c.pixel)
            << "depth " << c.depth << " colour " << int{c.colour} << " g " << int{c.coverage};
    }
    EXPECT_TRUE(out.lines().empty());
}

// Every colour byte, twice over, so that remembered blends of earlier
// colours are reused and replaced: full coverage is the ink, none the paper.
TEST_F(PrintSymbol, EveryColourByteDrawsItsInkAndPaper)
{
    setup(24, flatfont(1, 1, {255, 0}), 2, 1);
    for (int pass = 0; pass < 2; ++pass) {
        for (int colour = 0; colour < 256; ++colour) {
            t_PrintSymbol(0, 0, static_cast<uint8_t>(colour), 1, 1);
            t_PrintSymbol(0, 1, static_cast<uint8_t>(colour), 2, 1);
            const t_RGBColor ink = palettecolor(colour >> 4), paper = palettecolor(colour & 15);
            ASSERT_EQ(bytes(pixels, 6), (std::vector<uint8_t>{ink.Red, ink.Green, ink.Blue,
                                                               paper.Red, paper.Green, paper.Blue}))
                << "colour " << colour << " pass " << pass;
        }
    }
}

TEST_F(PrintSymbol, FourBitGreyGlyphsUseOnlyThePaletteGreys)
{
    std::vector<uint8_t> levels(256);
    for (int g = 0; g < 256; ++g)
        levels[g] = static_cast<uint8_t>(g);
    const t_Window& w = setup(4, flatfont(2, 1, levels), 1, 1);
    for (int code = 0; code < 256; ++code) {
        t_PrintSymbol(0, static_cast<uint8_t>(code), 0xF0, 1, 1);
        const uint8_t nibble = videomemory[w.MemoryStart] & 0x0F;
        EXPECT_TRUE(nibble == 0 || nibble == 5 || nibble == 10 || nibble == 15) << code;
    }
}

TEST_F(PrintSymbol, RecordsCodeAndDrawnColoursInTextMemory)
{
    const t_Window& w = setup(24, flatfont(2, 2, {0, 255}), 3, 2);
    t_PrintSymbol(0, 1, 0xC0, 2, 2);  // cell index (2 - 1) * 3 + (2 - 1) = 4
    EXPECT_EQ(videomemory[w.TextMemoryStart + 4], 1);
    EXPECT_EQ(videomemory[w.TextMemoryStart + 6 + 4], 0xC0);
    EXPECT_EQ(strays(w), 0);
}

TEST_F(PrintSymbol, InverseSwapsInkAndPaperAndStoresTheSwappedByte)
{
    t_Window& w = setup(24, flatfont(1, 1, {255, 0}), 2, 1);
    w.TextInverse = true;
    t_PrintSymbol(0, 0, 0xF0, 1, 1);  // full coverage: the ink, now black
    t_PrintSymbol(0, 1, 0xF0, 2, 1);  // no coverage: the paper, now white
    EXPECT_EQ(bytes(pixels, 6), (std::vector<uint8_t>{0, 0, 0, 255, 255, 255}));
    EXPECT_EQ(videomemory[w.TextMemoryStart + 2], 0x0F);
    EXPECT_EQ(videomemory[w.TextMemoryStart + 3], 0x0F);
}

TEST_F(PrintSymbol, CodesWithoutGlyphKeepPixelsButAreRecorded)
{
    t_Font font = flatfont(1, 1, {255, 255, 255, 255});
    font.Start = 2;
    font.End = 2;
    const t_Window& w = setup(8, font, 1, 1);
    for (uint8_t code : {1, 3}) {
        t_PrintSymbol(0, code, 0xF0, 1, 1);
        EXPECT_EQ(videomemory[pixels], guard);
        EXPECT_EQ(videomemory[w.TextMemoryStart], code);
        EXPECT_EQ(videomemory[w.TextMemoryStart + 1], 0xF0);
    }
}

TEST_F(PrintSymbol, NeighbouringCellsSharingAByteKeepTheirPixels)
{
    // 4-pixel cells: at 1 bit two cells share a byte, at 4 bits cells of
    // 1 pixel share one.
    setup(1, flatfont(4, 1, {255}), 2, 1);
    videomemory[pixels] = 0x00;
    t_PrintSymbol(0, 0, 0xF0, 2, 1);
    EXPECT_EQ(videomemory[pixels], 0x0F);

    setup(4, flatfont(1, 1, {255}), 2, 1);
    videomemory[pixels] = 0x00;
    t_PrintSymbol(0, 0, 0xF0, 1, 1);
    EXPECT_EQ(videomemory[pixels], 0xF0);
    t_PrintSymbol(0, 0, 0x10, 2, 1);
    EXPECT_EQ(videomemory[pixels], 0xF1);
}

TEST_F(PrintSymbol, CellsOutsideTheWindowAreRefusedWithoutWriting)
{
    const t_Window& w = setup(24, flatfont(2, 2, {255}), 3, 2);
    struct Cell {
        int64_t x, y;
    };
    const Cell outside[] = {{4, 1}, {1, 3}, {0, 1}, {1, 0}, {-5, 2}, {2, -1},
                            {INT64_MIN, 1}, {INT64_MAX, 1}, {1, INT64_MAX}};
    for (const Cell& c : outside) {
        out.clear();
        t_PrintSymbol(0, 0, 0xF0, c.x, c.y);
        EXPECT_EQ(out.lines(), (std::vector<std::string>{
                                   "t_PrintSymbol: Window #0 illegal coordinates (x = " +
                                   std::to_string(c.x) + ", y = " + std::to_string(c.y) + ")."}));
    }
    // Nothing inside either block was touched either.
    for (int64_t i = 0; i < videomemorysize; ++i)
        ASSERT_EQ(videomemory[i], guard) << i;
    out.clear();
    t_PrintSymbol(0, 0, 0xF0, 3, 2);  // the last whole cell
    EXPECT_TRUE(out.lines().empty());
    EXPECT_EQ(strays(w), 0);
}

TEST_F(PrintSymbol, StaysInsideTheTextPlanesWhenTheGridIsSmallerThanThePixels)
{
    // A font changed after set-up can make the pixel area hold more cells
    // than the text planes: those cells are refused.
    t_Window& w = setup(8, flatfont(2, 2, {255}), 2, 2);
    w.Font = flatfont(1, 1, {255});
    t_PrintSymbol(0, 0, 0xF0, 4, 4);
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "t_PrintSymbol: Window #0 illegal coordinates (x = 4, y = 4)."}));
    EXPECT_EQ(strays(w), 0);
}

TEST_F(PrintSymbol, DamagedFontsAndRecordsDrawNothingOutsideTheirBlocks)
{
    t_Window& w = setup(24, flatfont(2, 2, {255, 255}), 2, 1);
    w.Font.Data.resize(5);  // glyph 1 is cut short
    t_PrintSymbol(0, 1, 0xF0, 1, 1);
    EXPECT_EQ(videomemory[pixels], guard);
    w.Font = flatfont(2, 2, {255});
    w.MemoryEnd = w.MemoryStart + 2;  // block smaller than its pixels
    t_PrintSymbol(0, 0, 0xF0, 1, 1);
    EXPECT_EQ(videomemory[pixels], guard);
    EXPECT_EQ(videomemory[w.TextMemoryStart], 0);  // still recorded
    EXPECT_EQ(strays(w), 0);
}

TEST_F(PrintSymbol, FontsThatAreNotGreyRecordTheCellWithALine)
{
    struct FormatCase {
        int64_t format;
        const char* line;
    };
    const FormatCase cases[] = {
        {0, "t_PrintSymbol: Font format must be uncompressed grey for text-printing."},
        {100, "t_PrintSymbol: Font format must be uncompressed grey for text-printing."},
        {102, "t_PrintSymbol: Font format must be uncompressed grey for text-printing."},
        {7, "t_PrintSymbol: Illegal font format."},
    };
    for (const FormatCase& c : cases) {
        t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
        w.Font.Format = c.format;
        videomemory[w.TextMemoryStart] = 0x41;
        out.clear();
        t_PrintSymbol(0, 0, 0xF0, 1, 1);
        EXPECT_EQ(out.lines(), (std::vector<std::string>{c.line}));
        EXPECT_EQ(videomemory[pixels], guard);
        EXPECT_EQ(videomemory[w.TextMemoryStart], 0);
    }
}

TEST_F(PrintSymbol, UnsupportedDepthRecordsTextButDrawsNoPixels)
{
    const t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
    windowtable[0].BitDepth = 2;
    t_PrintSymbol(0, 0x41, 0xF0, 1, 1);
    EXPECT_EQ(videomemory[pixels], guard);
    EXPECT_EQ(videomemory[w.TextMemoryStart], 0x41);
    EXPECT_TRUE(out.lines().empty());
}

TEST_F(PrintSymbol, RedirectionWritesTheCharacterAndDrawsNothing)
{
    t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
    w.TextRedirectOutput = 2;
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    t_PrintSymbol(0, 0xE4, 0xF0, 1, 1);
    w.Initialized = false;  // also when the window is not set up
    t_PrintSymbol(0, 66, 0xF0, 1, 1);
    EXPECT_EQ(out.text(), "A\xC3\xA4" "B");
    for (int64_t i = 0; i < videomemorysize; ++i)
        ASSERT_EQ(videomemory[i], guard) << i;
}

TEST_F(PrintSymbol, OtherRedirectionsAreSilent)
{
    t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
    for (int64_t mode : {0, 3, -1}) {
        w.TextRedirectOutput = mode;
        w.Initialized = true;
        t_PrintSymbol(0, 65, 0xF0, 1, 1);
        w.Initialized = false;
        t_PrintSymbol(0, 65, 0xF0, 1, 1);
    }
    EXPECT_EQ(out.text(), "");
    EXPECT_EQ(videomemory[pixels], guard);
    EXPECT_EQ(videomemory[text], guard);
}

TEST_F(PrintSymbol, RefusesWindowsItCannotDrawInto)
{
    t_Window& w = setup(8, flatfont(1, 1, {255}), 1, 1);
    t_PrintSymbol(8, 65, 0xF0, 1, 1);
    t_PrintSymbol(3, 65, 0xF0, 1, 1);  // never set up
    w.TextMemoryStart = -1;            // no text memory
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    w.TextMemoryStart = text;
    w.Font.Data.clear();  // no glyphs
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    w.Font = flatfont(1, 1, {255});
    memoryready = false;
    t_PrintSymbol(0, 65, 0xF0, 1, 1);
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
                               "t_PrintSymbol: Window is not a graphic window.",
                               "t_PrintSymbol: Window #3 not initialized.",
                               "t_PrintSymbol: Window #0 not initialized.",
                               "t_PrintSymbol: Window #0 not initialized.",
                               "t_PrintSymbol: Window #0 not initialized.",
                           }));
    for (int64_t i = 0; i < videomemorysize; ++i)
        ASSERT_EQ(videomemory[i], guard) << i;
}

}  // namespace
