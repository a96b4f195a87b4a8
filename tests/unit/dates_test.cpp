#include <gtest/gtest.h>

#include "util/dates.h"
#include "util/numbers.h"

#include <cctype>

namespace {

// True when `text` has the form of `shape`, each '9' standing for a digit.
bool shaped(const std::string& text, const std::string& shape)
{
    if (text.size() != shape.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (shape[i] == '9' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != shape[i])
            return false;
    return true;
}

std::string two(int64_t n)
{
    return numbertext(n, '0', 2, false);
}

}  // namespace

TEST(Dates, DatetimetextPadsEveryField)
{
    EXPECT_EQ(datetimetext(2026, 12, 4, 18, 5, 33), "04.12.2026 18:05:33");
    EXPECT_EQ(datetimetext(5, 1, 1, 0, 0, 0), "01.01.0005 00:00:00");
    EXPECT_TRUE(shaped(nowstring(), "99.99.9999 99:99:99")) << nowstring();
}

TEST(Dates, DatestringChecksTheCalendar)
{
    const std::pair<std::string, std::string> rows[] = {
        {"29.2.2024", "29.02.2024"}, {"29.2.1900", ""}, {"29.2.2000", "29.02.2000"},
        {"28,2,2023", "28.02.2023"}, {"31.4.2026", ""}, {"30.4.2026", "30.04.2026"},
        {"1.13.2026", ""}, {"-1.1.2026", ""}, {"1.1.-5", ""}, {"5.5.12345", "05.05.12345"},
        {"1.1.9999999999999999999999", "01.01.9223372036854775807"},
    };
    for (const auto& [text, date] : rows)
        EXPECT_EQ(datestring(text), date) << text;
}

TEST(Dates, MissingPartsComeFromNow)
{
    const auto [day, month, year] = threenumbers(nowstring().substr(0, 10));
    EXPECT_EQ(datestring(""), two(day) + "." + two(month) + "." + std::to_string(year));
    EXPECT_EQ(datestring("4"), "04." + two(month) + "." + std::to_string(year));
    EXPECT_EQ(datestring("31.2"), "");  // February has no 31st in any year
    EXPECT_TRUE(shaped(timestring(""), "99:99:99")) << timestring("");
    EXPECT_TRUE(shaped(timestring("12"), "12:99:99")) << timestring("12");
    EXPECT_TRUE(shaped(timestring("5:6"), "05:06:99")) << timestring("5:6");
}

TEST(Dates, TimestringChecksTheClock)
{
    const std::pair<std::string, std::string> rows[] = {
        {"24:00:00", ""}, {"23,59,59", "23:59:59"}, {"9.8.7", "09:08:07"}, {"12:60:01", ""},
        {"12:01:60", ""}, {"-1:5:5", ""}, {"1:-5:5", ""},
    };
    for (const auto& [text, time] : rows)
        EXPECT_EQ(timestring(text), time) << text;
}
