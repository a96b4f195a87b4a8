#include <gtest/gtest.h>

#include "util/numbers.h"

#include <climits>
#include <cmath>
#include <limits>

using namespace std::string_literals;

TEST(Numbers, ReadnumberStopsAtTheFirstCharacterThatDoesNotFit)
{
    const std::pair<std::string, int64_t> rows[] = {
        {"  12ab", 12}, {"- 7", -7}, {"+5", 0}, {"-", 0}, {"-   ", 0}, {"", 0}, {"   ", 0}, {"007", 7},
        {"1 2", 1}, {"--5", 0}, {"\t5", 0}, {"12.5", 12},
        {"9223372036854775807", INT64_MAX}, {"99999999999999999999999", INT64_MAX},
        {"-9223372036854775808", INT64_MIN}, {"-99999999999999999999999", INT64_MIN},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(readnumber(text), value) << '"' << text << '"';
}

TEST(Numbers, ThreenumbersReadsTheFirstThreeDottedParts)
{
    const std::pair<std::string, std::array<int64_t, 3>> rows[] = {
        {"4.12.2026", {4, 12, 2026}}, {"12", {12, 0, 0}}, {"", {0, 0, 0}}, {"1..3", {1, 0, 3}},
        {"1.2.3.4", {1, 2, 3}}, {" 5. -6.x", {5, -6, 0}},
    };
    for (const auto& [text, numbers] : rows)
        EXPECT_EQ(threenumbers(text), numbers) << '"' << text << '"';
}

TEST(Numbers, NumbertextGroupsAndFillsInFrontOfTheSign)
{
    struct Row {
        int64_t value, fill, width;
        bool grouping;
        std::string text;
    };
    const Row rows[] = {
        {5, '0', 2, false, "05"}, {123, '0', 2, false, "123"}, {1234567, ' ', 0, true, "1.234.567"},
        {123, ' ', 0, true, "123"}, {1234, ' ', 0, true, "1.234"}, {-5, '0', 4, false, "00-5"},
        {-1234567, ' ', 12, true, "  -1.234.567"}, {5, -1, 4, false, "5"},
        {5, 0xD800, 3, false, "\0\0" "5"s}, {7, 0xE4, 3, false, "\xC3\xA4\xC3\xA4" "7"},
        {INT64_MIN, ' ', 0, true, "-9.223.372.036.854.775.808"}, {5, '0', INT64_MAX, false, "5"},
        {5, '0', INT64_MIN, false, "5"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(numbertext(row.value, row.fill, row.width, row.grouping), row.text)
            << row.value << " fill " << row.fill << " width " << row.width;
}

TEST(Numbers, DecimaltextUsesTheShortestTextWithAComma)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, std::string> rows[] = {
        {2.5, "2,5"}, {1.0, "1"}, {0.0, "0"}, {10.0, "10"}, {-0.5, "-0,5"}, {0.1, "0,1"},
        {123456.789, "123456,789"}, {1e15, "1000000000000000"}, {1e16, "1e+16"}, {1e-5, "1e-05"},
        {infinity, "inf"}, {-infinity, "-inf"}, {std::nan(""), "nan"},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(decimaltext(value), text) << value;
}
