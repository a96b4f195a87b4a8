#include "frontends/terminal/layout.h"

#include <algorithm>

#include "frontends/terminal/wrap.h"

Layout computelayout(int terminalcolumns, int terminalrows, int textcolumns, int textlines,
                     int keepline)
{
    Layout layout;
    if (terminalcolumns < textcolumns || terminalrows < 1 || textcolumns < 1 || textlines < 1)
        return layout;
    layout.fits = true;
    int rows = terminalrows;
    if (rows > textlines) {
        layout.statusrow = rows - 1;
        --rows;
    }
    const int sparecolumns = terminalcolumns - textcolumns;
    layout.left = sparecolumns / 2;
    layout.frameleft = std::min(framecolumns, layout.left);
    layout.frameright = std::min(framecolumns, sparecolumns - layout.left);
    if (rows >= textlines) {
        const int sparerows = rows - textlines;
        layout.top = sparerows / 2;
        layout.lines = textlines;
        layout.frametop = std::min(framelines, layout.top);
        layout.framebottom = std::min(framelines, sparerows - layout.top);
        return layout;
    }
    layout.lines = rows;
    const int keep = std::clamp(keepline, 1, textlines);
    layout.firstline = std::clamp(keep - rows + 1, 1, textlines - rows + 1);
    return layout;
}

int lineinsight(const t_TextScreen& screen)
{
    int line = int(std::clamp<int64_t>(screen.CursorLine, 1, std::max<int64_t>(screen.Lines, 1)));
    for (int64_t below = screen.Lines; below > line; --below) {
        const auto first = screen.Cells.begin() + (below - 1) * screen.Columns;
        if (std::any_of(first, first + screen.Columns,
                        [](const t_TextCell& cell) { return cell.Code != 32 && cell.Code != 0; }))
            return int(below);
    }
    return line;
}

std::vector<std::string> sizenote(int terminalcolumns, int terminalrows, int textcolumns,
                                  int textlines, int width)
{
    const std::string text = "Sprecho braucht ein Terminal mit mindestens " +
                             std::to_string(textcolumns) + " Spalten (ganz zu sehen ab " +
                             std::to_string(textcolumns) + " \u00D7 " + std::to_string(textlines) +
                             "). Dieses hat " + std::to_string(terminalcolumns) + " \u00D7 " +
                             std::to_string(terminalrows) + ". Bitte das Fenster vergr\u00F6\u00DFern.";
    return wraplines(text, width);
}
