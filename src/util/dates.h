// German date and time texts.
#pragma once

#include <cstdint>
#include <string>

std::string nowstring();  // "04.12.2026 18:05:33", local time
std::string datetimetext(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute,
                         int64_t second);
std::string datestring(const std::string& text);  // "04.12.2026"; empty if invalid
std::string timestring(const std::string& text);  // "18:05:33"; empty if invalid
// "04.12.2026" and "18:05:33" as "2026-12-04-18-05-33", a stamp for file
// names that sort by time; without a time "2026-12-04".
std::string filestamp(const std::string& date, const std::string& time);
