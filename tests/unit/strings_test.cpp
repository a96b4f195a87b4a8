#include <gtest/gtest.h>

#include "util/dates.h"
#include "util/diagnostics.h"
#include "util/numbers.h"
#include "util/strings.h"
#include "util/unicode.h"

#include <cmath>

using namespace std::string_literals;

// Positions are 1-based and count letters, not bytes; the extremes of the
// integer range clamp instead of overflowing; absurd counts give nothing or
// a refusal line. In Latin-1 bytes ESC hhhh GS is one code, a malformed
// escape stays as it is; what is no character becomes U+0000.
TEST(StringHelpers, PositionsCountsCodesAndNumberTexts)
{
    const std::string ae = "\xC3\xA4", madchen = "M" + ae + "dchen";
    const std::pair<std::string, std::string> rows[] = {
        {charat("abc", 0), ""}, {charat("abc", 4), ""}, {charat("xA\xCC\x88", 2), "A\xCC\x88"},
        {fromposition("abc", INT64_MIN), "abc"}, {fromposition(madchen, 3), "dchen"}, {substring("abc", 2, 9), "bc"},
        {substring("abc", 3, -1), ""}, {substring(madchen, 2, 2), ae + "d"}, {substring("a", INT64_MIN, 9), "a"},
        {substring("ab", INT64_MAX, INT64_MAX), ""}, {leftpart("ab", INT64_MAX), "ab"}, {rightpart(madchen, 3), "hen"},
        {rightpart("abc", INT64_MIN), ""}, {firstline("ab\ncd\ref"), "ab\ncd"}, {firstline("ab\ncd"), "ab"},
        {linuxlineends("a\r\nb\rc\n\r\r\nd\r"), "a\nb\nc\n\n\nd\n"}, {linuxlineends("\n\r\r"), "\n\n\n"},
        {spaces(32767) + repeattext("ab", 3), std::string(32767, ' ') + "ababab"}, {spaces(32768), ""},
        {spaces(INT64_MIN) + repeattext("ab", INT64_MAX) + repeattext("ab", 0), ""}, {justify("abc", "def", 4), "abcd"},
        {justify("ab", "cd", INT64_MAX), "abcd"}, {justify("M" + ae, "\xC3\x9F", 5), "M" + ae + "  \xC3\x9F"},
        {hexword(0x12345) + hexword(255) + hexword(-1) + hexword(INT64_MIN), "234500FFFFFF0000"},
        {hexdigits(0x9ABCDEF0FULL, 8) + hexdigits(0xA, 1), "ABCDEF0FA"},
        {texttostring({27, '0', '0', 'e', '4', 29, 'x', 27, '0', '0', 'E', '4'}), ae + "x\x1B" "00E4"},
        {texttostring({27, '2', '0', 'A', 'C', 29, 27, 27, '0', '0', '4', '1', 29}), "\xE2\x82\xAC\x1B" "A"},
        {texttostring({27, 'D', '8', '0', '0', 29, 27, '0', 'G', '4', '1', 29, 0xE4, 0xFF, 0, 27}),
         "\0\0"s + ae + "\xC3\xBF\0\x1B"s},  // a surrogate, a bad digit, Latin-1
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
    const std::tuple<std::string, std::string, int64_t, int64_t> finds[] = {  // text, search, start, found
        {"abcabc", "c", 4, 6}, {"abc", "x", 1, 0}, {"abc", "a", INT64_MIN, 1}, {"abc", "c", INT64_MAX, 0},
        {"abc", "", 1, 0}, {madchen + madchen, madchen, 2, 8},
    };
    for (const auto& [text, search, start, found] : finds)
        EXPECT_EQ(findtext(text, search, start), found) << text << " / " << search << " from " << start;
    for (const auto& [code, lower] : {std::pair<int64_t, int64_t>{196, 228}, {0x1E9E, 0xDF}, {-1, 0}, {0xD800, 0}})
        EXPECT_EQ(lowercasecode(code), lower) << code;
    DiagCapture out;
    EXPECT_TRUE(filledbytes(1, INT64_MIN).empty() && filledbytes(1, INT64_MAX).empty());
    EXPECT_EQ(out.lines(), std::vector<std::string>{"filledbytes: Count 9223372036854775807 is too large."});
    // Reading stops at the first character that does not fit and saturates
    // instead of overflowing; a blank may follow the sign, a "+" may not. In
    // number texts the fill goes in front of the sign, a fill that is no
    // character fills with U+0000, a negative one not at all, and no width is
    // absurdly large. Dates follow the Gregorian leap rule and month lengths;
    // "," separates as well as ".".
    const std::pair<std::string, int64_t> numbers[] = {
        {"  12ab", 12}, {"- 7", -7}, {"+5", 0}, {"-   ", 0}, {"1 2", 1}, {"--5", 0}, {"\t5", 0},
        {"9223372036854775808", INT64_MAX}, {"-9223372036854775808", INT64_MIN}, {"-9223372036854775809", INT64_MIN},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(readnumber(text), value) << '"' << text << '"';
    EXPECT_EQ(threenumbers(" 5. -6.x.4"), (std::array<int64_t, 3>{5, -6, 0}));
    EXPECT_EQ(threenumbers("1..3"), (std::array<int64_t, 3>{1, 0, 3}));
    const std::pair<std::string, std::string> texts[] = {
        {numbertext(123, '0', 2, false) + " " + numbertext(-5, '0', 4, false), "123 00-5"},
        {numbertext(-1234567, ' ', 12, true) + numbertext(5, -1, 4, false), "  -1.234.5675"},
        {numbertext(123456, ' ', 0, true) + " " + numbertext(-999, ' ', 0, true), "123.456 -999"},
        {numbertext(5, 0xD800, 3, false) + numbertext(7, 0xE4, 2, false), "\0\0" "5\xC3\xA4" "7"s},
        {numbertext(INT64_MIN, ' ', 0, true) + numbertext(5, '0', INT64_MAX, false), "-9.223.372.036.854.775.8085"},
        {decimaltext(2.5) + " " + decimaltext(1.0) + " " + decimaltext(-0.5), "2,5 1 -0,5"},
        {decimaltext(1e15) + " " + decimaltext(1e16) + " " + decimaltext(1e-5), "1000000000000000 1e+16 1e-05"},
        {decimaltext(-INFINITY) + " " + decimaltext(NAN), "-inf nan"},
        {datetimetext(5, 1, 4, 18, 5, 3), "04.01.0005 18:05:03"}, {datestring("29.2.2024"), "29.02.2024"},
        {datestring("29.2.1900") + datestring("29.2.2200"), ""}, {datestring("29.2.2000"), "29.02.2000"}, {datestring("28,2,2023"), "28.02.2023"},
        {datestring("31.4.2026") + datestring("1.13.2026") + datestring("-1.1.2026") + datestring("1.1.-5"), ""},
        {datestring("1.1.9999999999999999999999"), "01.01.9223372036854775807"}, {timestring("9,8.7"), "09:08:07"},
        {timestring("24:00:00") + timestring("12:60:01") + timestring("12:01:60") + timestring("1:-5:5"), ""},
        {filestamp("07.12.2026", "14:03:27"), "2026-12-07-14-03-27"}, {filestamp("04.01.0005", ""), "0005-01-04"},
    };
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(texts[i].first, texts[i].second) << "row " << i;
}

static const std::string decomposedA = "A\xCC\x88";  // A + combining diaeresis

// Positions count user-perceived letters and every bad byte stands alone;
// find matches canonically equivalent spellings, never a part of a letter.
TEST(Unicode, ClustersFindScalarsCaseAndComposition)
{
    const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
    const std::string flag = "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA";
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"", {}}, {"\r\r\n", {"\r", "\r\n"}}, {decomposedA + "b", {decomposedA, "b"}}, {"x" + family, {"x", family}},
        {flag + flag, {flag, flag}}, {"\xED\xA0\x80", {"\xED", "\xA0", "\x80"}}, {"\xFF\xCC\x88", {"\xFF", "\xCC\x88"}},
    };
    for (const auto& [text, clusters] : rows) {
        EXPECT_EQ(unicode::clusters(text), clusters) << testing::PrintToString(text);
        EXPECT_EQ(unicode::length(text), static_cast<int64_t>(clusters.size()));
    }
    const std::tuple<std::string, std::string, int64_t> finds[] = {
        {"abcabc", "c", 2}, {"abc", "", -1}, {decomposedA + "BC", "\xC3\x84" "B", 0}, {"x\xC3\x84", decomposedA, 1},
        {"x" + decomposedA, "A", -1}, {"a\r\nb", "\n", -1}, {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDx", "x", 1},
        {"q\xCC\x87\xCC\xA3!", "q\xCC\xA3\xCC\x87", 0}, {"ab\xFF" "cd", "\xFF" "c", 2},
    };
    for (const auto& [text, search, expected] : finds) {
        EXPECT_EQ(unicode::find(text, search), expected) << testing::PrintToString(text) << " / " << search;
        EXPECT_EQ(unicode::contains(text, search), expected >= 0);
    }
    // Bad bytes read as U+FFFD, fail strict decoding, and survive case mapping
    // and composition; "ß" must become "SS" (full, not simple, upper-casing).
    EXPECT_EQ(unicode::scalars("a\xC3\xA4\xF0\x9F\x98\x80\xFF\xC3"),
              (std::vector<char32_t>{'a', 0xE4, 0x1F600, 0xFFFD, 0xFFFD}));
    const std::pair<char32_t, std::string> codes[] = {  // NUL for what is no scalar
        {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x800, "\xE0\xA0\x80"}, {0xD7FF, "\xED\x9F\xBF"}, {0xDFFF, "\0"s},
        {0xE000, "\xEE\x80\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0x110000, "\0"s}, {0xD800, "\0"s},
    };
    for (const auto& [code, utf8] : codes)
        EXPECT_EQ(std::pair(unicode::encode(code), unicode::isscalar(code)), std::pair(utf8, utf8 != "\0"s))
            << uint32_t(code);
    EXPECT_FALSE(unicode::isscalar(INT64_MIN) || unicode::isscalar(INT64_MAX));
    EXPECT_EQ(unicode::decodeutf8(std::vector<uint8_t>{0x41, 0xE2, 0x82, 0xAC}), "A\xE2\x82\xAC");
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ok\xFF"})
        EXPECT_FALSE(unicode::decodeutf8(std::string_view(bad))) << testing::PrintToString(std::string(bad));
    EXPECT_EQ(unicode::toupper("wei\xC3\x9F \xC3\xA4\xC3\xB6\xC3\xBC \xEF\xAC\x81 \xFF"),
              "WEISS \xC3\x84\xC3\x96\xC3\x9C FI \xFF");
    EXPECT_EQ(unicode::nfc("a\xFF" + decomposedA), "a\xFF\xC3\x84");
    EXPECT_EQ(unicode::nfc("q\xCC\x87\xCC\xA3"), unicode::nfc("q\xCC\xA3\xCC\x87"));
}
