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
std::string hexword(int64_t value);
// Bytes as ISO 8859-1 characters, with escaped characters (27, four hex
// digits, 29) decoded.
std::string texttostring(const std::vector<uint8_t>& bytes);
