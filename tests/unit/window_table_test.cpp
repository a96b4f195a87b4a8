#include <gtest/gtest.h>

#include "util/diagnostics.h"
#include "windows/window_table.h"

// Colours 0..15 are opaque; any number beyond them, however large, is
// opaque black rather than a read past the palette.
TEST(Palette, NumbersBelowSixteenGiveTheirOpaqueColour)
{
    const std::pair<unsigned, uint32_t> rows[] = {  // number, 0xRRGGBB
        {0, 0x000000},  {1, 0xFF0000},  {2, 0x000080},  {3, 0xFF00FF},  {4, 0x008000},  {5, 0x545454},
        {6, 0x0000FF},  {7, 0x0080FF},  {8, 0x804000},  {9, 0xFF8000},  {10, 0xA8A8A8}, {11, 0xFF8080},
        {12, 0x00FF00}, {13, 0xFFFF00}, {14, 0x00FFFF}, {15, 0xFFFFFF}, {16, 0x000000}, {0xFFFFFFFF, 0x000000},
    };
    for (const auto& [number, rgb] : rows)
        EXPECT_EQ(palettecolor(number), (t_RGBColor{255, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)}))
            << "colour " << number;
}

// Each guard refuses with its own line: a number past the graphic windows,
// memory not ready, a window not set up, and (text guard) no text memory.
TEST(Guard, RefusesWithTheExactLine)
{
    DiagCapture out;
    memoryready = true;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 8));
    EXPECT_FALSE(textwindowguard("t_Cr", 255));
    memoryready = false;
    windowtable[3].Initialized = true;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 3));
    memoryready = true;
    windowtable[3].Initialized = false;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 3));
    windowtable[3].Initialized = true;
    windowtable[3].TextMemoryStart = -1;
    EXPECT_TRUE(graphicwindowguard("t_Color", 3));
    EXPECT_FALSE(textwindowguard("t_Print", 3));
    windowtable[3].TextMemoryStart = 0x1000;
    EXPECT_TRUE(textwindowguard("t_Print", 3));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{
        "t_ColorBorder: Window is not a graphic window.", "t_Cr: Window is not a graphic window.",
        "t_ColorBorder: Window #3 not initialized.", "t_ColorBorder: Window #3 not initialized.",
        "t_Print: Window #3 not initialized."}));
}
