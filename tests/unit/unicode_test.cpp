#include <gtest/gtest.h>

#include "util/unicode.h"

#include <climits>

using namespace std::string_literals;

namespace {

const std::string decomposedA = "A\xCC\x88";  // A + combining diaeresis
const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
const std::string flag = "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA";

}  // namespace

TEST(Unicode, ClustersAreUserPerceivedLettersAndBadBytesStandAlone)
{
    struct Row {
        std::string text;
        std::vector<std::string> clusters;
    };
    const Row rows[] = {
        {"", {}}, {"a\r\nb", {"a", "\r\n", "b"}}, {"\n\r", {"\n", "\r"}}, {"\r\r\n", {"\r", "\r\n"}},
        {decomposedA + "b", {decomposedA, "b"}}, {"x" + family, {"x", family}}, {flag + flag, {flag, flag}},
        {"a\xFF" "b", {"a", "\xFF", "b"}}, {"\xC3", {"\xC3"}}, {"\xC0\x80", {"\xC0", "\x80"}},
        {"\xED\xA0\x80", {"\xED", "\xA0", "\x80"}}, {"\xE4\r\n", {"\xE4", "\r\n"}},
        {"\xFF\xCC\x88", {"\xFF", "\xCC\x88"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(unicode::clusters(row.text), row.clusters) << testing::PrintToString(row.text);
        EXPECT_EQ(unicode::length(row.text), static_cast<int64_t>(row.clusters.size()));
    }
}

TEST(Unicode, SliceClampsEveryRangeToTheText)
{
    struct Row {
        std::string text;
        int64_t first, count;
        std::string expected;
    };
    const Row rows[] = {
        {"abcdef", 1, 3, "bcd"}, {"abcdef", 4, 10, "ef"}, {"abcdef", 6, 1, ""}, {"abcdef", -2, 3, "a"},
        {"abcdef", 2, -1, ""}, {"abcdef", INT64_MIN, INT64_MAX, ""}, {"abcdef", INT64_MAX, INT64_MAX, ""},
        {"abcdef", 3, INT64_MAX, "def"}, {"abcdef", 0, INT64_MIN, ""}, {"a\r\nb", 1, 1, "\r\n"},
        {"M" + decomposedA + "dchen", 1, 2, decomposedA + "d"}, {"x\xFFy", 1, 1, "\xFF"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(unicode::slice(row.text, row.first, row.count), row.expected)
            << testing::PrintToString(row.text) << " " << row.first << " " << row.count;
}

TEST(Unicode, ScalarsEncodingAndValidity)
{
    EXPECT_EQ(unicode::scalars("a\xC3\xA4\xF0\x9F\x98\x80"), (std::vector<char32_t>{'a', 0xE4, 0x1F600}));
    EXPECT_EQ(unicode::scalars("a\xFF\xC3"), (std::vector<char32_t>{'a', 0xFFFD, 0xFFFD}));
    EXPECT_EQ(unicode::firstscalar(""), 0u);
    EXPECT_EQ(unicode::firstscalar("\x80"), 0xFFFDu);
    struct Row {
        char32_t code;
        std::string utf8;  // NUL for what is no scalar
    };
    const Row rows[] = {
        {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x7FF, "\xDF\xBF"}, {0x800, "\xE0\xA0\x80"},
        {0xD7FF, "\xED\x9F\xBF"}, {0xD800, "\0"s}, {0xDFFF, "\0"s}, {0xE000, "\xEE\x80\x80"},
        {0x10000, "\xF0\x90\x80\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0x110000, "\0"s}, {0xFFFFFFFF, "\0"s},
    };
    for (const Row& row : rows) {
        const auto code = static_cast<uint32_t>(row.code);
        EXPECT_EQ(unicode::encode(row.code), row.utf8) << std::hex << code;
        EXPECT_EQ(unicode::isscalar(row.code), row.utf8 != "\0"s) << std::hex << code;
        if (row.utf8 != "\0"s) {
            EXPECT_EQ(unicode::scalars(row.utf8), std::vector<char32_t>{row.code}) << std::hex << code;
        }
    }
    EXPECT_FALSE(unicode::isscalar(INT64_MIN));
    EXPECT_FALSE(unicode::isscalar(INT64_MAX));
}

TEST(Unicode, DecodeUtf8RejectsEveryMalformedSequence)
{
    EXPECT_EQ(unicode::decodeutf8(std::string_view("")), "");
    EXPECT_EQ(unicode::decodeutf8(std::vector<uint8_t>{0x41, 0xE2, 0x82, 0xAC}), "A\xE2\x82\xAC");
    for (const char* bad : {"\x80", "\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xF8\x88\x80\x80\x80", "ok\xFF", "\xE2\x82"})
        EXPECT_FALSE(unicode::decodeutf8(std::string_view(bad))) << testing::PrintToString(std::string(bad));
}

TEST(Unicode, CaseMappingAndComposition)
{
    EXPECT_EQ(unicode::toupper("wei\xC3\x9F"), "WEISS");
    EXPECT_EQ(unicode::toupper("\xC3\xA4\xC3\xB6\xC3\xBC"), "\xC3\x84\xC3\x96\xC3\x9C");
    EXPECT_EQ(unicode::toupper("\xEF\xAC\x81"), "FI");  // ligature fi
    EXPECT_EQ(unicode::toupper("a\xFF" "b\xC3\xA4"), "A\xFF" "B\xC3\x84");  // the bad byte is kept
    const std::pair<char32_t, char32_t> lower[] = {
        {'A', 'a'}, {'a', 'a'}, {0xC4, 0xE4}, {0x1E9E, 0xDF}, {0x130, 'i'}, {0xD800, 0}, {0x110000, 0},
    };
    for (const auto& [code, expected] : lower)
        EXPECT_EQ(unicode::lowercase(code), expected) << static_cast<uint32_t>(code);
    EXPECT_EQ(unicode::nfc(decomposedA), "\xC3\x84");
    EXPECT_EQ(unicode::nfc("q\xCC\x87\xCC\xA3"), unicode::nfc("q\xCC\xA3\xCC\x87"));
    EXPECT_EQ(unicode::nfc("a\xFF" + decomposedA), "a\xFF\xC3\x84");
}

TEST(Unicode, FindAnswersClusterOffsetsUnderCanonicalEquivalence)
{
    struct Row {
        std::string text, search;
        int64_t expected;
    };
    const Row rows[] = {
        {"abcabc", "c", 2}, {"abc", "", -1}, {"", "a", -1}, {decomposedA + "BC", "\xC3\x84" "B", 0},
        {"x\xC3\x84", decomposedA, 1},
        {"x" + decomposedA, "A", -1},  // "A" is only part of a letter there
        {"a\r\nb", "\n", -1}, {"a\r\nb", "\r", -1}, {"a\r\nb\r\nc", "c", 4}, {"a\r\nb\r\nc", "\r\nc", 3},
        {"M\xC3\xA4" "dchen\r\nx", "x", 8}, {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDx", "x", 1},
        {"q\xCC\x87\xCC\xA3!", "q\xCC\xA3\xCC\x87", 0}, {"\xFF" "ab", "ab", 1}, {"ab\xFF" "cd", "\xFF" "c", 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(unicode::find(row.text, row.search), row.expected)
            << testing::PrintToString(row.text) << " / " << testing::PrintToString(row.search);
        EXPECT_EQ(unicode::contains(row.text, row.search), row.expected >= 0);
    }
}
