#include "util/strings.h"

#include "startup/tables.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {

// spaces and repeattext make nothing longer than this many copies: the
// limit of the old string type, and a guard against absurd counts.
constexpr int64_t mostcopies = 32767;

// filledbytes refuses larger arrays: the whole video memory is 16 MiB, so a
// count beyond this is a mistake, and it should fail with a message rather
// than take all of the machine's memory.
constexpr int64_t mostfilledbytes = int64_t{1} << 30;

}  // namespace

std::string charat(const std::string& text, int64_t position)
{
    if (position < 1)
        return {};
    return unicode::slice(text, position - 1, 1);
}

std::string fromposition(const std::string& text, int64_t position)
{
    if (position < 2)
        return text;
    return unicode::slice(text, position - 1, INT64_MAX);
}

std::string substring(const std::string& text, int64_t start, int64_t length)
{
    if (length < 1)
        return {};
    if (start < 2)
        return unicode::slice(text, 0, length);
    return unicode::slice(text, start - 1, length);
}

std::string rightpart(const std::string& text, int64_t n)
{
    if (n < 1)
        return {};
    const int64_t total = unicode::length(text);
    if (n >= total)
        return text;
    return unicode::slice(text, total - n, n);
}

std::string leftpart(const std::string& text, int64_t n)
{
    if (n < 1)
        return {};
    return unicode::slice(text, 0, n);
}

// A start below 1 searches the whole text, like a start of 1, and answers
// positions in the text: a find at the front is 1, never 0 (which means
// "not found").
int64_t findtext(const std::string& text, const std::string& search, int64_t start)
{
    if (start < 1)
        start = 1;
    const int64_t offset = unicode::find(fromposition(text, start), search);
    return offset < 0 ? 0 : offset + start;
}

std::string firstline(const std::string& text)
{
    size_t end = text.find('\r');
    if (end == std::string::npos)
        end = text.find('\n');
    return end == std::string::npos ? text : text.substr(0, end);
}

std::string linuxlineends(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] != '\r') {
            result.push_back(text[pos]);
            continue;
        }
        result.push_back('\n');
        if (pos + 1 < text.size() && text[pos + 1] == '\n')
            ++pos;
    }
    return result;
}

std::vector<std::string> splitat(const std::string& text, char separator)
{
    std::vector<std::string> pieces(1);
    for (const char byte : text) {
        if (byte == separator)
            pieces.emplace_back();
        else
            pieces.back() += byte;
    }
    return pieces;
}

std::string spaces(int64_t n)
{
    if (n < 1 || n > mostcopies)
        return {};
    return std::string(static_cast<size_t>(n), ' ');
}

std::string repeattext(const std::string& text, int64_t n)
{
    if (n < 1 || n > mostcopies || text.empty())
        return {};
    std::string result;
    result.reserve(text.size() * static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i)
        result += text;
    return result;
}

std::string justify(const std::string& left, const std::string& right, int64_t width)
{
    if (width < 1)
        return {};
    // Lengths are far below 2^62, so with width >= 1 nothing overflows.
    const int64_t gap = width - unicode::length(left) - unicode::length(right);
    if (gap >= 1)
        return left + spaces(gap) + right;
    return leftpart(left + right, width);
}

int64_t asc(const std::string& text)
{
    return unicode::firstscalar(text);
}

int64_t lowercasecode(int64_t code)
{
    if (!unicode::isscalar(code))
        code = 0;
    return unicode::lowercase(static_cast<char32_t>(code));
}

std::vector<uint8_t> filledbytes(uint8_t value, int64_t count)
{
    if (count < 1)
        return {};
    if (count > mostfilledbytes) {
        diag_line("filledbytes: Count " + std::to_string(count) + " is too large.");
        return {};
    }
    try {
        return std::vector<uint8_t>(static_cast<size_t>(count), value);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    diag_line("filledbytes: Not enough memory for " + std::to_string(count) + " bytes.");
    return {};
}

std::string hexdigits(uint64_t value, int digits)
{
    std::string result(static_cast<size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        result[static_cast<size_t>(i)] = static_cast<char>(hexdigittable[value & 0xF]);
    return result;
}

std::string hexword(int64_t value)
{
    return hexdigits(static_cast<uint64_t>(value), 4);
}

Escaped readescape(const char32_t* units, size_t count)
{
    if (count < escapelength || units[0] != escapestart || units[escapelength - 1] != escapeend)
        return {};
    char32_t code = 0;
    for (size_t i = 1; i < escapelength - 1; ++i) {
        const int64_t digit = units[i] < 256 ? hexvaluetable[units[i]] : -1;
        if (digit < 0)
            return {Escaped::broken};
        code = code * 16 + static_cast<char32_t>(digit);
    }
    if (!unicode::isscalar(code))
        return {Escaped::broken};
    return {Escaped::character, code};
}

std::string texttostring(const std::vector<uint8_t>& bytes)
{
    std::string result;
    result.reserve(bytes.size());
    for (size_t pos = 0; pos < bytes.size();) {
        Escaped escaped;
        if (bytes[pos] == escapestart && bytes.size() - pos >= escapelength) {
            char32_t units[escapelength];
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(pos), escapelength, units);
            escaped = readescape(units, escapelength);
        }
        if (escaped.kind == Escaped::none) {
            result += unicode::encode(bytes[pos]);
            ++pos;
            continue;
        }
        result += unicode::encode(escaped.kind == Escaped::character ? escaped.code : 0);
        pos += escapelength;
    }
    return result;
}
