// Reading a window's text memory in tests, so assertions read like the
// screen: screen_text(0) is the whole grid, one line per text line.
#pragma once

#include <cstdint>
#include <string>

// Line `line` (1-based) of window `window`'s character plane as UTF-8
// (codes 128..255 as Latin-1 letters), trailing blanks kept.
std::string screen_line(uint8_t window, int64_t line);
// All lines, each followed by '\n'.
std::string screen_text(uint8_t window);
// The same with trailing blanks of each line and trailing empty lines cut.
std::string screen_trimmed(uint8_t window);
// Character code and attribute byte of one cell (1-based).
uint8_t cell_code(uint8_t window, int64_t column, int64_t line);
uint8_t cell_attribute(uint8_t window, int64_t column, int64_t line);
