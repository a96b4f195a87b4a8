// String helpers in the home-computer manner: 1-based positions counted in
// characters (grapheme clusters), never bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A byte string: each byte one character code.
struct Text {
    std::vector<uint8_t> Elements;
};

std::string charat(const std::string& text, int64_t position);
std::string fromposition(const std::string& text, int64_t position);
std::string substring(const std::string& text, int64_t start, int64_t length);
std::string rightpart(const std::string& text, int64_t n);
std::string leftpart(const std::string& text, int64_t n);
int64_t findtext(const std::string& text, const std::string& search, int64_t start);
std::string firstline(const std::string& text);
// The text with a line feed for every carriage return and every carriage
// return + line feed pair, as Linux files and clipboards expect.
std::string linuxlineends(std::string_view text);
// The pieces between the separator bytes, in order; the empty text is one
// empty piece, a separator at the end leaves an empty last piece.
std::vector<std::string> splitat(const std::string& text, char separator);
std::string spaces(int64_t n);
std::string repeattext(const std::string& text, int64_t n);
std::string justify(const std::string& left, const std::string& right, int64_t width);
int64_t asc(const std::string& text);
int64_t lowercasecode(int64_t code);
std::vector<uint8_t> filledbytes(uint8_t value, int64_t count);
// The low `digits` hexadecimal digits of `value`, upper case, zero-filled.
std::string hexdigits(uint64_t value, int digits);
// The low 16 bits as four hexadecimal digits.
std::string hexword(int64_t value);

// An escaped character: code 27, four hexadecimal digits and code 29 stand
// for the character with that code (characters beyond the one-byte codes
// travel through the line editor and byte texts this way).
constexpr char32_t escapestart = 27;
constexpr char32_t escapeend = 29;
constexpr size_t escapelength = 6;
struct Escaped {
    // none: the units do not have the escape's shape; broken: its digits
    // are no hexadecimal digits or give no Unicode scalar value.
    enum Kind : uint8_t { none, broken, character } kind = none;
    char32_t code = 0;
};
// Reads the escape at the start of `units`, of which `count` are there.
// What a broken escape means is the caller's choice.
Escaped readescape(const char32_t* units, size_t count);

// Bytes as ISO 8859-1 characters, with escaped characters decoded; a
// broken escape becomes U+0000.
std::string texttostring(const std::vector<uint8_t>& bytes);
