// The text a screen reader gets of a graphic view: the screen text with
// line feeds, the caret offset of the text cursor, and the changes that are
// announced when the screen changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontends/qt/accessible_views.h"

namespace {

QString q(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Applies the changes in order, each at its position in the text the
// changes before it left.
QString applied(QString text, const std::vector<TextChange>& changes)
{
    for (const TextChange& change : changes) {
        EXPECT_EQ(text.mid(change.position, change.removed.size()), change.removed)
            << "at " << change.position << " in " << text.toStdString();
        text.replace(change.position, change.removed.size(), change.inserted);
    }
    return text;
}

TEST(AccessibleText, CarriageReturnsBecomeLineFeedsAndControlCodesBlanks)
{
    EXPECT_EQ(accessibletext("Kopf\r\r  =>Hallo"), q("Kopf\n\n  =>Hallo"));
    EXPECT_EQ(accessibletext("gr\xC3\xBCn|-"), q("grün|-"));
    EXPECT_EQ(accessibletext(std::string("a\0b\x1B" "c\x7F", 6)), q("a b c "));
    EXPECT_EQ(accessibletext(""), QString());
}

// The caret sits on the cell of the text cursor; the lines are trimmed, so
// a cursor right of a line's last character is at the line's end and one
// below the last line at the end of the text.
TEST(AccessibleText, CaretOffsetOfTheTextCursor)
{
    const QString text = q("Kopf\n\n  =>Hallo\nIch begrüsse dich!");
    struct Row {
        int64_t column, line;
        int offset;
    };
    const Row rows[] = {
        {1, 1, 0},    {3, 1, 2},  {5, 1, 4},    {80, 1, 4},    // first line, its end, past it
        {1, 2, 5},    {40, 2, 5},                                // an empty line
        {1, 3, 6},    {5, 3, 10}, {10, 3, 15},  {11, 3, 15},   // "  =>Hallo": at H, after o
        {18, 4, 33},  {19, 4, 34}, {80, 4, 34},                 // the last line: umlaut counts once
        {1, 5, 34},   {7, 25, 34},                               // below the text
        {0, 3, 6},    {-4, 1, 0},                                // left of the grid
    };
    for (const Row& row : rows)
        EXPECT_EQ(caretoffset(text, row.column, row.line), row.offset)
            << "column " << row.column << ", line " << row.line;
    EXPECT_EQ(caretoffset(QString(), 3, 2), 0);
}

TEST(AccessibleText, CellOfAnOffset)
{
    const QString text = q("Kopf\n\n  =>Hallo");
    struct Row {
        int offset, column, line;
    };
    const Row rows[] = {{0, 0, 0}, {4, 4, 0}, {5, 0, 1}, {6, 0, 2}, {10, 4, 2}, {15, 9, 2}, {99, 9, 2}, {-3, 0, 0}};
    for (const Row& row : rows) {
        const CellPosition cell = cellofoffset(text, row.offset);
        EXPECT_EQ(cell.column, row.column) << "offset " << row.offset;
        EXPECT_EQ(cell.line, row.line) << "offset " << row.offset;
    }
    // Both ways agree on every character of the text.
    for (int offset = 0; offset < text.size(); ++offset) {
        const CellPosition cell = cellofoffset(text, offset);
        EXPECT_EQ(caretoffset(text, cell.column + 1, cell.line + 1), offset);
    }
}

// What a screen reader is told for the changes a conversation makes: each
// list turns the text before into the text after when applied in order,
// and says no more than what changed.
TEST(AccessibleText, ChangesOfTheScreen)
{
    struct Row {
        const char* what;
        const char* before;
        const char* after;
        std::vector<TextChange> changes;
    };
    const std::vector<Row> rows = {
        {"nothing", "Kopf\n=>", "Kopf\n=>", {}},
        {"a typed character", "Kopf\n=>Hal", "Kopf\n=>Hall", {{10, q(""), q("l")}}},
        {"characters typed inside the line", "=>Hlo", "=>Hallo", {{3, q(""), q("al")}}},
        {"Backspace", "=>Hallo", "=>Hall", {{6, q("o"), q("")}}},
        {"the reply after Return", "Kopf\n=>Hallo", "Kopf\n=>Hallo\nIch begrüsse dich!\n=>",
         {{12, q(""), q("\nIch begrüsse dich!\n=>")}}},
        // The old prompt line equals the new one; the news still follows the
        // old prompt and ends at the new one, where the caret is.
        {"typing and reply at once", "Kopf\n=>", "Kopf\n=>Hallo\nIch begrüsse dich!\n=>",
         {{7, q(""), q("Hallo\nIch begrüsse dich!\n=>")}}},
        {"a scroll: one line off the top, the new ones at the bottom",
         "Kopf\n=>eins\nAntwort 1\n=>zwei", "Kopf\nAntwort 1\n=>zwei\nAntwort 2\n=>",
         {{5, q("=>eins\n"), q("")}, {21, q(""), q("\nAntwort 2\n=>")}}},
        {"a line rewritten in place", "Kopf\nalt\nFuß", "Kopf\nneu\nFuß", {{5, q("alt"), q("neu")}}},
        {"two lines changed, the second one longer", "x\n1\ny\n2", "x\nA\ny\nBB",
         {{2, q("1"), q("A")}, {6, q("2"), q("BB")}}},
        {"a line that grows before one that shrinks", "x\n11\ny\n222", "x\n1111\ny\n2",
         {{4, q(""), q("11")}, {10, q("22"), q("")}}},
        {"the end message far below", "Kopf\n=>ende", "Kopf\n=>ende\n\n\n(Programm Ende)",
         {{11, q(""), q("\n\n\n(Programm Ende)")}}},
        {"the screen cleared", "Kopf\n=>", "", {{0, q("Kopf\n=>"), q("")}}},
        {"the first text", "", "Kopf\n\n=>", {{0, q(""), q("Kopf\n\n=>")}}},
    };
    for (const Row& row : rows) {
        const QString before = q(row.before);
        const QString after = q(row.after);
        const std::vector<TextChange> changes = textchanges(before, after);
        EXPECT_EQ(applied(before, changes), after) << row.what;
        ASSERT_EQ(changes.size(), row.changes.size()) << row.what;
        for (size_t i = 0; i < changes.size(); ++i) {
            EXPECT_EQ(changes[i].position, row.changes[i].position) << row.what << ", change " << i;
            EXPECT_EQ(changes[i].removed.toStdString(), row.changes[i].removed.toStdString()) << row.what;
            EXPECT_EQ(changes[i].inserted.toStdString(), row.changes[i].inserted.toStdString()) << row.what;
        }
    }
}

// A full screen of lines that all move, and a screen of equal (empty)
// lines that gains some: whatever the matching picks, the changes make the
// new text and keep the unchanged lines out of the news.
TEST(AccessibleText, ChangesOfWholeScreens)
{
    QString before = q("Kopf");
    QString after = q("Kopf");
    for (int line = 1; line <= 24; ++line) {
        before += q("\nZeile ") + QString::number(line);
        after += q("\nZeile ") + QString::number(line + 3);
    }
    std::vector<TextChange> changes = textchanges(before, after);
    EXPECT_EQ(applied(before, changes), after);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].removed, q("Zeile 1\nZeile 2\nZeile 3\n"));
    EXPECT_EQ(changes[1].inserted, q("\nZeile 25\nZeile 26\nZeile 27"));

    before = q("\n\nKopf\n\n\n=>eins\n\nAntwort\n\n");
    after = q("\n\nKopf\n\n\n=>eins\n\nAntwort\n\n=>zwei\n\nNoch eine\n\n");
    changes = textchanges(before, after);
    EXPECT_EQ(applied(before, changes), after);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].inserted.trimmed(), q("=>zwei\n\nNoch eine"));
}

}  // namespace
