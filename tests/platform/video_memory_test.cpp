// Video memory, window set-up with its messages and block placement, and
// compaction when a window is set up again; on the real desktop, offscreen.
#include <gtest/gtest.h>

#include <QWidget>
#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/qt/handles.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

const std::string P0 = "t_InitWindow: GraphicWindow #0";
const std::string P2 = "t_InitWindow: GraphicWindow #2";

t_Font boldfont()
{
    return t_LoadFontResource("MenloBold 16x32.font");
}

// A drawable font of tiny cells, for grids of many cells.
t_Font tinyfont(int64_t size)
{
    t_Font font;
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

std::string title(uint8_t window)
{
    return towidget(platformwindow(window))->windowTitle().toStdString();
}

std::vector<uint8_t> bytes(int64_t first, int64_t last)
{
    return std::vector<uint8_t>(videomemory + first, videomemory + last + 1);
}

// ---- The program's own set-up ------------------------------------------------------

TEST(InitWindow, ProgramCallOnFreshMemory)
{
    DiagCapture out;
    ASSERT_TRUE(run_on_program_thread(
        [] { t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font"); }));
    const Lines all = out.lines();
    const auto start = std::find(all.begin(), all.end(), "t_InitMemory: Start.");
    const auto end = std::find(all.begin(), all.end(), "t_InitMemory: End.");
    const auto first = std::find(all.begin(), all.end(), P0 + " Start.");
    ASSERT_NE(first, all.end());
    EXPECT_LT(start, end);
    EXPECT_LT(end, first);
    EXPECT_EQ(initlines(out),
              (Lines{P0 + " Start.",
                     P0 + " = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
                     P0 + " End."}));

    const t_Window& w = windowtable[0];
    EXPECT_TRUE(w.Initialized);
    EXPECT_EQ(w.Width, 1280);
    EXPECT_EQ(w.Height, 800);
    EXPECT_EQ(w.MemoryStart, 0xD12000);
    EXPECT_EQ(w.MemoryEnd, 0xFFFFFF);
    EXPECT_EQ(w.TextMemoryStart, 0xD11000);
    EXPECT_EQ(w.TextMemoryEnd, 0xD11FFF);
    EXPECT_EQ(highmemory, 0xD10FFF);
    EXPECT_EQ(w.TextWidth, 80);
    EXPECT_EQ(w.TextHeight, 25);
    EXPECT_EQ(w.TextColor, 0xC0);
    EXPECT_EQ(w.BorderWidth, 24);
    EXPECT_EQ(w.RGBColorBorder.load(), palettecolor(5));
    EXPECT_EQ(firstwindow, 0);

    // Cleared: black pixels, spaces in green on black (attribute plane at
    // 0xD11800).
    const std::vector<uint8_t> pixels = bytes(0xD12000, 0xD12000 + 3072000 - 1);
    EXPECT_TRUE(std::all_of(pixels.begin(), pixels.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(cell_code(0, 80, 25), 0x20);
    EXPECT_EQ(cell_attribute(0, 1, 1), 0xC0);
    EXPECT_EQ(videomemory[0xD11800], 0xC0);
    EXPECT_EQ(videomemory[0xD11000 + 80 * 25 - 1], 0x20);
    EXPECT_TRUE(pump_until([] { return title(0) == "Sprecho"; }));
}

TEST(InitWindow, PlacementAnswersForTheConversationWindow)
{
    t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
    const int64_t expected[13] = {1, 1, 80, 25, 80, 25, 80, 25,
                                  1280, 800, 1328, 848, 848 + titlebarheight};
    for (int64_t selector = 0; selector <= 12; ++selector)
        EXPECT_EQ(t_WindowPos(0, selector), expected[selector]) << "selector " << selector;
}

// ---- Set-up again ------------------------------------------------------------------

TEST(InitWindow, SettingUpAgainMovesTheWindowsBelowUp)
{
    const t_Font font = boldfont();
    t_InitWindow(0, 24, true, 64, 64, 0, 0, font, true);  // 0xFFD000.., text 0xFFC400..
    t_InitWindow(1, 24, true, 32, 32, 0, 0, font, true);  // 0xFFB000.., text 0xFFA400..
    ASSERT_EQ(windowtable[1].MemoryStart, 0xFFB000);
    ASSERT_EQ(windowtable[1].TextMemoryStart, 0xFFA400);
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
                     P0 + " = 64 x 64 pixel x 24 bit = 12,00K video-memory = $00FFB000.",
                     P0 + " End."}));
    const t_Window& w1 = windowtable[1];
    EXPECT_EQ(w1.MemoryStart, 0xFFEC00);
    EXPECT_EQ(w1.MemoryEnd, 0xFFFFFF);
    EXPECT_EQ(w1.TextMemoryStart, 0xFFE000);
    EXPECT_EQ(w1.TextMemoryEnd, 0xFFEBFF);
    EXPECT_EQ(bytes(0xFFEC00, 0xFFFFFF), pixels);
    EXPECT_EQ(bytes(0xFFE000, 0xFFEBFF), text);
    EXPECT_EQ(screen_line(1, 1), "Az");
    EXPECT_EQ(windowtable[0].TextMemoryStart, 0xFFA400);
    EXPECT_EQ(highmemory, 0xFFA3FF);
    EXPECT_TRUE(windowtable[0].Initialized);
}

TEST(InitWindow, FailedSetUpAgainLeavesTheWindowReleased)
{
    t_InitWindow(0, 8, true, 64, 64, 0, 0, emptyfont(), true);
    DiagCapture out;
    t_InitWindow(0, 12, true, 64, 64, 0, 0, emptyfont(), true);
    EXPECT_EQ(initlines(out),
              (Lines{P0 + " Start.",
                     P0 + " high memory = $00FFFFFF, graphic block size to delete = $00001000.",
                     P0 + " unsupported 12 bit depth."}));
    EXPECT_FALSE(windowtable[0].Initialized);
    EXPECT_EQ(highmemory, 0xFFFFFF);
}

// ---- Checks and failures -------------------------------------------------------------

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
        {8, -3, 9000,
         {" cannot display -3 horizontal pixel.", " cannot display 9000 vertical pixel."}, 1280, 800},
        {4, 81, 64, {" width with 4 bit depth must be a multiple of 4."}, 80, 64},
        {4, 83, 64, {" width with 4 bit depth must be a multiple of 4."}, 84, 64},
        {1, 33, 64, {" width with 1 bit depth must be a multiple of 8."}, 40, 64},
        {1, 9000, 64, {" cannot display 9000 horizontal pixel."}, 1280, 64},
        {32, 8192, 32, {}, 8192, 32},
    };
    for (const Case& c : cases) {
        DiagCapture out;
        t_InitWindow(2, c.depth, true, c.width, c.height, 0, 0, emptyfont(), true);
        Lines notes;
        for (const std::string& line : initlines(out))
            if (line.find("cannot display") != std::string::npos || line.find(" width with") != std::string::npos)
                notes.push_back(line.substr(P2.size()));
        EXPECT_EQ(notes, c.notes) << c.width << " x " << c.height;
        EXPECT_EQ(windowtable[2].Width, c.finalwidth);
        EXPECT_EQ(windowtable[2].Height, c.finalheight);
        EXPECT_TRUE(windowtable[2].Initialized);
    }
}

TEST(InitWindow, RefusesBlocksLargerThanTheFreeMemory)
{
    struct Case {
        int64_t depth, width, height;
        int64_t cell;  // font cell size; 0: no font
        Lines lines;
    };
    const Case cases[] = {
        {32, 8192, 8192, 0,
         {P2 + " Start.", P2 + " has not enough graphic-video-memory (16319K available).",
          "t_InitWindow: Displaying 8192 x 8192 pixel x 32 bit needs 262.144,00K video-memory."}},
        {1, 8192, 8192, 1,
         {P2 + " Start.", P2 + " has not enough text-video-memory (16319K available).",
          "t_InitWindow: Displaying 8192 x 8192 characters needs 131.072,00K text-video-memory."}},
        // Each block fits on its own, but together they would reach below
        // index 0.
        {4, 4096, 4100, 2,
         {P2 + " Start.", P2 + " has not enough text-video-memory (16319K available).",
          "t_InitWindow: Displaying 2048 x 2050 characters needs 8.200,00K text-video-memory."}},
    };
    for (const Case& c : cases) {
        DiagCapture out;
        const t_Font font = c.cell == 0 ? emptyfont() : tinyfont(c.cell);
        t_InitWindow(2, c.depth, true, c.width, c.height, 0, 0, font, true);
        EXPECT_EQ(initlines(out), c.lines);
        EXPECT_FALSE(windowtable[2].Initialized);
        EXPECT_EQ(highmemory, 0xFFFFFF);
    }
}

TEST(InitWindow, TextBlockMayFillTheReserveDownToIndexZero)
{
    t_InitWindow(2, 4, true, 4096, 4096, 0, 0, tinyfont(2), true);
    EXPECT_TRUE(windowtable[2].Initialized);
    EXPECT_EQ(windowtable[2].MemoryStart, 0x800000);
    EXPECT_EQ(windowtable[2].TextMemoryStart, 0);
    EXPECT_EQ(highmemory, -1);
    DiagCapture out;
    t_InitWindow(3, 8, true, 32, 32, 0, 0, emptyfont(), true);
    EXPECT_EQ(initlines(out),
              (Lines{"t_InitWindow: GraphicWindow #3 Start.",
                     "t_InitWindow: GraphicWindow #3 has not enough graphic-video-memory (-64K available).",
                     "t_InitWindow: Displaying 32 x 32 pixel x 8 bit needs 1,00K video-memory."}));
}

TEST(InitWindow, WindowWithoutFontHasNoTextBlock)
{
    t_InitWindow(0, 32, true, 64, 32, 0, 0, emptyfont(), true);
    const t_Window& w = windowtable[0];
    EXPECT_TRUE(w.Initialized);
    EXPECT_EQ(w.TextWidth, -1);
    EXPECT_EQ(w.TextHeight, -1);
    EXPECT_EQ(w.TextMemoryStart, -1);
    EXPECT_EQ(w.TextMemoryEnd, -1);
    EXPECT_EQ(highmemory, w.MemoryStart - 1);
    // 32 bits: opaque black, alpha first.
    EXPECT_EQ(bytes(w.MemoryStart, w.MemoryStart + 7),
              (std::vector<uint8_t>{0xFF, 0, 0, 0, 0xFF, 0, 0, 0}));
    EXPECT_EQ(title(0), "Sprecho-Grafik");
}

TEST(InitWindow, HiddenTitleAndBordersFromTheScreen)
{
    DiagCapture out;
    t_InitWindow(4, 24, false, 320, 200, -1, -1, emptyfont(), false);
    const Lines lines = initlines(out);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "t_InitWindow: GraphicWindow #4 title will be invisible."),
              lines.end());
    const t_Window& w = windowtable[4];
    EXPECT_EQ(w.TitleHeight, 0);
    EXPECT_FALSE(w.AutoUpdate);
    EXPECT_EQ(w.BorderWidth, t_WindowPos(4, 15) - 320);
    EXPECT_EQ(w.BorderHeight, t_WindowPos(4, 16) - 200);
    EXPECT_EQ(t_WindowPos(4, 17), 0);
}

TEST(InitWindow, RefusesWhatIsNoGraphicWindowOrHasNoFont)
{
    DiagCapture out;
    t_InitWindow(8, 24, 80, 25, 24, "MenloBold 16x32.font");
    t_InitWindow(255, 24, true, 640, 480, 0, 0, emptyfont(), true);
    t_InitWindow(1, 24, 80, 25, 24, "Nowhere 16x32.font");
    EXPECT_EQ(initlines(out), (Lines{"t_InitWindow: Window is not a graphic window.",
                                     "t_InitWindow: Window is not a graphic window.",
                                     "t_InitWindow: Font 'Nowhere 16x32.font' not found."}));
    EXPECT_FALSE(windowtable[1].Initialized);
}

TEST(InitWindow, FirstWindowIsTheFirstOneSetUp)
{
    t_InitWindow(3, 8, true, 64, 64, 0, 0, emptyfont(), true);
    t_InitWindow(1, 8, true, 64, 64, 0, 0, emptyfont(), true);
    EXPECT_EQ(firstwindow, 3);
}

// Any request, on any window, in any order: every block of a set-up window
// lies inside video memory and above the free part, and no two overlap.
TEST(InitWindow, BlocksNeverLeaveVideoMemory)
{
    constexpr int64_t big = std::numeric_limits<int64_t>::max();
    constexpr int64_t small = std::numeric_limits<int64_t>::min();
    const int64_t sizes[] = {small, -1, 0, 31, 32, 33, 81, 640, 1280, 4096, 8192, 8193, big};
    const int64_t depths[] = {1, 4, 8, 16, 24, 32, 12};
    const t_Font fonts[] = {emptyfont(), boldfont(), tinyfont(1), tinyfont(2)};
    std::mt19937 random(12345);
    auto pick = [&random](const auto& options) {
        return options[random() % std::size(options)];
    };
    DiagCapture out;
    int setups = 0;
    for (int round = 0; round < 150; ++round) {
        const auto window = static_cast<uint8_t>(random() % 8);
        t_InitWindow(window, pick(depths), true, pick(sizes), pick(sizes), 0, 0, pick(fonts), true);
        setups += windowtable[window].Initialized ? 1 : 0;
        struct Block {
            int64_t first, last;
        };
        std::vector<Block> blocks;
        for (const t_Window& w : windowtable) {
            if (!w.Initialized)
                continue;
            blocks.push_back({w.MemoryStart, w.MemoryEnd});
            if (w.TextMemoryStart >= 0)
                blocks.push_back({w.TextMemoryStart, w.TextMemoryEnd});
        }
        for (const Block& b : blocks) {
            ASSERT_GT(b.first, highmemory) << "round " << round;
            ASSERT_LE(b.first, b.last) << "round " << round;
            ASSERT_LT(b.last, videomemorysize) << "round " << round;
            for (const Block& other : blocks)
                ASSERT_TRUE(&b == &other || b.last < other.first || other.last < b.first)
                    << "round " << round;
        }
        ASSERT_GE(highmemory, -1);
        out.clear();
    }
    EXPECT_GT(setups, 50);  // the rounds did fill and compact memory
}

TEST(InitWindow, ProgramFormSurvivesAbsurdGrids)
{
    DiagCapture out;
    t_InitWindow(0, 24, std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min(), 0,
                 "MenloBold 16x32.font");
    const Lines lines = initlines(out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1], P0 + " cannot display 9223372036854775807 horizontal pixel.");
    EXPECT_EQ(lines[2], P0 + " cannot display -9223372036854775808 vertical pixel.");
    EXPECT_EQ(windowtable[0].Width, 1280);
    EXPECT_EQ(windowtable[0].TextWidth, 80);
}

// ---- Moving bytes and the number forms ---------------------------------------------------

TEST(MoveVideoMemory, CopiesOverlappingRangesBothWays)
{
    for (int i = 0; i < 8; ++i)
        videomemory[100 + i] = static_cast<uint8_t>(i);
    movevideomemory(100, 102, 6);  // up: descending copy
    EXPECT_EQ(bytes(100, 107), (std::vector<uint8_t>{0, 1, 0, 1, 2, 3, 4, 5}));
    movevideomemory(102, 100, 6);  // down: ascending copy
    EXPECT_EQ(bytes(100, 107), (std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 4, 5}));
}

TEST(MoveVideoMemory, IgnoresEmptyAndOutsideRanges)
{
    videomemory[0] = 7;
    videomemory[videomemorysize - 1] = 9;
    movevideomemory(0, 1, 0);
    movevideomemory(0, 1, -5);
    movevideomemory(-1, 0, 2);
    movevideomemory(0, videomemorysize - 1, 2);
    movevideomemory(videomemorysize - 1, 0, 2);
    movevideomemory(0, 1, std::numeric_limits<int64_t>::max());
    EXPECT_EQ(videomemory[1], 0);
    EXPECT_EQ(videomemory[0], 7);
    EXPECT_EQ(videomemory[videomemorysize - 1], 9);
}

TEST(NumberForms, MemoryIndicesAndKilobytes)
{
    EXPECT_EQ(memoryindextext(0xD12000), "$00D12000");
    EXPECT_EQ(memoryindextext(0xFFFFFF), "$00FFFFFF");
    EXPECT_EQ(memoryindextext(-1), "$FFFFFFFF");
    EXPECT_EQ(memoryindextext(0x1ABCDEF12), "$ABCDEF12");
    struct Case {
        int64_t bytes;
        const char* text;
    };
    const Case cases[] = {
        {3000000, "2.929,68"},     {3072000, "3.000,00"}, {0, "0,00"},
        {1023, "0,99"},            {1024, "1,00"},         {1024 * 999, "999,00"},
        {1024 * 1000, "1.000,00"}, {268435456, "262.144,00"},
        {1024LL * 1234567, "1.234.567,00"}, {-2048, "-2,00"}, {-5, "0,00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kilobytetext(c.bytes), c.text) << c.bytes;
}

}  // namespace
