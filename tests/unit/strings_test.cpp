#include <gtest/gtest.h>

#include "util/diagnostics.h"
#include "util/strings.h"

#include <climits>

using namespace std::string_literals;

namespace {

const std::string ae = "\xC3\xA4";                // ä
const std::string decomposedA = "A\xCC\x88";      // A + combining diaeresis
const std::string madchen = "M\xC3\xA4" "dchen";  // Mädchen

}  // namespace

TEST(StringHelpers, PositionsCountCharactersAndClampAtTheExtremes)
{
    const std::pair<std::string, std::string> rows[] = {
        {charat("abc", 0), ""}, {charat("abc", 4), ""}, {charat(ae + "bc", 1), ae},
        {charat("x" + decomposedA, 2), decomposedA}, {charat("abc", INT64_MIN), ""}, {charat("abc", INT64_MAX), ""},
        {fromposition("abc", 1), "abc"}, {fromposition("abc", 3), "c"}, {fromposition("abc", 4), ""},
        {fromposition("abc", INT64_MIN), "abc"}, {fromposition("abc", INT64_MAX), ""},
        {fromposition(madchen, 3), "dchen"},
        {substring("abcdef", 2, 3), "bcd"}, {substring("abcdef", 5, 10), "ef"}, {substring("abcdef", 1, 2), "ab"},
        {substring("abcdef", 7, 1), ""}, {substring("abcdef", 0, 2), "ab"}, {substring("abcdef", 3, -1), ""},
        {substring("abcdef", INT64_MIN, INT64_MAX), "abcdef"}, {substring("abcdef", 2, INT64_MAX), "bcdef"},
        {substring("abcdef", INT64_MAX, INT64_MAX), ""}, {substring("abcdef", INT64_MAX, INT64_MIN), ""},
        {substring(madchen, 2, 2), ae + "d"},
        {leftpart("abc", 2), "ab"}, {leftpart("abc", 5), "abc"}, {leftpart("abc", 0), ""},
        {leftpart("abc", INT64_MIN), ""}, {leftpart("abc", INT64_MAX), "abc"},
        {rightpart("abc", 2), "bc"}, {rightpart("abc", 5), "abc"}, {rightpart("abc", INT64_MIN), ""},
        {rightpart("abc", INT64_MAX), "abc"}, {rightpart("x" + decomposedA, 1), decomposedA},
        {rightpart(madchen, 3), "hen"},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

TEST(StringHelpers, FindtextAnswersPositionsInTheWholeText)
{
    struct Row {
        std::string text, search;
        int64_t start, expected;
    };
    const Row rows[] = {
        {"abcabc", "c", 4, 6}, {"abc", "x", 1, 0}, {"abcabc", "a", 2, 4}, {"abc", "a", 0, 1},
        {"abc", "a", INT64_MIN, 1}, {"abc", "c", INT64_MAX, 0}, {"abc", "", 1, 0}, {"", "a", 1, 0},
        {madchen, "chen", 1, 4}, {madchen + madchen, madchen, 2, 8},
        {"Ma\xCC\x88" "dchen", ae + "d", 1, 2},  // canonical equivalence
    };
    for (const Row& row : rows)
        EXPECT_EQ(findtext(row.text, row.search, row.start), row.expected)
            << testing::PrintToString(row.text) << " / " << row.search << " from " << row.start;
}

TEST(StringHelpers, LinesBlanksRepeatsAndJustify)
{
    EXPECT_EQ(firstline("ab\rcd\nef"), "ab");
    EXPECT_EQ(firstline("ab\ncd\ref"), "ab\ncd");  // a carriage return anywhere wins
    EXPECT_EQ(firstline("ab\ncd"), "ab");
    EXPECT_EQ(firstline("\rabc"), "");
    EXPECT_EQ(firstline("abc"), "abc");

    EXPECT_EQ(spaces(3), "   ");
    EXPECT_EQ(spaces(32767).size(), 32767u);
    for (int64_t n : {int64_t{0}, int64_t{32768}, INT64_MIN, INT64_MAX})
        EXPECT_EQ(spaces(n), "") << n;
    EXPECT_EQ(repeattext("ab", 3), "ababab");
    EXPECT_EQ(repeattext("", 5), "");
    for (int64_t n : {int64_t{0}, int64_t{32768}, INT64_MIN, INT64_MAX})
        EXPECT_EQ(repeattext("ab", n), "") << n;

    EXPECT_EQ(justify("ab", "cd", 7), "ab   cd");
    EXPECT_EQ(justify("abc", "def", 4), "abcd");
    EXPECT_EQ(justify("ab", "cd", 4), "abcd");
    EXPECT_EQ(justify("ab", "cd", INT64_MIN), "");
    EXPECT_EQ(justify("ab", "cd", INT64_MAX), "abcd");  // no gap that large is made
    EXPECT_EQ(justify("M" + ae, "\xC3\x9F", 5), "M" + ae + "  \xC3\x9F");
}

TEST(StringHelpers, CharacterCodes)
{
    EXPECT_EQ(asc(""), 0);
    EXPECT_EQ(asc(ae + "b"), 0xE4);
    EXPECT_EQ(asc("\xF0\x9F\x98\x80"), 0x1F600);
    EXPECT_EQ(asc("\xFF"), 0xFFFD);
    const std::pair<int64_t, int64_t> lower[] = {
        {65, 97}, {196, 228}, {0x1E9E, 0xDF}, {0x391, 0x3B1}, {-1, 0},
        {0xD800, 0}, {0x110000, 0}, {INT64_MIN, 0}, {INT64_MAX, 0},
    };
    for (const auto& [code, expected] : lower)
        EXPECT_EQ(lowercasecode(code), expected) << code;
    const std::pair<int64_t, std::string> hex[] = {
        {0, "0000"}, {255, "00FF"}, {0xABCD, "ABCD"}, {0x12345, "2345"}, {-1, "FFFF"}, {INT64_MIN, "0000"},
    };
    for (const auto& [value, expected] : hex)
        EXPECT_EQ(hexword(value), expected) << value;
}

TEST(StringHelpers, FilledbytesRefusesAbsurdCounts)
{
    EXPECT_EQ(filledbytes(7, 3), (std::vector<uint8_t>{7, 7, 7}));
    EXPECT_TRUE(filledbytes(1, 0).empty());
    EXPECT_TRUE(filledbytes(1, INT64_MIN).empty());
    DiagCapture out;
    EXPECT_TRUE(filledbytes(1, INT64_MAX).empty());
    EXPECT_EQ(out.lines(), std::vector<std::string>{"filledbytes: Count 9223372036854775807 is too large."});
}

TEST(StringHelpers, TexttostringReadsLatin1AndEscapes)
{
    const std::pair<std::vector<uint8_t>, std::string> rows[] = {
        {{}, ""},
        {{27, '0', '0', 'E', '4', 29}, ae},
        {{27, '0', '0', 'E', '4'}, "\x1B" "00E4"},
        {{27, '0', '0', 'e', '4', 29, 'x'}, ae + "x"},
        {{27, '2', '0', 'A', 'C', 29, 27, '0', '0', '4', '1', 29}, "\xE2\x82\xAC" "A"},
        {{27, 'D', '8', '0', '0', 29}, "\0"s},  // a surrogate is no character
        {{27, '0', 'G', '4', '1', 29}, "\0"s},  // nor is a bad digit
        {{27, 27, '0', '0', 'E', '4', 29}, "\x1B" + ae},
        {{0xE4, 'b', 0xFF, 0, 27}, ae + "b\xC3\xBF\0\x1B"s},
    };
    for (const auto& [bytes, text] : rows)
        EXPECT_EQ(texttostring(bytes), text) << testing::PrintToString(bytes);
}
