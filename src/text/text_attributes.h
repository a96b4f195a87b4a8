// Attributes, text areas, headers, clearing, inverted rectangles and the
// visible text cursor.
#pragma once

#include <cstdint>
#include <string>

#include "windows/font_file.h"

void t_Normal(uint8_t window);
void t_Inverse(uint8_t window);
void t_Reverse(uint8_t window);
void t_DisplayMode(uint8_t window, int64_t mode);
void t_Color(uint8_t window, int64_t colour);
void t_Area(uint8_t window, int64_t firstColumn, int64_t firstLine, int64_t lastColumn,
            int64_t lastLine);
void t_FullArea(uint8_t window);
void t_WindowFont(uint8_t window, const t_Font& font);
void t_Header(uint8_t window, const std::string& left, const std::string& right);
void t_ClearEndOfLine(uint8_t window);
void t_ClearEndOfWindow(uint8_t window);
void t_InvertRect(uint8_t window, int64_t firstColumn, int64_t firstLine, int64_t lastColumn,
                  int64_t lastLine);
void t_CursorDraw(uint8_t window);
void t_CursorOn(uint8_t window);
void t_CursorOff(uint8_t window);

// One cell of the window's text memory (1-based column and line of the whole
// grid). Answers false for a cell outside the grid or outside the text block,
// so redraws driven by a record that was changed by hand never read beyond
// the window's memory.
bool readtextcell(uint8_t window, int64_t column, int64_t line, uint8_t& code,
                  uint8_t& attribute);

// Draws what cell (column, from) of text memory holds into cell (column, to)
// with its stored attribute, ink and paper swapped when `inverse` is set.
// Nothing for a cell readtextcell refuses.
void redrawcell(uint8_t window, int64_t column, int64_t from, int64_t to, bool inverse);

// Blanks columns first..last of `line` with spaces in the current colour, as
// t_PrintSymbol would cell by cell (the freed line of a scroll, the rest of
// a line). Nothing when first is beyond last.
void blankcells(uint8_t window, int64_t first, int64_t last, int64_t line);
