// Drawing on the terminal: the composed cells that changed go out through
// the terminal library, which sends only what differs on the terminal.
#include <curses.h>

#include <map>
#include <unistd.h>

#include "frontends/terminal/clipboard.h"
#include "frontends/terminal/session.h"
#include "frontends/terminal/terminfo.h"
#include "util/unicode.h"

namespace {

constexpr int textwindow = 0;

// The library's colour pairs, made as they are first needed.
std::map<std::pair<int, int>, int> pairs;

int pairfor(const CellLook& look)
{
    if (look.foreground < 0 && look.background < 0)
        return 0;
    const auto key = std::make_pair(look.foreground, look.background);
    const auto found = pairs.find(key);
    if (found != pairs.end())
        return found->second;
    const int number = int(pairs.size()) + 1;
    if (number >= COLOR_PAIRS || init_extended_pair(number, look.foreground, look.background) == ERR)
        return 0;
    pairs.emplace(key, number);
    return number;
}

void drawcell(int row, int column, const TermCell& cell)
{
    attr_t attributes = A_NORMAL;
    if (cell.Look.bold)
        attributes |= A_BOLD;
    if (cell.Look.italic)
        attributes |= A_ITALIC;
    if (cell.Look.reverse)
        attributes |= A_REVERSE;
    int pair = pairfor(cell.Look);
    const wchar_t text[2] = {wchar_t(cell.Character), L'\0'};
    cchar_t wide;
    setcchar(&wide, text, attributes, 0, &pair);
    mvadd_wch(row, column, &wide);
}

std::string keyname(char32_t letter)
{
    std::string name = "Alt+";
    name += unicode::toupper(unicode::encode(letter));
    return name;
}

std::string statusline()
{
    Session& s = session();
    if (!s.note.empty())
        return s.note;
    return keyname(logkeyletter) + " Protokoll   " + keyname(copykeyletter) +
           " Text kopieren   " + keyname(quitkeyletter) + " Beenden";
}

std::string logstatusline()
{
    Session& s = session();
    if (!s.note.empty())
        return s.note;
    return "\u2191 \u2193 Bild\u2191 Bild\u2193 Pos1 Ende: bl\u00E4ttern   Esc oder " +
           keyname(logkeyletter) + ": zur\u00FCck   " + keyname(copykeyletter) + " kopieren";
}

void composelog(Grid& grid)
{
    Session& s = session();
    const TextViewRecord* printer = textviewrecord(printerwindow);
    CellLook plain;
    const int visible = std::max(grid.rows - 2, 0);
    const std::vector<std::string> rows = logrows(printer->text, grid.columns);
    const int first = logfirstrow(s.log, int(rows.size()), visible);
    std::string title = s.windows[printerwindow].title;
    if (!printer->ruler.empty())
        title += " \u2014 " + printer->ruler;
    putbar(grid, 0, title);
    for (int row = 0; row < visible; ++row) {
        const size_t index = size_t(first + row);
        putline(grid, row + 1, index < rows.size() ? rows[index] : std::string(), plain);
    }
    putbar(grid, grid.rows - 1, logstatusline());
}

// Where a note goes when there is no status line: over the top row, which
// the conversation leaves blank.
void overlaynote(Grid& grid, const Layout& layout)
{
    if (layout.statusrow >= 0 || session().note.empty() || grid.rows < 2)
        return;
    putbar(grid, 0, session().note);
}

}  // namespace

void render()
{
    Session& s = session();
    s.viewmarked = false;
    s.logmarked = false;
    Grid& grid = s.wanted;
    grid.reset(COLS, LINES);
    CursorCell cursor;
    if (s.logopen) {
        composelog(grid);
    } else if (viewtextscreen(textwindow, s.text)) {
        const int columns = int(s.text.Columns);
        const int lines = int(s.text.Lines);
        const Layout layout = computelayout(COLS, LINES, columns, lines, lineinsight(s.text));
        if (layout.fits) {
            cursor = composescreen(grid, layout, s.text, s.depth, statusline());
            overlaynote(grid, layout);
        } else {
            composelines(grid, sizenote(COLS, LINES, columns, lines, COLS), CellLook{});
        }
    } else {
        const Layout layout = computelayout(COLS, LINES, 1, 1, 1);
        if (layout.statusrow >= 0)
            putbar(grid, layout.statusrow, statusline());
    }
    for (const Run& run : changedruns(s.shown, grid))
        for (int column = run.first; column < run.first + run.count; ++column)
            drawcell(run.row, column, grid.at(run.row, column));
    std::swap(s.shown, s.wanted);
    // The text cursor is an inverted cell; the terminal's own cursor stays
    // hidden but stands there, where screen readers look for it.
    move(cursor.row >= 0 ? cursor.row : LINES - 1, cursor.row >= 0 ? cursor.column : 0);
    refresh();
}

void forgetshown()
{
    session().shown.reset(0, 0);
}

bool copytoterminal(const std::string& text)
{
    Session& s = session();
    if (!s.clipboardescape)
        return false;
    // The clipboard escape (OSC 52) as the terminal's description spells
    // it: the selection ("c", the clipboard) and the text in base64.
    const std::string encoded = base64(text);
    const std::string whole = terminfoformat("Ms", "c", encoded.c_str());
    if (whole.empty())
        return false;
    refresh();
    size_t done = 0;
    while (done < whole.size()) {
        const ssize_t written = write(s.outputfd, whole.data() + done, whole.size() - done);
        if (written <= 0)
            return false;
        done += size_t(written);
    }
    return true;
}
