// The graphic views as text for assistive technology. A screen reader sees
// each view View00..View07 as a terminal whose text is the window's screen
// text (the lines as Text kopieren copies them, line feeds between them)
// with the caret at the text cursor, and hears what the program prints
// through the text-changed and caret-moved events that follow the views'
// marks. None of it runs while no assistive technology listens.
#pragma once

#include <QAccessible>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class GraphicView;

// Installs the factory that gives the graphic views their accessible text
// and the top-level windows the window role (main thread, once at start; a
// second call does nothing).
void installaccessibleviews();

// The view's pixels changed (it was marked or drawn). While assistive
// technology listens, the change is announced within a fifth of a second;
// the changes in between coalesce into one announcement. Otherwise this
// returns at once. Main thread.
void noteviewchange(GraphicView* view);

// ---- The text logic ------------------------------------------------------------

// The accessible text of a screen text: line feeds for the carriage
// returns, control characters (which no reader may be sent) as blanks.
QString accessibletext(const std::string& screentext);

// The offset in `text` of the cell at 1-based `column` and `line`. A cell
// past the end of its (trimmed) line is the line's end; a line past the
// last one is the end of the text.
int caretoffset(const QString& text, int64_t column, int64_t line);

// The cell (0-based column and line) that holds offset `offset` of `text`.
struct CellPosition {
    int column = 0;
    int line = 0;
};
CellPosition cellofoffset(const QString& text, int offset);

// One change of a text: at `position` (in the text as the changes before it
// left it) `removed` gives way to `inserted`.
struct TextChange {
    int position = 0;
    QString removed;
    QString inserted;
    bool operator==(const TextChange&) const = default;
};

// The changes that turn `before` into `after`, top to bottom. Lines are
// matched first (longest common subsequence), so a screen that scrolled is
// one removal at the top and one insertion at the bottom rather than the
// whole screen again; within the lines between matches only the part that
// differs counts, so a typed character is an insertion of that character.
std::vector<TextChange> textchanges(const QString& before, const QString& after);

// The events that tell a reader how the text of `view` went from `before`
// (caret `beforecaret`) to `after` (caret `aftercaret`): for each change a
// text-inserted, text-removed or text-updated event, then a caret-moved
// event when the caret moved or the text changed.
std::vector<std::unique_ptr<QAccessibleEvent>> changeevents(QObject* view, const QString& before,
                                                            int beforecaret, const QString& after,
                                                            int aftercaret);
