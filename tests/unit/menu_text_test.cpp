// Texts of the menus and the printer: the printable form of the runtime's
// graphic characters and the column ruler.
#include <gtest/gtest.h>

#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "util/unicode.h"

// Only codes 127..160 change; bytes that are no UTF-8 pass as they stand,
// also right after C2.
TEST(PrintableText, GraphicCodesBecomeLookAlikes)
{
    const std::pair<char32_t, std::string> table[] = {
        {127, "#"}, {128, "*"}, {129, "#"}, {130, "<"}, {131, "="}, {132, ">"}, {133, "O"}, {134, "+"},
        {137, "+"}, {138, "|"}, {139, "|"}, {140, "-"}, {141, "-"}, {142, "+"}, {147, "+"}, {153, "+"},
        {154, "-"}, {155, "-"}, {156, "|"}, {157, "|"}, {158, "+"}, {159, "="}, {160, "\u02FD"},
        {126, "~"}, {161, "\u00A1"}, {228, "\u00E4"}, {0x20AC, "\u20AC"}, {13, "\r"},
    };
    for (const auto& [code, shown] : table)
        EXPECT_EQ(t_PrintableText(unicode::encode(code)), shown) << "code " << int(code);
    EXPECT_EQ(t_PrintableText("\u0086\u008C\u008C\u0087 Gr\u00FC\u00DFe \u008A\r\u0088\u008C\u0089"),
              "+--+ Grüße |\r+-+");
    EXPECT_EQ(t_PrintableText("a\xC2\x7F\xFF\xC2"), "a\xC2#\xFF\xC2");
}

// Block numbers from 10 on are written whole; "R" takes the last column, a
// digit there giving way; an absurd width gives no more than a million.
TEST(RulerString, BuildsTheColumnRuler)
{
    const std::tuple<int64_t, bool, bool, size_t, std::string> rows[] = {  // width, full, margins, from, ruler
        {160, false, true, 0,
         "L...!....1....!....2....!....3....!....4....!....5....!....6....!....7....!....8....!"
         "....9....!....0....!....1....!....2....!....3....!....4....!....5....!....R"},
        {30, true, true, 0, "L...!....1....!....2....!....R"}, {10, false, false, 0, "....!....1"},
        {3, false, true, 0, "L.R"}, {2, false, true, 0, "LR"}, {1, false, false, 0, "."}, {0, false, false, 0, ""},
        {-10, false, false, 0, ""}, {-10, true, true, 0, "LR"}, {INT64_MIN, false, false, 0, ""},
        {120, true, false, 80, "....!....9....!...10....!...11....!...12"},
        {120, false, false, 80, "....!....9....!....0....!....1....!....2"},
        {1000, true, false, 990, "....!..100"}, {110, true, true, 90, "....!...10....!....R"},
        {101, true, true, 90, "....!...10R"}, {111, true, true, 100, "....!...11R"},
    };
    for (const auto& [width, full, margins, from, ruler] : rows)
        EXPECT_EQ(rulerstring(width, full, margins).substr(from), ruler) << width << " " << full << margins;
    for (int64_t width = 3; width <= 250; ++width) {
        const std::string plain = rulerstring(width, false, false), margins = rulerstring(width, true, true);
        ASSERT_EQ(int64_t(plain.size()), width);
        ASSERT_EQ(int64_t(margins.size()), width);
        EXPECT_TRUE(margins.starts_with('L') && margins.ends_with('R')) << margins;
        EXPECT_EQ(plain.back(), width % 10 == 0 ? char('0' + width / 10 % 10) : width % 10 == 5 ? '!' : '.');
    }
    EXPECT_EQ(rulerstring(INT64_MAX, true, false).size(), 1'000'000u);
}
