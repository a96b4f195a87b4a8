// Video memory, window set-up with its messages and block placement, and
// compaction when a window is set up again; on the real desktop, offscreen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/program_thread.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;
using Bounds = std::vector<int64_t>;

const std::string P0 = "t_InitWindow: GraphicWindow #0";
const std::string P2 = "t_InitWindow: GraphicWindow #2";

// A drawable font of 2 x 2 cells, for grids of many cells.
t_Font tinyfont()
{
    t_Font font = emptyfont();
    font.Format = 2;
    font.End = 255;
    font.Width = font.Height = 2;
    font.Data.assign(256 * 2 * 2, 255);
    return font;
}

// The lines of t_InitWindow, without those of threads running beside it.
Lines initlines(const DiagCapture& out)
{
    Lines lines;
    for (const std::string& line : out.lines())
        if (line.rfind("t_InitWindow:", 0) == 0)
            lines.push_back(line);
    return lines;
}

// First and last index of the pixel block, then of the text block.
Bounds bounds(uint8_t window)
{
    const t_Window& w = windowtable[window];
    return {w.MemoryStart, w.MemoryEnd, w.TextMemoryStart, w.TextMemoryEnd};
}

std::vector<uint8_t> bytes(int64_t first, int64_t last)
{
    return std::vector<uint8_t>(videomemory + first, videomemory + last + 1);
}

void init2(int64_t depth, int64_t width, int64_t height, const t_Font& font)
{
    t_InitWindow(2, depth, true, width, height, 0, 0, font, true);
}

// The conversation's own set-up: exactly the window's lines and its blocks
// at the top of memory.
TEST(InitWindow, ProgramCallOnFreshMemory)
{
    DiagCapture out;
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    EXPECT_EQ(initlines(out),
              (Lines{P0 + " Start.",
                     P0 + " = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
                     P0 + " End."}));
    EXPECT_EQ(bounds(0), (Bounds{0xD12000, 0xFFFFFF, 0xD11000, 0xD11FFF}));
}

// Setting window 0 up again frees its blocks and moves window 1's blocks up
// into the gap, contents and all.
TEST(InitWindow, SettingUpAgainMovesTheWindowsBelowUp)
{
    const t_Font font = t_LoadFontResource("MenloBold 16x32.font");
    t_InitWindow(0, 24, true, 64, 64, 0, 0, font, true);
    t_InitWindow(1, 24, true, 32, 32, 0, 0, font, true);
    t_PrintSymbol(1, 'A', 0xF0, 1, 1);
    const std::vector<uint8_t> pixels = bytes(0xFFB000, 0xFFC3FF);
    const std::vector<uint8_t> text = bytes(0xFFA400, 0xFFAFFF);

    DiagCapture out;
    t_InitWindow(0, 24, true, 64, 64, 0, 0, font, true);
    EXPECT_EQ(initlines(out),
              (Lines{P0 + " Start.",
                     P0 + " high memory = $00FFFFFF, graphic block size to delete = $00003000.",
                     P0 + " high memory = $00FFFFFF, text block size to delete = $00000C00.",
                     P0 + " moving graphic block for win #1$00FFB000...00FFC3FF to$00FFEC00...00FFFFFF",
                     P0 + " moving text block for win #1$00FFA400...00FFAFFF to$00FFE000...00FFEBFF",
                     P0 + " = 64 x 64 pixel x 24 bit = 12,00K video-memory = $00FFB000.", P0 + " End."}));
    EXPECT_EQ(bounds(1), (Bounds{0xFFEC00, 0xFFFFFF, 0xFFE000, 0xFFEBFF}));
    EXPECT_EQ(bytes(0xFFEC00, 0xFFFFFF), pixels);
    EXPECT_EQ(bytes(0xFFE000, 0xFFEBFF), text);
    EXPECT_EQ(highmemory, 0xFFA3FF);
}

// Sizes the screen cannot show fall back to it and widths round to whole
// bytes at small depths; the grid form must not overflow.
TEST(InitWindow, CorrectsSizesThatCannotBeShown)
{
    const std::tuple<int64_t, int64_t, int64_t, const char*, int64_t, int64_t> cases[] = {
        {24, 20000, 600, " cannot display 20000 horizontal pixel.", 1280, 600},
        {24, 640, 31, " cannot display 31 vertical pixel.", 640, 800},
        {1, 33, 64, " width with 1 bit depth must be a multiple of 8.", 40, 64},
        {4, 81, 64, " width with 4 bit depth must be a multiple of 4.", 80, 64},
        {4, 82, 64, " width with 4 bit depth must be a multiple of 4.", 80, 64},
        {4, 83, 64, " width with 4 bit depth must be a multiple of 4.", 84, 64},
        {8, 8193, 8192, " cannot display 8193 horizontal pixel.", 1280, 8192},
    };
    for (const auto& [depth, width, height, note, finalwidth, finalheight] : cases) {
        DiagCapture out;
        init2(depth, width, height, emptyfont());
        EXPECT_EQ(std::ranges::count(initlines(out), P2 + note), 1);
        EXPECT_EQ(Bounds({windowtable[2].Width, windowtable[2].Height}), Bounds({finalwidth, finalheight})) << note;
    }
    DiagCapture out;
    t_InitWindow(0, 24, INT64_MAX, INT64_MIN, 0, "MenloBold 16x32.font");
    EXPECT_EQ(initlines(out).at(1), P0 + " cannot display 9223372036854775807 horizontal pixel.");
    EXPECT_EQ(initlines(out).at(2), P0 + " cannot display -9223372036854775808 vertical pixel.");
}

// Refused set-ups print their lines and hold no memory afterwards, also
// when the window was set up before. The last row's blocks each fit alone
// but together would reach below index 0; a text block may end exactly at
// index 0, and then nothing is left.
TEST(InitWindow, RefusalsHoldNoMemory)
{
    init2(8, 64, 64, emptyfont());  // set up, so that the first row releases it
    const std::pair<std::function<void()>, Lines> cases[] = {
        {[] { init2(12, 64, 64, emptyfont()); },
         {P2 + " Start.", P2 + " high memory = $00FFFFFF, graphic block size to delete = $00001000.",
          P2 + " unsupported 12 bit depth."}},
        {[] { t_InitWindow(2, 24, 80, 25, 24, "Nowhere 16x32.font"); },
         {"t_InitWindow: Font 'Nowhere 16x32.font' not found."}},
        {[] { init2(24, 7777, 7777, emptyfont()); },
         {P2 + " Start.", P2 + " has not enough graphic-video-memory (16319K available).",
          "t_InitWindow: Displaying 7777 x 7777 pixel x 24 bit needs 177.192,56K video-memory."}},
        {[] { init2(4, 4096, 4100, tinyfont()); },
         {P2 + " Start.", P2 + " has not enough text-video-memory (16319K available).",
          "t_InitWindow: Displaying 2048 x 2050 characters needs 8.200,00K text-video-memory."}},
    };
    for (const auto& [call, lines] : cases) {
        DiagCapture out;
        call();
        EXPECT_EQ(initlines(out), lines);
        EXPECT_FALSE(windowtable[2].Initialized);
        EXPECT_EQ(highmemory, 0xFFFFFF);
    }
    init2(4, 4096, 4096, tinyfont());
    EXPECT_EQ(bounds(2), (Bounds{0x800000, 0xFFFFFF, 0, 0x7FFFFF}));
    DiagCapture out;
    t_InitWindow(3, 8, true, 32, 32, 0, 0, emptyfont(), true);
    EXPECT_EQ(initlines(out).at(1), "t_InitWindow: GraphicWindow #3 has not enough graphic-video-memory (-64K available).");
}

// Any request, on any window, in any order: every block of a set-up window
// lies inside video memory and above the free part, and no two overlap.
TEST(InitWindow, BlocksNeverLeaveVideoMemory)
{
    const int64_t sizes[] = {INT64_MIN, -1, 0, 31, 32, 33, 81, 640, 1280, 4096, 8192, 8193, INT64_MAX};
    const int64_t depths[] = {1, 4, 8, 16, 24, 32, 12};
    const t_Font fonts[] = {emptyfont(), t_LoadFontResource("MenloBold 16x32.font"), tinyfont()};
    std::mt19937 random(12345);
    const auto pick = [&random](const auto& options) { return options[random() % std::size(options)]; };
    DiagCapture out;
    int setups = 0;
    for (int round = 0; round < 150; ++round) {
        const auto window = static_cast<uint8_t>(random() % 8);
        t_InitWindow(window, pick(depths), true, pick(sizes), pick(sizes), 0, 0, pick(fonts), true);
        setups += windowtable[window].Initialized;
        std::vector<std::pair<int64_t, int64_t>> blocks;
        for (const t_Window& w : windowtable) {
            if (w.Initialized)
                blocks.emplace_back(w.MemoryStart, w.MemoryEnd);
            if (w.Initialized && w.TextMemoryStart >= 0)
                blocks.emplace_back(w.TextMemoryStart, w.TextMemoryEnd);
        }
        std::ranges::sort(blocks);
        for (size_t i = 0; i < blocks.size(); ++i)
            ASSERT_TRUE(blocks[i].first > highmemory && blocks[i].first <= blocks[i].second &&
                        blocks[i].second < videomemorysize && (i == 0 || blocks[i - 1].second < blocks[i].first))
                << "round " << round << ": " << testing::PrintToString(blocks);
        ASSERT_GE(highmemory, -1);
        out.clear();
    }
    EXPECT_GT(setups, 50) << "the rounds filled and compacted memory";
}

}  // namespace
