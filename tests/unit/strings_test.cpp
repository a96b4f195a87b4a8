#include <gtest/gtest.h>

#include "util/diagnostics.h"
#include "util/strings.h"

using namespace std::string_literals;

namespace {

const std::string ae = "\xC3\xA4";                // ä
const std::string madchen = "M\xC3\xA4" "dchen";  // Mädchen

}  // namespace

// Positions are 1-based and count letters, not bytes; the extremes of the
// integer range must clamp instead of overflowing.
TEST(StringHelpers, PositionsCountCharactersAndClampAtTheExtremes)
{
    const std::pair<std::string, std::string> rows[] = {
        {charat("abc", 0), ""}, {charat("abc", 4), ""}, {charat("xA\xCC\x88", 2), "A\xCC\x88"},
        {fromposition("abc", INT64_MIN), "abc"}, {fromposition(madchen, 3), "dchen"}, {substring("abcdef", 0, 2), "ab"},
        {substring("abcdef", 5, 10), "ef"}, {substring("abcdef", 3, -1), ""}, {substring(madchen, 2, 2), ae + "d"},
        {substring("abcdef", INT64_MIN, INT64_MAX), "abcdef"}, {substring("abcdef", INT64_MAX, INT64_MAX), ""},
        {leftpart("abc", INT64_MAX), "abc"}, {rightpart("abc", INT64_MIN), ""}, {rightpart(madchen, 3), "hen"},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
    const std::tuple<std::string, std::string, int64_t, int64_t> finds[] = {  // text, search, start, found
        {"abcabc", "c", 4, 6}, {"abc", "x", 1, 0}, {"abc", "a", INT64_MIN, 1}, {"abc", "c", INT64_MAX, 0},
        {"abc", "", 1, 0}, {madchen + madchen, madchen, 2, 8},
    };
    for (const auto& [text, search, start, found] : finds)
        EXPECT_EQ(findtext(text, search, start), found) << text << " / " << search << " from " << start;
}

// Absurd counts give nothing (or a refusal line) instead of huge texts; in
// Latin-1 bytes ESC hhhh GS is one code, a malformed escape stays as it is.
TEST(StringHelpers, TextsCodesAndAbsurdCounts)
{
    EXPECT_EQ(firstline("ab\ncd\ref"), "ab\ncd");  // a carriage return anywhere wins
    EXPECT_EQ(firstline("ab\ncd"), "ab");
    EXPECT_EQ(spaces(32767), std::string(32767, ' '));
    EXPECT_EQ(repeattext("ab", 3), "ababab");
    for (int64_t n : {int64_t{0}, int64_t{32768}, INT64_MIN, INT64_MAX})
        EXPECT_EQ(spaces(n) + repeattext("ab", n), "") << n;
    EXPECT_EQ(justify("abc", "def", 4), "abcd");
    EXPECT_EQ(justify("ab", "cd", INT64_MAX), "abcd");  // no gap that large is made
    EXPECT_EQ(justify("M" + ae, "\xC3\x9F", 5), "M" + ae + "  \xC3\x9F");
    const std::pair<int64_t, int64_t> lower[] = {
        {65, 97}, {196, 228}, {0x1E9E, 0xDF}, {0x130, 'i'}, {-1, 0}, {0xD800, 0}, {0x110000, 0}, {INT64_MAX, 0},
    };
    for (const auto& [code, expected] : lower)
        EXPECT_EQ(lowercasecode(code), expected) << code;
    EXPECT_EQ(hexword(0x12345) + hexword(255) + hexword(-1) + hexword(INT64_MIN), "234500FFFFFF0000");
    EXPECT_EQ(filledbytes(7, 3), (std::vector<uint8_t>{7, 7, 7}));
    DiagCapture out;
    EXPECT_TRUE(filledbytes(1, INT64_MIN).empty() && filledbytes(1, INT64_MAX).empty());
    EXPECT_EQ(out.lines(), std::vector<std::string>{"filledbytes: Count 9223372036854775807 is too large."});

    const std::pair<std::vector<uint8_t>, std::string> bytes[] = {
        {{27, '0', '0', 'e', '4', 29, 'x'}, ae + "x"}, {{27, '0', '0', 'E', '4'}, "\x1B" "00E4"},
        {{27, '2', '0', 'A', 'C', 29, 27, '0', '0', '4', '1', 29}, "\xE2\x82\xAC" "A"},
        {{27, 'D', '8', '0', '0', 29}, "\0"s},  // a surrogate is no character
        {{27, '0', 'G', '4', '1', 29}, "\0"s},  // nor is a bad digit
        {{27, 27, '0', '0', 'E', '4', 29}, "\x1B" + ae}, {{0xE4, 'b', 0xFF, 0, 27}, ae + "b\xC3\xBF\0\x1B"s},
    };
    for (const auto& [latin1, text] : bytes)
        EXPECT_EQ(texttostring(latin1), text) << testing::PrintToString(latin1);
}
