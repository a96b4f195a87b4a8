// Reading and writing numbers the way a home-computer program does.
#pragma once

#include <array>
#include <cstdint>
#include <string>

int64_t readnumber(const std::string& text);
std::array<int64_t, 3> threenumbers(const std::string& text);
std::string numbertext(int64_t value, int64_t fill, int64_t width, bool grouping);
std::string decimaltext(double value);
