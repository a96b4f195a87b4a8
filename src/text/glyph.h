// Drawing one character cell: the single place where character pixels are
// made.
#pragma once

#include <cstdint>

// Draws the glyph of `code` in the cell at column x, line y (1-based, whole
// window) blended between the ink and paper of the colour byte `colour`
// (ink in the high nibble; swapped while TextInverse is set), and records
// the code and the drawn colours in text memory.
void t_PrintSymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y);

// t_PrintSymbol with ink and paper swapped when `inverse` is set, whatever
// the window's TextInverse says; for a graphic window only.
void printsymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y, bool inverse);

// Where a character for a graphic window goes: with TextRedirectOutput 2 it
// is written to standard output, with any value but 1 it is dropped, and a
// window without text memory prints "<op>: Window #<n> not initialized.".
// Answers true when the character is to be drawn in the window.
bool routetext(const char* op, uint8_t window, uint8_t code);
