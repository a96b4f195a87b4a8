// The terminal's cells as the front-end wants them, composed from the
// window's text, the layout and the status line; and which cells differ
// from what the terminal shows, so that only those are sent.
#pragma once

#include <string>
#include <vector>

#include "frontends/terminal/colours.h"
#include "frontends/terminal/layout.h"
#include "platform/entry_points.h"

struct TermCell {
    char32_t Character = U' ';
    CellLook Look;
    bool operator==(const TermCell&) const = default;
};

struct Grid {
    int columns = 0;
    int rows = 0;
    std::vector<TermCell> cells;  // row by row

    void reset(int newcolumns, int newrows);
    TermCell& at(int row, int column) { return cells[size_t(row * columns + column)]; }
    const TermCell& at(int row, int column) const { return cells[size_t(row * columns + column)]; }
};

// A stretch of changed cells in one row.
struct Run {
    int row = 0;
    int first = 0;
    int count = 0;
    bool operator==(const Run&) const = default;
};

// The cells of `wanted` that differ from `shown`, as runs within rows; two
// runs in a row with fewer than `gap` unchanged cells between them are
// joined (sending a few unchanged cells costs less than moving the cursor).
// A grid of another size differs everywhere.
std::vector<Run> changedruns(const Grid& shown, const Grid& wanted, int gap = 4);

// The character a text memory code shows as: Latin-1 for letters, the
// graphic characters as their Unicode look-alikes, control codes blank.
char32_t displaycharacter(uint8_t code);

// The window's text placed by `layout`, the frame in the margin colour and
// the status line (`status`, cut to the width) into `grid` of the terminal's
// size. Answers the terminal cell of the text cursor (row, column), or -1
// for the row when the cursor line is not shown.
struct CursorCell {
    int row = -1;
    int column = 0;
};
CursorCell composescreen(Grid& grid, const Layout& layout, const t_TextScreen& screen,
                         ColourDepth depth, const std::string& status);

// Lines of text at the top left, each cut to the width, the rest blank.
void composelines(Grid& grid, const std::vector<std::string>& lines, const CellLook& look);

// A line of text into row `row` from column 0, cut to the width and
// padded with blanks.
void putline(Grid& grid, int row, const std::string& text, const CellLook& look);
// A bar across the terminal in reverse video, its text one column in.
void putbar(Grid& grid, int row, const std::string& text);
