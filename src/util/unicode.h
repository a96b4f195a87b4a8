// Unicode text handling for the whole runtime: the one place that calls ICU.
//
// Strings are UTF-8 in std::string. A "character" (the unit of positions and
// lengths in the string helpers and the data rows) is an extended grapheme
// cluster, what a reader sees as one letter: "ä" written as "a" plus a
// combining diaeresis is one character, and so is a family emoji.
// Invalid UTF-8 never crashes anything here: each bad byte counts as one
// character (and as U+FFFD where scalars are asked for).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace unicode {

// The grapheme clusters of `text`, in order, each as its own UTF-8 string.
std::vector<std::string> clusters(std::string_view text);

// Number of grapheme clusters.
int64_t length(std::string_view text);

// `count` clusters starting at cluster index `first` (0-based); clamped to
// the text, empty when nothing is left.
std::string slice(std::string_view text, int64_t first, int64_t count);

// The Unicode scalar values of `text`; each invalid byte gives U+FFFD.
std::vector<char32_t> scalars(std::string_view text);

// The first scalar of `text`, 0 for the empty text (U+FFFD for a bad byte).
char32_t firstscalar(std::string_view text);

// UTF-8 for one code point; a value that is no scalar (surrogate, above
// U+10FFFF) gives U+0000.
std::string encode(char32_t code);

// True for the Unicode scalar values: below U+D800, or U+E000..U+10FFFF.
bool isscalar(int64_t code);

// Full upper-casing in the root locale: "ß" becomes "SS", "ä" "Ä".
std::string toupper(std::string_view text);

// The code of the first character of the lower-case form of `code`.
char32_t lowercase(char32_t code);

// Canonical composition (NFC).
std::string nfc(std::string_view text);

// Position (0-based, in clusters of `text`) of the first occurrence of
// `search` in `text`, comparing canonically equivalent sequences as equal;
// -1 when absent or when `search` is empty.
int64_t find(std::string_view text, std::string_view search);

// True when `search` occurs in `text` (canonical equivalence, as `find`).
bool contains(std::string_view text, std::string_view search);

// `bytes` as a string when they are valid UTF-8, nothing otherwise.
std::optional<std::string> decodeutf8(const std::vector<uint8_t>& bytes);
std::optional<std::string> decodeutf8(std::string_view bytes);

}  // namespace unicode
