#include <gtest/gtest.h>

#include "util/unicode.h"

using namespace std::string_literals;

namespace {

const std::string decomposedA = "A\xCC\x88";  // A + combining diaeresis

}  // namespace

// Positions count user-perceived letters; every bad byte stands alone.
TEST(Unicode, ClustersAreUserPerceivedLettersAndBadBytesStandAlone)
{
    const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
    const std::string flag = "\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA";
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"", {}}, {"a\r\nb", {"a", "\r\n", "b"}}, {"\r\r\n", {"\r", "\r\n"}}, {decomposedA + "b", {decomposedA, "b"}},
        {"x" + family, {"x", family}}, {flag + flag, {flag, flag}}, {"\xC0\x80", {"\xC0", "\x80"}},
        {"\xED\xA0\x80", {"\xED", "\xA0", "\x80"}}, {"\xFF\xCC\x88", {"\xFF", "\xCC\x88"}},
    };
    for (const auto& [text, clusters] : rows) {
        EXPECT_EQ(unicode::clusters(text), clusters) << testing::PrintToString(text);
        EXPECT_EQ(unicode::length(text), static_cast<int64_t>(clusters.size()));
    }
}

// Bad bytes read as U+FFFD, fail strict decoding, and survive case mapping
// and composition; "ß" must become "SS" (full, not simple, upper-casing).
TEST(Unicode, ScalarsUtf8CaseAndComposition)
{
    EXPECT_EQ(unicode::scalars("a\xC3\xA4\xF0\x9F\x98\x80\xFF\xC3"),
              (std::vector<char32_t>{'a', 0xE4, 0x1F600, 0xFFFD, 0xFFFD}));
    const std::pair<char32_t, std::string> rows[] = {  // NUL for what is no scalar
        {0x7F, "\x7F"}, {0x80, "\xC2\x80"}, {0x800, "\xE0\xA0\x80"}, {0xD7FF, "\xED\x9F\xBF"}, {0xD800, "\0"s},
        {0xDFFF, "\0"s}, {0xE000, "\xEE\x80\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0x110000, "\0"s},
    };
    for (const auto& [code, utf8] : rows) {
        const bool scalar = utf8 != "\0"s;
        EXPECT_EQ(unicode::encode(code), utf8) << std::hex << static_cast<uint32_t>(code);
        EXPECT_EQ(unicode::isscalar(code), scalar) << std::hex << static_cast<uint32_t>(code);
        EXPECT_EQ(unicode::scalars(utf8), std::vector<char32_t>{scalar ? code : 0});
    }
    EXPECT_FALSE(unicode::isscalar(INT64_MIN) || unicode::isscalar(INT64_MAX));
    EXPECT_EQ(unicode::decodeutf8(std::vector<uint8_t>{0x41, 0xE2, 0x82, 0xAC}), "A\xE2\x82\xAC");
    for (const char* bad : {"\x80", "\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ok\xFF"})
        EXPECT_FALSE(unicode::decodeutf8(std::string_view(bad))) << testing::PrintToString(std::string(bad));
    EXPECT_EQ(unicode::toupper("wei\xC3\x9F \xC3\xA4\xC3\xB6\xC3\xBC \xEF\xAC\x81 \xFF"),
              "WEISS \xC3\x84\xC3\x96\xC3\x9C FI \xFF");
    EXPECT_EQ(unicode::nfc("a\xFF" + decomposedA), "a\xFF\xC3\x84");
    EXPECT_EQ(unicode::nfc("q\xCC\x87\xCC\xA3"), unicode::nfc("q\xCC\xA3\xCC\x87"));
}

// Canonically equivalent spellings match, but never a part of a letter.
TEST(Unicode, FindAnswersClusterOffsetsUnderCanonicalEquivalence)
{
    const std::tuple<std::string, std::string, int64_t> rows[] = {
        {"abcabc", "c", 2}, {"abc", "", -1}, {"", "a", -1}, {decomposedA + "BC", "\xC3\x84" "B", 0},
        {"x\xC3\x84", decomposedA, 1}, {"x" + decomposedA, "A", -1}, {"a\r\nb", "\n", -1},
        {"a\r\nb\r\nc", "\r\nc", 3}, {"\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDx", "x", 1},
        {"q\xCC\x87\xCC\xA3!", "q\xCC\xA3\xCC\x87", 0}, {"ab\xFF" "cd", "\xFF" "c", 2},
    };
    for (const auto& [text, search, expected] : rows) {
        EXPECT_EQ(unicode::find(text, search), expected) << testing::PrintToString(text) << " / " << search;
        EXPECT_EQ(unicode::contains(text, search), expected >= 0);
    }
}
