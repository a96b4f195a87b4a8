// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "util/unicode.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

namespace unicode {
std::vector<std::string> clusters(std::string_view text) { return {}; }
int64_t length(std::string_view text) { return {}; }
std::string slice(std::string_view text, int64_t first, int64_t count) { return {}; }
std::vector<char32_t> scalars(std::string_view text) { return {}; }
char32_t firstscalar(std::string_view text) { return {}; }
std::string encode(char32_t code) { return {}; }
bool isscalar(int64_t code) { return {}; }
std::string toupper(std::string_view text) { return {}; }
char32_t lowercase(char32_t code) { return {}; }
std::string nfc(std::string_view text) { return {}; }
int64_t find(std::string_view text, std::string_view search) { return {}; }
bool contains(std::string_view text, std::string_view search) { return {}; }
std::optional<std::string> decodeutf8(const std::vector<uint8_t>& bytes) { return {}; }
std::optional<std::string> decodeutf8(std::string_view bytes) { return {}; }
}
