#include "frontends/terminal/grid.h"

#include <algorithm>
#include <array>

#include "util/unicode.h"

void Grid::reset(int newcolumns, int newrows)
{
    columns = std::max(newcolumns, 0);
    rows = std::max(newrows, 0);
    cells.assign(size_t(columns) * size_t(rows), TermCell{});
}

std::vector<Run> changedruns(const Grid& shown, const Grid& wanted, int gap)
{
    std::vector<Run> runs;
    const bool samesize = shown.columns == wanted.columns && shown.rows == wanted.rows;
    for (int row = 0; row < wanted.rows; ++row) {
        Run run{row, 0, 0};
        int column = 0;
        while (column < wanted.columns) {
            if (samesize && shown.at(row, column) == wanted.at(row, column)) {
                ++column;
                continue;
            }
            if (run.count > 0 && column - (run.first + run.count) < gap) {
                run.count = column - run.first + 1;
            } else {
                if (run.count > 0)
                    runs.push_back(run);
                run = Run{row, column, 1};
            }
            ++column;
        }
        if (run.count > 0)
            runs.push_back(run);
    }
    return runs;
}

char32_t displaycharacter(uint8_t code)
{
    // 127..160: the font's graphic characters: a checkerboard, a diamond, a
    // block, an arrow in three pieces, a ring, box lines thin and thick,
    // the cell's edges, a double cross, a double line and the shelf that
    // marks a non-breaking space.
    static constexpr std::array<char32_t, 34> graphics = {
        U'\u2592', U'\u25C6', U'\u2588', U'\u25C0', U'\u2550', U'\u25B6', U'\u25CB',
        U'\u250C', U'\u2510', U'\u2514', U'\u2518', U'\u2502', U'\u2503', U'\u2500',
        U'\u2501', U'\u251C', U'\u2524', U'\u252C', U'\u2534', U'\u253C', U'\u250F',
        U'\u2513', U'\u2517', U'\u251B', U'\u2523', U'\u252B', U'\u254B', U'\u2594',
        U'\u2581', U'\u258F', U'\u2595', U'\u256C', U'\u2550', U'\u2423',
    };
    if (code < 32)
        return U' ';
    if (code >= 127 && code <= 160)
        return graphics[size_t(code - 127)];
    return char32_t(code);
}

void putline(Grid& grid, int row, const std::string& text, const CellLook& look)
{
    if (row < 0 || row >= grid.rows)
        return;
    const std::vector<char32_t> characters = unicode::scalars(text);
    for (int column = 0; column < grid.columns; ++column) {
        TermCell& cell = grid.at(row, column);
        cell.Character = size_t(column) < characters.size() ? characters[size_t(column)] : U' ';
        cell.Look = look;
    }
}

void putbar(Grid& grid, int row, const std::string& text)
{
    CellLook bar;
    bar.reverse = true;
    std::string line(1, ' ');
    line += text;
    putline(grid, row, line, bar);
}

void composelines(Grid& grid, const std::vector<std::string>& lines, const CellLook& look)
{
    for (int row = 0; row < grid.rows; ++row)
        putline(grid, row, size_t(row) < lines.size() ? lines[size_t(row)] : std::string(), look);
}

CursorCell composescreen(Grid& grid, const Layout& layout, const t_TextScreen& screen,
                         ColourDepth depth, const std::string& status)
{
    std::fill(grid.cells.begin(), grid.cells.end(), TermCell{});
    CursorCell cursor;
    if (!layout.fits)
        return cursor;
    const int columns = int(screen.Columns);
    const CellLook margin = marginlook(screen.MarginColour, depth);
    const int top = layout.top - layout.frametop;
    const int bottom = layout.top + layout.lines + layout.framebottom;
    const int left = layout.left - layout.frameleft;
    const int right = layout.left + columns + layout.frameright;
    for (int row = std::max(top, 0); row < std::min(bottom, grid.rows); ++row)
        for (int column = std::max(left, 0); column < std::min(right, grid.columns); ++column)
            grid.at(row, column).Look = margin;
    for (int shown = 0; shown < layout.lines; ++shown) {
        const int line = layout.firstline + shown;  // 1-based text line
        const int row = layout.top + shown;
        if (row >= grid.rows || line > screen.Lines)
            break;
        for (int column = 0; column < columns && layout.left + column < grid.columns; ++column) {
            const t_TextCell& cell = screen.Cells[size_t((line - 1) * columns + column)];
            TermCell& out = grid.at(row, layout.left + column);
            out.Character = displaycharacter(cell.Code);
            out.Look = lookof(cell.Attribute, cell.Face, depth);
        }
        if (line == screen.CursorLine && screen.CursorColumn >= 1 && screen.CursorColumn <= columns) {
            cursor.row = row;
            cursor.column = layout.left + int(screen.CursorColumn) - 1;
        }
    }
    if (layout.statusrow >= 0)
        putbar(grid, layout.statusrow, status);
    return cursor;
}
