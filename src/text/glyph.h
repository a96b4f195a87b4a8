// Drawing one character cell: the single place where character pixels are
// made.
#pragma once

#include <cstdint>

// Draws the glyph of `code` in the cell at column x, line y (1-based, whole
// window) blended between the ink and paper of the colour byte `colour`
// (ink in the high nibble; swapped while TextInverse is set), and records
// the code and the drawn colours in text memory.
void t_PrintSymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y);
