// The printer's column ruler.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "menus/virtual_printer.h"

TEST(RulerString, BuildsTheColumnRuler)
{
    struct Row {
        int64_t width;
        bool full;
        bool margins;
        const char* ruler;
    };
    const Row rows[] = {
        {160, false, true,
         "L...!....1....!....2....!....3....!....4....!....5....!....6....!....7....!....8....!"
         "....9....!....0....!....1....!....2....!....3....!....4....!....5....!....R"},
        {30, true, true, "L...!....1....!....2....!....R"},
        {25, false, false, "....!....1....!....2....!"},
        {10, false, false, "....!....1"},
        {10, false, true, "L...!....R"},
        {3, false, true, "L.R"},
        {2, false, true, "LR"},
        {1, false, false, "."},
        {0, false, false, ""},
        {-5, false, false, ""},
        {-10, false, false, ""},
        {-10, true, true, "LR"},
        {std::numeric_limits<int64_t>::min(), false, false, ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(rulerstring(row.width, row.full, row.margins), row.ruler)
            << "width " << row.width << (row.full ? ", full numbers" : "")
            << (row.margins ? ", margins" : "");
}

TEST(RulerString, FullNumbersEndTheirBlock)
{
    // Blocks 10.. carry the whole number, the dots before it giving way.
    EXPECT_EQ(rulerstring(120, true, false).substr(80), "....!....9....!...10....!...11....!...12");
    EXPECT_EQ(rulerstring(120, false, false).substr(80),
              "....!....9....!....0....!....1....!....2");
    EXPECT_EQ(rulerstring(1000, true, false).substr(990), "....!..100");
    // The "R" takes the last column, and the digit before it turns into a dot.
    EXPECT_EQ(rulerstring(110, true, true).substr(90), "....!...10....!....R");
    // Not at a multiple of ten: the digit stays.
    EXPECT_EQ(rulerstring(101, true, true).substr(90), "....!...10R");
    EXPECT_EQ(rulerstring(111, true, true).substr(100), "....!...11R");
}

TEST(RulerString, EveryWidthGivesThatManyColumns)
{
    for (int64_t width = 3; width <= 250; ++width) {
        const std::string plain = rulerstring(width, false, false);
        const std::string margins = rulerstring(width, true, true);
        ASSERT_EQ(int64_t(plain.size()), width);
        ASSERT_EQ(int64_t(margins.size()), width);
        EXPECT_TRUE(margins.starts_with('L') && margins.ends_with('R')) << margins;
        EXPECT_EQ(plain.back(), width % 10 == 0 ? char('0' + width / 10 % 10)
                                : width % 10 == 5 ? '!'
                                                  : '.');
    }
    // An absurd width is cut to a million columns instead of exhausting memory.
    EXPECT_EQ(rulerstring(std::numeric_limits<int64_t>::max(), true, false).size(), 1'000'000u);
}
