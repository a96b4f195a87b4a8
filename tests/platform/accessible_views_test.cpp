// What assistive technology finds in the desktop's windows: the graphic
// views as terminals holding the screen text with the caret at the text
// cursor, the events for a change of the screen, and the log, console and
// clipboard views as named text.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>
#include <string>

#include "frontends/qt/accessible_views.h"
#include "frontends/qt/app_delegate.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/text_windows.h"
#include "platform/platform.h"
#include "support/program_thread.h"
#include "text/text_output.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

QAccessibleInterface* accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString wholetext(QAccessibleInterface* interface)
{
    QAccessibleTextInterface* text = interface->textInterface();
    return text == nullptr ? QString() : text->text(0, text->characterCount());
}

void setupwindow0(int64_t columns, int64_t lines, const std::string& printed, int cursorleft = 0)
{
    ASSERT_TRUE(run_on_program_thread([=] {
        t_InitWindow(0, 24, columns, lines, 8, "MenloBold 16x32.font");
        t_Print(0, printed);
        for (int step = 0; step < cursorleft; ++step)
            t_CursorLeft(0);
    }));
}

// The screen as Text kopieren has it (blanks at the line ends gone, the
// graphic character as its look-alike), line feeds between the lines, the
// caret on the cell of the text cursor, and the characters' places on the
// screen.
TEST(AccessibleViews, ConversationViewIsATerminalHoldingTheScreenText)
{
    setupwindow0(20, 4, "Guten Tag!   \r\u008A \u00E4\r=>Hallo", 3);
    QAccessibleInterface* view = accessible(appdelegate().t_View00);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->role(), QAccessible::Terminal);
    EXPECT_EQ(view->text(QAccessible::Name), QString::fromUtf8("Sprecho – Unterhaltung"));
    EXPECT_FALSE(view->text(QAccessible::Description).isEmpty());
    EXPECT_TRUE(view->state().multiLine);
    ASSERT_NE(view->textInterface(), nullptr);
    EXPECT_EQ(wholetext(view), QString::fromUtf8("Guten Tag!\n| ä\n=>Hallo"));
    QAccessibleTextInterface* text = view->textInterface();
    EXPECT_EQ(text->characterCount(), 22);
    EXPECT_EQ(text->cursorPosition(), 15 + 4) << "on the first l of Hallo";
    EXPECT_EQ(text->text(15, 17), QStringLiteral("=>"));
    EXPECT_EQ(text->text(19, -1), QStringLiteral("llo"));
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(16, QAccessible::LineBoundary, &start, &end), QStringLiteral("=>Hallo"));

    const QRect first = text->characterRect(0);
    const QRect second = text->characterRect(1);
    const QRect below = text->characterRect(11);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(first.topLeft(), appdelegate().t_View00->mapToGlobal(QPoint(0, 0)));
    EXPECT_EQ(second.left(), first.right() + 1);
    EXPECT_EQ(below.left(), first.left());
    EXPECT_EQ(below.top(), first.bottom() + 1);
    for (int offset = 0; offset <= text->characterCount(); ++offset)
        EXPECT_EQ(text->offsetAtPoint(text->characterRect(offset).center()), offset) << offset;
    EXPECT_EQ(text->offsetAtPoint(first.topLeft() - QPoint(5, 5)), -1);
}

// The other views are named by their windows' titles; the windows are
// windows to a reader.
TEST(AccessibleViews, OtherViewsTakeTheirWindowsTitles)
{
    GraphicView* view = appdelegate().t_View03;
    QWidget* window = view->window();
    const QString title = window->windowTitle();
    window->setWindowTitle(QStringLiteral("Rechnung"));
    EXPECT_EQ(accessible(view)->text(QAccessible::Name), QStringLiteral("Rechnung"));
    EXPECT_EQ(accessible(view)->role(), QAccessible::Terminal);
    EXPECT_EQ(accessible(window)->role(), QAccessible::Window);
    window->setWindowTitle(title);
    EXPECT_EQ(accessible(appdelegate().t_View00)->text(QAccessible::Name),
              QString::fromUtf8("Sprecho – Unterhaltung"));
}

// A reply printed after a typed line is announced as one insertion that
// ends at the new prompt, followed by the caret that moved there.
TEST(AccessibleViews, PrintingIsAnnouncedAsInsertedTextAndACaretMove)
{
    setupwindow0(40, 6, "Kopf\r\r=>Hal");
    GraphicView* widget = appdelegate().t_View00;
    QAccessibleTextInterface* text = accessible(widget)->textInterface();
    const QString before = wholetext(accessible(widget));
    const int beforecaret = text->cursorPosition();
    EXPECT_EQ(beforecaret, 11);
    ASSERT_TRUE(run_on_program_thread([] { t_Print(0, "lo\rIch begrüsse dich!\r=>"); }));
    const QString after = wholetext(accessible(widget));
    const int aftercaret = text->cursorPosition();
    EXPECT_EQ(aftercaret, after.size());

    const auto events = changeevents(widget, before, beforecaret, after, aftercaret);
    ASSERT_EQ(events.size(), 2u);
    ASSERT_EQ(events[0]->type(), QAccessible::TextInserted);
    const auto* inserted = static_cast<const QAccessibleTextInsertEvent*>(events[0].get());
    EXPECT_EQ(inserted->changePosition(), 11);
    EXPECT_EQ(inserted->textInserted(), QString::fromUtf8("lo\nIch begrüsse dich!\n=>"));
    EXPECT_EQ(events[0]->accessibleInterface(), accessible(widget));
    ASSERT_EQ(events[1]->type(), QAccessible::TextCaretMoved);
    EXPECT_EQ(static_cast<const QAccessibleTextCursorEvent*>(events[1].get())->cursorPosition(), after.size());

    // Moving the cursor alone moves the caret; nothing unchanged is sent.
    ASSERT_TRUE(run_on_program_thread([] { t_CursorLeft(0); }));
    const auto moved = changeevents(widget, after, aftercaret, after, text->cursorPosition());
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(static_cast<const QAccessibleTextCursorEvent*>(moved[0].get())->cursorPosition(), after.size() - 1);
    EXPECT_TRUE(changeevents(widget, after, aftercaret, after, aftercaret).empty());
}

// Backspace and a line rewritten in place: a removal, and one update.
TEST(AccessibleViews, RemovedAndRewrittenText)
{
    QObject view;
    auto events = changeevents(&view, QStringLiteral("=>Hallo"), 7, QStringLiteral("=>Hall"), 6);
    ASSERT_EQ(events.size(), 2u);
    ASSERT_EQ(events[0]->type(), QAccessible::TextRemoved);
    EXPECT_EQ(static_cast<const QAccessibleTextRemoveEvent*>(events[0].get())->textRemoved(), QStringLiteral("o"));
    EXPECT_EQ(static_cast<const QAccessibleTextRemoveEvent*>(events[0].get())->changePosition(), 6);
    events = changeevents(&view, QStringLiteral("Kopf\nalt"), 8, QStringLiteral("Kopf\nneu"), 8);
    ASSERT_EQ(events.size(), 2u);
    ASSERT_EQ(events[0]->type(), QAccessible::TextUpdated);
    const auto* updated = static_cast<const QAccessibleTextUpdateEvent*>(events[0].get());
    EXPECT_EQ(updated->changePosition(), 5);
    EXPECT_EQ(updated->textRemoved(), QStringLiteral("alt"));
    EXPECT_EQ(updated->textInserted(), QStringLiteral("neu"));
}

// The log, console and clipboard views are named text a reader can read,
// not edit.
TEST(AccessibleViews, TextWindowsAreNamedReadOnlyText)
{
    struct Row {
        uint8_t window;
        const char* name;
    };
    const Row rows[] = {{9, "Protokoll"}, {10, "Systemkonsole"}, {8, "Zwischenablage"}};
    for (const Row& row : rows) {
        PlatformTextView* view = windowtextview(row.window);
        const std::string kept = platform::text_view_text(view);
        platform::set_text_view_text(view, "Patient: Hallo\rSprecho: Ich begrüsse dich!\r");
        QAccessibleInterface* interface = accessible(totextview(view));
        ASSERT_NE(interface, nullptr) << row.name;
        EXPECT_EQ(interface->text(QAccessible::Name), QString::fromUtf8(row.name));
        EXPECT_FALSE(interface->text(QAccessible::Description).isEmpty()) << row.name;
        EXPECT_EQ(interface->role(), QAccessible::EditableText) << row.name;
        EXPECT_TRUE(interface->state().readOnly) << row.name;
        EXPECT_EQ(wholetext(interface), QString::fromUtf8("Patient: Hallo\nSprecho: Ich begrüsse dich!\n"))
            << row.name;
        platform::set_text_view_text(view, kept);
    }
}

}  // namespace
