#include "util/dates.h"

#include "util/numbers.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace {

using Triple = std::array<int64_t, 3>;

std::string replaced(std::string text, const std::string& from, char to)
{
    std::replace_if(
        text.begin(), text.end(), [&](char c) { return from.find(c) != std::string::npos; }, to);
    return text;
}

// The three numbers of `text` ("a.b.c"), each 0 taken from `current`.
Triple completed(const std::string& text, const Triple& current)
{
    Triple given = threenumbers(text);
    for (size_t i = 0; i < given.size(); ++i)
        if (given[i] == 0)
            given[i] = current[i];
    return given;
}

// 4 -> "04", 12 -> "12"; only called with checked dates and times.
std::string twodigits(int64_t number)
{
    return numbertext(number, '0', 2, false);
}

bool leapyear(int64_t year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int64_t monthlength(int64_t month, int64_t year)
{
    switch (month) {
    case 4: case 6: case 9: case 11:
        return 30;
    case 2:
        return leapyear(year) ? 29 : 28;
    default:
        return 31;
    }
}

bool validdate(int64_t day, int64_t month, int64_t year)
{
    return day >= 1 && year >= 1 && month >= 1 && month <= 12 && day <= monthlength(month, year);
}

bool validtime(int64_t hour, int64_t minute, int64_t second)
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

}  // namespace

std::string nowstring()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return datetimetext(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec);
}

std::string datetimetext(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                         int64_t second)
{
    return twodigits(day) + "." + twodigits(month) + "." + numbertext(year, '0', 4, false) + " " +
           twodigits(hour) + ":" + twodigits(minute) + ":" + twodigits(second);
}

std::string datestring(const std::string& text)
{
    const Triple today = threenumbers(nowstring().substr(0, 10));
    const auto [day, month, year] = completed(replaced(text, ",", '.'), today);
    if (!validdate(day, month, year))
        return {};
    return twodigits(day) + "." + twodigits(month) + "." + std::to_string(year);
}

std::string timestring(const std::string& text)
{
    const Triple now = threenumbers(replaced(nowstring().substr(11), ":", '.'));
    const auto [hour, minute, second] = completed(replaced(text, ",:", '.'), now);
    if (!validtime(hour, minute, second))
        return {};
    return twodigits(hour) + ":" + twodigits(minute) + ":" + twodigits(second);
}

std::string filestamp(const std::string& date, const std::string& time)
{
    const auto [day, month, year] = threenumbers(date);
    std::string stamp = numbertext(year, '0', 4, false) + "-" + twodigits(month) + "-" + twodigits(day);
    if (time.empty())
        return stamp;
    for (const int64_t part : threenumbers(replaced(time, ":", '.')))
        stamp.append("-").append(twodigits(part));
    return stamp;
}
