// Texts of the menus and the printer: the printable form of the runtime's
// graphic characters and the column ruler.
#include <gtest/gtest.h>

#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "util/unicode.h"

// Only codes 127..160 change; bytes that are no UTF-8 pass as they stand,
// also right after C2. In the ruler, block numbers from 10 on are written
// whole; "R" takes the last column, a digit there giving way; an absurd
// width gives no more than a million.
TEST(MenuText, PrintableTextAndColumnRuler)
{
    EXPECT_EQ(t_PrintableText("\u0086\u008C\u008C\u0087 Gr\u00FC\u00DFe~\u20AC\u008A\r\u0088\u008D\u0089\u0080\u0082"
                              "\u0085\u0093\u009B\u009C\u009F\u00A0\u00A1"),
              "+--+ Grüße~€|\r+-+*<O+-|=\u02FD\u00A1");
    EXPECT_EQ(t_PrintableText("a\xC2\x7F\xFF\xC2"), "a\xC2#\xFF\xC2");
    // Every graphic code 127..160 as the look-alike table gives it.
    const std::string lookalikes[] = {"#", "*", "#", "<", "=", ">", "O", "+", "+", "+", "+", "|", "|", "-",
                                      "-", "+", "+", "+", "+", "+", "+", "+", "+", "+", "+", "+", "+", "-",
                                      "-", "|", "|", "+", "=", "\u02FD"};
    for (char32_t code = 127; code <= 160; ++code)
        EXPECT_EQ(t_PrintableText(unicode::encode(code)), lookalikes[code - 127]) << uint32_t(code);
    const std::tuple<int64_t, bool, bool, size_t, std::string> rows[] = {  // width, full, margins, from, ruler
        {160, false, true, 0,
         "L...!....1....!....2....!....3....!....4....!....5....!....6....!....7....!....8....!"
         "....9....!....0....!....1....!....2....!....3....!....4....!....5....!....R"},
        {2, false, true, 0, "LR"}, {1, false, false, 0, "."}, {0, false, false, 0, ""}, {-10, false, false, 0, ""},
        {-10, true, true, 0, "LR"}, {INT64_MIN, false, false, 0, ""},
        {120, true, false, 80, "....!....9....!...10....!...11....!...12"}, {1000, true, false, 990, "....!..100"},
        {110, true, true, 90, "....!...10....!....R"}, {101, true, true, 90, "....!...10R"},
    };
    for (const auto& [width, full, margins, from, ruler] : rows)
        EXPECT_EQ(rulerstring(width, full, margins).substr(from), ruler) << width << " " << full << margins;
    for (int64_t width = 3; width <= 250; ++width) {
        const std::string plain = rulerstring(width, false, false), margins = rulerstring(width, true, true);
        ASSERT_EQ(std::pair(plain.size(), margins.size()), std::pair(size_t(width), size_t(width)));
        EXPECT_TRUE(margins.starts_with('L') && margins.ends_with('R')) << margins;
        EXPECT_EQ(plain.back(), width % 10 == 0 ? char('0' + width / 10 % 10) : width % 10 == 5 ? '!' : '.');
    }
    EXPECT_EQ(rulerstring(INT64_MAX, true, false).size(), 1'000'000u);
}
