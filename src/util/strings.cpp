// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "util/strings.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::string charat(const std::string& text, int64_t position) { return {}; }
std::string fromposition(const std::string& text, int64_t position) { return {}; }
std::string substring(const std::string& text, int64_t start, int64_t length) { return {}; }
std::string rightpart(const std::string& text, int64_t n) { return {}; }
std::string leftpart(const std::string& text, int64_t n) { return {}; }
int64_t findtext(const std::string& text, const std::string& search, int64_t start) { return {}; }
std::string firstline(const std::string& text) { return {}; }
std::string spaces(int64_t n) { return {}; }
std::string repeattext(const std::string& text, int64_t n) { return {}; }
std::string justify(const std::string& left, const std::string& right, int64_t width) { return {}; }
int64_t asc(const std::string& text) { return {}; }
int64_t lowercasecode(int64_t code) { return {}; }
std::vector<uint8_t> filledbytes(uint8_t value, int64_t count) { return {}; }
std::string hexword(int64_t value) { return {}; }
std::string texttostring(const std::vector<uint8_t>& bytes) { return {}; }
