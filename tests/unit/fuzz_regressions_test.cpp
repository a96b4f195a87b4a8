// Program-supplied numbers out of range: inputs the fuzz targets found
// faults with, replayed as the calls they decode to (each was arithmetic on
// an Int that overflowed and in practice wrapped around), then the window
// table's palette and guards.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

// Window 0: 10 x 4 cells of an 8 x 2 font at 24 bits.
TEST(FuzzRegression, OutOfRangeNumbersDoNotWrapAroundAndGuardsRefuse)
{
    sethandwindow({.width = 80, .height = 8}, handfont(8, 2));
    DiagCapture out;
    // column - TextHpos wrapped to a count near 2^63: the tab printed for
    // ever. At or left of the cursor nothing prints, right of it still does.
    t_Htab(0, 3);
    const std::vector<uint8_t> pixels = pixelblock(0), text = textblock(0);
    for (const int64_t column : {INT64_MIN, -1L, 3L}) {
        t_PrintTab(0, column, 'x');
        EXPECT_EQ(windowtable[0].TextHpos, 3) << column;
    }
    EXPECT_TRUE(pixelblock(0) == pixels && textblock(0) == text);
    t_PrintTab(0, 6, 'x');
    EXPECT_EQ(windowtable[0].TextHpos, 6);
    // colour * 16 overflowed beyond 2^59; the ink is still the colour's low
    // four bits and the paper stays.
    const std::pair<int64_t, uint8_t> colours[] = {{INT64_MAX - 1, 14}, {INT64_MIN + 3, 3}, {int64_t{1} << 60, 0},
                                                   {-1, 15}};
    for (const auto& [colour, ink] : colours) {
        windowtable[0].TextColor = 0x5A;
        t_Color(0, colour);
        EXPECT_EQ(windowtable[0].TextColor, ink << 4 | 0x0A) << colour;
        EXPECT_TRUE(windowtable[0].RGBColor.load() == palettecolor(ink)) << colour;
    }
    // TextFirstColumn + column - 1 overflowed near 2^63 and could wrap to a
    // column inside the window.
    t_Area(0, 2, 1, 9, 4);
    t_Htab(0, 4);
    for (const int64_t column : {INT64_MAX, 10L, INT64_MIN}) {
        t_Htab(0, column);
        EXPECT_EQ(windowtable[0].TextHpos, 5) << column;
    }
    t_Htab(0, 9);
    EXPECT_EQ(windowtable[0].TextHpos, 10) << "the window's last column";
    EXPECT_TRUE(out.lines().empty());
    // Colours 0..15 are opaque; any number beyond them, however large, is
    // opaque black rather than a read past the palette.
    for (const auto& [number, rgb] : {std::pair<unsigned, uint32_t>{0, 0}, {2, 0x000080}, {7, 0x0080FF}, {8, 0x804000},
                                      {15, 0xFFFFFF}, {16, 0}, {0xFFFFFFFF, 0}})
        EXPECT_EQ(palettecolor(number), (t_RGBColor{255, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)}))
            << number;
    // Each guard refuses with its own line: a number past the graphic windows,
    // memory not ready, a window not set up, and (text guard) no text memory.
    memoryready = true;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 8) || textwindowguard("t_Cr", 255));
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
