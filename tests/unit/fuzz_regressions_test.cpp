// Inputs the fuzz targets found faults with, replayed as the calls they
// decode to. Each fault was arithmetic on a program-supplied Int that
// overflowed: undefined behaviour that in practice wrapped around.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "windows/window_table.h"

namespace {

// Window 0: 10 x 4 cells of an 8 x 2 font at 24 bits.
class FuzzRegression : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const t_Font font = handfont(8, 2);
        sethandwindow({.width = 80, .height = 8}, font);
    }
    DiagCapture out;
};

// column - TextHpos wrapped to a count near 2^63: the tab printed for ever.
// Columns at or left of the cursor print nothing, one to the right still does.
TEST_F(FuzzRegression, PrintTabToAFarColumnLeftOfTheCursorPrintsNothing)
{
    t_Htab(0, 3);
    const std::vector<uint8_t> pixels = pixelblock(0), text = textblock(0);
    for (const int64_t column : {INT64_MIN, INT64_MIN + 1, -1L, 0L, 3L}) {
        t_PrintTab(0, column, 'x');
        EXPECT_EQ(windowtable[0].TextHpos, 3) << column;
    }
    EXPECT_EQ(pixelblock(0), pixels);
    EXPECT_EQ(textblock(0), text);
    t_PrintTab(0, 6, 'x');
    EXPECT_EQ(windowtable[0].TextHpos, 6);
    EXPECT_TRUE(out.lines().empty());
}

// colour * 16 overflowed for colours beyond 2^59; the ink is still the
// colour's low four bits and the paper stays.
TEST_F(FuzzRegression, ColourOfAnySizeSetsItsLowFourBitsAsInk)
{
    const std::pair<int64_t, uint8_t> cases[] = {
        {INT64_MAX, 15}, {INT64_MAX - 1, 14}, {INT64_MIN, 0}, {INT64_MIN + 3, 3}, {int64_t{1} << 60, 0}, {-1, 15},
    };
    for (const auto& [colour, ink] : cases) {
        windowtable[0].TextColor = 0x5A;
        t_Color(0, colour);
        EXPECT_EQ(windowtable[0].TextColor, ink << 4 | 0x0A) << colour;
        EXPECT_TRUE(windowtable[0].RGBColor.load() == palettecolor(ink)) << colour;
    }
}

// TextFirstColumn + column - 1 overflowed for columns near 2^63 and could
// wrap to a column inside the window.
TEST_F(FuzzRegression, TabBeyondTheWindowLeavesTheCursor)
{
    t_Area(0, 2, 1, 9, 4);
    t_Htab(0, 4);
    for (const int64_t column : {INT64_MAX, INT64_MAX - 1, 10L, INT64_MIN}) {
        t_Htab(0, column);
        EXPECT_EQ(windowtable[0].TextHpos, 5) << column;
    }
    t_Htab(0, 9);
    EXPECT_EQ(windowtable[0].TextHpos, 10) << "the window's last column";
}

}  // namespace
