// Video memory, window set-up with its messages and block placement, and
// compaction when a window is set up again; on the real desktop, offscreen.
#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/handles.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;
using Bounds = std::vector<int64_t>;

const std::string P0 = "t_InitWindow: GraphicWindow #0";
const std::string P2 = "t_InitWindow: GraphicWindow #2";

// A drawable font of tiny cells, for grids of many cells.
t_Font tinyfont(int64_t size)
{
    t_Font font = emptyfont();
    font.Format = 2;
    font.End = 255;
    font.Width = size;
    font.Height = size;
    font.Data.assign(static_cast<size_t>(256 * size * size), 255);
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

// The conversation's own set-up: memory first, then exactly the window's
// lines, its blocks at the top of memory, cleared, and the window titled.
TEST(InitWindow, ProgramCallOnFreshMemory)
{
    DiagCapture out;
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    const Lines all = out.lines();
    const auto end = std::find(all.begin(), all.end(), "t_InitMemory: End.");
    EXPECT_LT(std::find(all.begin(), all.end(), "t_InitMemory: Start."), end);
    EXPECT_LT(end, std::find(all.begin(), all.end(), P0 + " Start."));
    EXPECT_EQ(initlines(out),
              (Lines{P0 + " Start.",
                     P0 + " = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
                     P0 + " End."}));
    EXPECT_TRUE(windowtable[0].Initialized);
    EXPECT_EQ(bounds(0), (Bounds{0xD12000, 0xFFFFFF, 0xD11000, 0xD11FFF}));
    EXPECT_EQ(highmemory, 0xD10FFF);
    const std::vector<uint8_t> pixels = bytes(0xD12000, 0xFFFFFF);
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint8_t b) { return b == 0; }));
    // Spaces in green on black; the attribute plane starts half-way.
    EXPECT_EQ(cell_code(0, 80, 25), 0x20);
    EXPECT_EQ(videomemory[0xD11800], 0xC0);
    EXPECT_TRUE(pump_until([] { return towidget(platformwindow(0))->windowTitle() == "Sprecho"; }));
}

// Setting window 0 up again frees its blocks and moves window 1's blocks up
// into the gap, contents and all; the first window stays the first.
TEST(InitWindow, SettingUpAgainMovesTheWindowsBelowUp)
{
    const t_Font font = t_LoadFontResource("MenloBold 16x32.font");
    t_InitWindow(0, 24, true, 64, 64, 0, 0, font, true);
    t_InitWindow(1, 24, true, 32, 32, 0, 0, font, true);
    ASSERT_EQ(bounds(1), (Bounds{0xFFB000, 0xFFC3FF, 0xFFA400, 0xFFAFFF}));
    t_PrintSymbol(1, 'A', 0xF0, 1, 1);
    t_PrintSymbol(1, 'z', 0x1E, 2, 1);
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
    EXPECT_EQ(screen_line(1, 1), "Az");
    EXPECT_EQ(windowtable[0].TextMemoryStart, 0xFFA400);
    EXPECT_EQ(highmemory, 0xFFA3FF);
    EXPECT_EQ(firstwindow, 0);
}

// Sizes the screen cannot show fall back to it and widths round to whole
// bytes at 1 and 4 bits; the grid form must not overflow on absurd grids.
TEST(InitWindow, CorrectsSizesThatCannotBeShown)
{
    struct Case {
        int64_t depth, width, height;
        Lines notes;
        int64_t finalwidth, finalheight;
    };
    const Case cases[] = {
        {24, 20000, 600, {" cannot display 20000 horizontal pixel."}, 1280, 600},
        {24, 640, 31, {" cannot display 31 vertical pixel."}, 640, 800},
        {8, -3, 9000, {" cannot display -3 horizontal pixel.", " cannot display 9000 vertical pixel."}, 1280,
         800},
        {4, 81, 64, {" width with 4 bit depth must be a multiple of 4."}, 80, 64},
        {4, 83, 64, {" width with 4 bit depth must be a multiple of 4."}, 84, 64},
        {1, 33, 64, {" width with 1 bit depth must be a multiple of 8."}, 40, 64},
        {32, 8192, 32, {}, 8192, 32},
    };
    for (const Case& c : cases) {
        DiagCapture out;
        t_InitWindow(2, c.depth, true, c.width, c.height, 0, 0, emptyfont(), true);
        Lines notes;
        for (const std::string& line : initlines(out))
            if (line.find(" cannot ") != std::string::npos || line.find(" width with ") != std::string::npos)
                notes.push_back(line.substr(P2.size()));
        EXPECT_EQ(notes, c.notes) << c.width << " x " << c.height;
        EXPECT_TRUE(windowtable[2].Initialized);
        EXPECT_EQ(windowtable[2].Width, c.finalwidth) << c.width;
        EXPECT_EQ(windowtable[2].Height, c.finalheight) << c.height;
    }
    DiagCapture out;
    t_InitWindow(0, 24, std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min(), 0,
                 "MenloBold 16x32.font");
    const Lines lines = initlines(out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], P0 + " cannot display 9223372036854775807 horizontal pixel.");
    EXPECT_EQ(lines[2], P0 + " cannot display -9223372036854775808 vertical pixel.");
    EXPECT_EQ(windowtable[0].TextWidth, 80);
}

// Refused set-ups print their lines and hold no memory afterwards, also
// when the window was set up before. The last row's blocks each fit alone
// but together would reach below index 0.
TEST(InitWindow, RefusalsHoldNoMemory)
{
    const auto set2 = [](int64_t depth, int64_t width, int64_t height, const t_Font& font) {
        return [=] { t_InitWindow(2, depth, true, width, height, 0, 0, font, true); };
    };
    const std::pair<std::function<void()>, Lines> cases[] = {
        {[] { t_InitWindow(8, 24, 80, 25, 24, "MenloBold 16x32.font"); },
         {"t_InitWindow: Window is not a graphic window."}},
        {set2(8, 64, 64, emptyfont()), {}},  // set up, so that the next row releases it
        {set2(12, 64, 64, emptyfont()),
         {P2 + " Start.", P2 + " high memory = $00FFFFFF, graphic block size to delete = $00001000.",
          P2 + " unsupported 12 bit depth."}},
        {[] { t_InitWindow(2, 24, 80, 25, 24, "Nowhere 16x32.font"); },
         {"t_InitWindow: Font 'Nowhere 16x32.font' not found."}},
        {set2(24, 7777, 7777, emptyfont()),
         {P2 + " Start.", P2 + " has not enough graphic-video-memory (16319K available).",
          "t_InitWindow: Displaying 7777 x 7777 pixel x 24 bit needs 177.192,56K video-memory."}},
        {set2(1, 8192, 8192, tinyfont(1)),
         {P2 + " Start.", P2 + " has not enough text-video-memory (16319K available).",
          "t_InitWindow: Displaying 8192 x 8192 characters needs 131.072,00K text-video-memory."}},
        {set2(4, 4096, 4100, tinyfont(2)),
         {P2 + " Start.", P2 + " has not enough text-video-memory (16319K available).",
          "t_InitWindow: Displaying 2048 x 2050 characters needs 8.200,00K text-video-memory."}},
    };
    for (const auto& [call, lines] : cases) {
        DiagCapture out;
        call();
        if (lines.empty())
            continue;
        EXPECT_EQ(initlines(out), lines);
        EXPECT_FALSE(windowtable[2].Initialized);
        EXPECT_EQ(highmemory, 0xFFFFFF);
    }
}

// The text block may end exactly at index 0; after that nothing is left.
TEST(InitWindow, TextBlockMayFillTheReserveDownToIndexZero)
{
    t_InitWindow(2, 4, true, 4096, 4096, 0, 0, tinyfont(2), true);
    EXPECT_EQ(bounds(2), (Bounds{0x800000, 0xFFFFFF, 0, 0x7FFFFF}));
    EXPECT_EQ(highmemory, -1);
    DiagCapture out;
    t_InitWindow(3, 8, true, 32, 32, 0, 0, emptyfont(), true);
    EXPECT_EQ(initlines(out),
              (Lines{"t_InitWindow: GraphicWindow #3 Start.",
                     "t_InitWindow: GraphicWindow #3 has not enough graphic-video-memory (-64K available).",
                     "t_InitWindow: Displaying 32 x 32 pixel x 8 bit needs 1,00K video-memory."}));
}

// Any request, on any window, in any order: every block of a set-up window
// lies inside video memory and above the free part, and no two overlap.
TEST(InitWindow, BlocksNeverLeaveVideoMemory)
{
    constexpr int64_t big = std::numeric_limits<int64_t>::max();
    constexpr int64_t small = std::numeric_limits<int64_t>::min();
    const int64_t sizes[] = {small, -1, 0, 31, 32, 33, 81, 640, 1280, 4096, 8192, 8193, big};
    const int64_t depths[] = {1, 4, 8, 16, 24, 32, 12};
    const t_Font bold = t_LoadFontResource("MenloBold 16x32.font");
    const t_Font fonts[] = {emptyfont(), bold, tinyfont(1), tinyfont(2)};
    std::mt19937 random(12345);
    auto pick = [&random](const auto& options) { return options[random() % std::size(options)]; };
    DiagCapture out;
    int setups = 0;
    for (int round = 0; round < 150; ++round) {
        const auto window = static_cast<uint8_t>(random() % 8);
        t_InitWindow(window, pick(depths), true, pick(sizes), pick(sizes), 0, 0, pick(fonts), true);
        setups += windowtable[window].Initialized ? 1 : 0;
        std::vector<std::pair<int64_t, int64_t>> blocks;
        for (const t_Window& w : windowtable) {
            if (!w.Initialized)
                continue;
            blocks.emplace_back(w.MemoryStart, w.MemoryEnd);
            if (w.TextMemoryStart >= 0)
                blocks.emplace_back(w.TextMemoryStart, w.TextMemoryEnd);
        }
        std::sort(blocks.begin(), blocks.end());
        for (size_t i = 0; i < blocks.size(); ++i) {
            ASSERT_GT(blocks[i].first, highmemory) << "round " << round;
            ASSERT_LE(blocks[i].first, blocks[i].second) << "round " << round;
            ASSERT_LT(blocks[i].second, videomemorysize) << "round " << round;
            ASSERT_TRUE(i == 0 || blocks[i - 1].second < blocks[i].first) << "overlap in round " << round;
        }
        ASSERT_GE(highmemory, -1);
        out.clear();
    }
    EXPECT_GT(setups, 50);  // the rounds did fill and compact memory
}

}  // namespace
