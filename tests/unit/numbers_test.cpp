#include <gtest/gtest.h>

#include "util/dates.h"
#include "util/numbers.h"

#include <cmath>

using namespace std::string_literals;

// Reading stops at the first character that does not fit and saturates
// instead of overflowing; a blank may follow the sign, a "+" may not.
TEST(Numbers, ReadnumberAndThreenumbers)
{
    const std::pair<std::string, int64_t> rows[] = {
        {"  12ab", 12}, {"- 7", -7}, {"+5", 0}, {"-   ", 0}, {"", 0}, {"1 2", 1}, {"--5", 0}, {"\t5", 0},
        {"9223372036854775807", INT64_MAX}, {"99999999999999999999999", INT64_MAX},
        {"-9223372036854775808", INT64_MIN}, {"-99999999999999999999999", INT64_MIN},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(readnumber(text), value) << '"' << text << '"';
    const std::pair<std::string, std::array<int64_t, 3>> dotted[] = {
        {"4.12.2026", {4, 12, 2026}}, {"12", {12, 0, 0}}, {"1..3", {1, 0, 3}}, {" 5. -6.x.4", {5, -6, 0}},
    };
    for (const auto& [text, numbers] : dotted)
        EXPECT_EQ(threenumbers(text), numbers) << '"' << text << '"';
}

// The fill goes in front of the sign; a fill that is no character fills
// with U+0000, a negative one not at all; no width is ever absurdly large.
TEST(Numbers, NumbertextAndDecimaltext)
{
    const std::tuple<int64_t, int64_t, int64_t, bool, std::string> rows[] = {  // value, fill, width, grouping
        {123, '0', 2, false, "123"}, {1234, ' ', 0, true, "1.234"}, {-5, '0', 4, false, "00-5"},
        {-1234567, ' ', 12, true, "  -1.234.567"}, {5, -1, 4, false, "5"}, {5, 0xD800, 3, false, "\0\0" "5"s},
        {7, 0xE4, 3, false, "\xC3\xA4\xC3\xA4" "7"}, {INT64_MIN, ' ', 0, true, "-9.223.372.036.854.775.808"},
        {5, '0', INT64_MAX, false, "5"}, {5, '0', INT64_MIN, false, "5"},
    };
    for (const auto& [value, fill, width, grouping, text] : rows)
        EXPECT_EQ(numbertext(value, fill, width, grouping), text) << value << " fill " << fill << " width " << width;
    const std::pair<double, std::string> decimals[] = {
        {2.5, "2,5"}, {1.0, "1"}, {-0.5, "-0,5"}, {0.1, "0,1"}, {1e15, "1000000000000000"}, {1e16, "1e+16"},
        {1e-5, "1e-05"}, {-INFINITY, "-inf"}, {NAN, "nan"},
    };
    for (const auto& [value, text] : decimals)
        EXPECT_EQ(decimaltext(value), text) << value;
}

// Leap years by the Gregorian rule, month lengths, negative parts and a
// saturated year; "," separates as well as ".".
TEST(Dates, DatestringAndTimestringCheckTheCalendarAndTheClock)
{
    const std::pair<std::string, std::string> rows[] = {
        {datetimetext(5, 1, 4, 18, 5, 3), "04.01.0005 18:05:03"}, {datestring("29.2.2024"), "29.02.2024"},
        {datestring("29.2.1900"), ""}, {datestring("29.2.2000"), "29.02.2000"}, {datestring("28,2,2023"), "28.02.2023"},
        {datestring("31.4.2026"), ""}, {datestring("1.13.2026"), ""}, {datestring("-1.1.2026"), ""},
        {datestring("1.1.-5"), ""}, {datestring("5.5.12345"), "05.05.12345"},
        {datestring("1.1.9999999999999999999999"), "01.01.9223372036854775807"}, {timestring("24:00:00"), ""},
        {timestring("23,59,59"), "23:59:59"}, {timestring("9.8.7"), "09:08:07"}, {timestring("12:60:01"), ""},
        {timestring("12:01:60"), ""}, {timestring("-1:5:5"), ""}, {timestring("1:-5:5"), ""},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}
