#include "util/numbers.h"

#include "util/unicode.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Fill longer than this is not made (the limit spaces() keeps as well).
constexpr int64_t mostfill = 32767;

size_t skipblanks(const std::string& text, size_t pos)
{
    while (pos < text.size() && text[pos] == ' ')
        ++pos;
    return pos;
}

// "1234567" -> "1.234.567".
std::string grouped(const std::string& digits)
{
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result.push_back('.');
        result.push_back(digits[i]);
    }
    return result;
}

}  // namespace

// Digits beyond the range of a 64-bit number stop growing it: the result
// stays at the largest (or smallest) value instead of wrapping around.
int64_t readnumber(const std::string& text)
{
    size_t pos = skipblanks(text, 0);
    const bool negative = pos < text.size() && text[pos] == '-';
    if (negative)
        pos = skipblanks(text, pos + 1);
    constexpr uint64_t limit = uint64_t{1} << 63;  // magnitude of INT64_MIN
    uint64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        const auto digit = static_cast<uint64_t>(text[pos] - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    if (negative)
        return magnitude == limit ? INT64_MIN : -static_cast<int64_t>(magnitude);
    return static_cast<int64_t>(std::min(limit - 1, magnitude));
}

std::array<int64_t, 3> threenumbers(const std::string& text)
{
    const std::string padded = text + "...";
    std::array<int64_t, 3> result{};
    size_t begin = 0;
    for (int64_t& number : result) {
        const size_t end = padded.find('.', begin);
        number = readnumber(padded.substr(begin, end - begin));
        begin = end + 1;
    }
    return result;
}

std::string numbertext(int64_t value, int64_t fill, int64_t width, bool grouping)
{
    std::string digits = std::to_string(value);
    const bool negative = value < 0;
    if (negative)
        digits.erase(0, 1);
    std::string result(negative ? 1 : 0, '-');
    result += grouping ? grouped(digits) : digits;
    if (fill < 0 || width <= static_cast<int64_t>(result.size()))
        return result;
    const int64_t missing = width - static_cast<int64_t>(result.size());
    if (missing > mostfill)
        return result;
    const std::string character = unicode::encode(static_cast<char32_t>(
        unicode::isscalar(fill) ? fill : 0));
    std::string padding;
    padding.reserve(character.size() * static_cast<size_t>(missing) + result.size());
    for (int64_t i = 0; i < missing; ++i)
        padding += character;
    return padding + result;
}

// Plain notation between 1e-4 and 1e16, scientific outside, both with the
// fewest digits that read back to the same value; then the German comma.
std::string decimaltext(double value)
{
    if (std::isnan(value))
        return "nan";
    const double magnitude = std::fabs(value);
    const bool plain = magnitude == 0 || (magnitude >= 1e-4 && magnitude < 1e16);
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       plain ? std::chars_format::fixed
                                             : std::chars_format::scientific);
    std::string text(buffer, written.ptr);
    for (char& c : text)
        if (c == '.')
            c = ',';
    if (text.size() >= 3 && text.ends_with(",0"))
        text.resize(text.size() - 2);
    return text;
}
