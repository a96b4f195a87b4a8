// The menus on the real desktop, offscreen: the item operations, the
// built-in commands chosen by their tags and the program's menu handler.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>
#include <atomic>

#include "input/mouse_events.h"
#include "menus/menu_actions.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "frontends/qt/app_delegate.h"
#include "frontends/qt/handles.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

// Chooses the menu item with the tag as the user would.
void choose(int64_t tag)
{
    QAction* item = itemwithtag(tag);
    ASSERT_NE(item, nullptr) << "tag " << tag;
    item->trigger();
}

bool visible(uint8_t window)
{
    return platform::window_visible(platformwindow(window));
}

class MenuCommands : public testing::Test {
protected:
    void SetUp() override
    {
        buildmenuactions();
        t_ProgramMenuHandler = [this] { menuthread = threadnumber(); ++menucalls; };
    }

    static void setupwindow(uint8_t window)
    {
        ASSERT_TRUE(run_on_program_thread([window] { t_InitWindow(window, 24, 20, 4, 8, "MenloBold 16x32.font"); }));
    }

    // Makes the window the one the desktop regards as its main window.
    static void makemain(uint8_t window)
    {
        t_WindowFront(window);
        ASSERT_TRUE(pump_until([&] { return mainwindownumber() == window; }, 2000)) << int(window);
    }

    std::atomic<int> menucalls{0};
    std::atomic<int64_t> menuthread{0};
};

}  // namespace

// Positions count from 0, 65535 is the last item and a separator has an
// empty title, also from the program thread. Each failing call prints its
// one line and changes nothing.
TEST(MenuItemOperations, FindReadDeleteAndReportWhatIsMissing)
{
    DiagCapture capture;
    ASSERT_TRUE(run_on_program_thread([] {
        EXPECT_EQ(t_MenuItemIndex("Bearbeiten", "Text kopieren"), 1);
        EXPECT_EQ(t_MenuItemIndex("Bearbeiten", "Gibt es nicht"), -1);
        EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 0) + "|" + t_MenuItemTitle("Bearbeiten", 65535) + "|" +
                      t_MenuItemTitle("Bearbeiten", 2),
                  "Bild kopieren|Aktion ausführen|");
        t_MenuItemDelete("Bearbeiten", 0);
        t_MenuItemDelete("Bearbeiten", 65535);
    }));
    EXPECT_EQ(t_MenuItemIndex("Edit", "Copy"), -2);
    t_MenuItemDelete("Edit", 0);
    EXPECT_EQ(t_MenuItemTitle("Edit", 0), "");
    t_MenuItemDelete("Bearbeiten", 6);
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 65534), "");
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 0) + "|" + t_MenuItemTitle("Bearbeiten", 4) + "|" +
                  t_MenuItemTitle("Bearbeiten", 65535),
              "Text kopieren|Konsole löschen|");
    EXPECT_EQ(capture.lines(), (Lines{"t_MenuItemIndex: Menu not found.", "t_MenuItemDelete: Menu not found.",
                                      "t_MenuItemTitle: Menu not found.", "t_MenuItemDelete: Item position out of range",
                                      "t_MenuItemTitle: Item position out of range"}));
}

// A graphic window's commands refuse with a line until the window is set
// up; none starts the program's handler. 200 (from the menu bar, on Linux)
// minimises every window 0 to 12, so that the task bar brings them back.
TEST_F(MenuCommands, ShowAndHideWindowsByTag)
{
    DiagCapture capture;
    choose(215);
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Window #1 not initialized."});
    EXPECT_FALSE(visible(1));
    setupwindow(1);
    t_WindowVisible(1, false);
    choose(215);
    EXPECT_TRUE(visible(1) && windowtable[1].Visible);
    choose(216);
    EXPECT_FALSE(visible(1) || windowtable[1].Visible);
    for (uint8_t window = 0; window <= 12; ++window)
        t_WindowFront(window);
    ASSERT_TRUE(visible(1) && visible(12));
    choose(200);
    for (uint8_t window = 0; window <= 12; ++window) {
        QWidget* shown = towidget(platformwindow(window));
        EXPECT_TRUE(shown->isVisible() && shown->isMinimized()) << "window " << int(window);
        shown->setWindowState(Qt::WindowNoState);
        t_WindowVisible(window, false);
    }
    EXPECT_EQ(menucalls, 0);
}

// The console's text reaches the clipboard as it is, a graphic window's
// with its graphic codes as look-alikes; both with line feeds.
TEST_F(MenuCommands, CopyText)
{
    const std::string whole = "Zeile 1\rZeile 2 mit \u008A und ü\r";
    platform::set_text_view_text(windowtextview(10), whole);
    makemain(10);
    choose(111);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Zeile 1\nZeile 2 mit \u008A und ü\n");
    setupwindow(0);
    const uint8_t codes[] = {'a', 138, 'b', 140, 228};
    for (int column = 1; column <= 5; ++column)
        t_PrintSymbol(0, codes[column - 1], 0xF0, column, 2);
    makemain(0);
    choose(111);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "\na|b-ä");
}

// Linux programs that paste expect line feeds: every carriage return, and
// every carriage return with its line feed, becomes one.
TEST(Pasteboard, TextGetsLineFeeds)
{
    const std::pair<std::string, std::string> rows[] = {
        {"a\r\nb\rc\r", "a\nb\nc\n"}, {"\n\r\r\n", "\n\n\n"}, {"ohne", "ohne"}, {"", ""},
    };
    for (const auto& [put, wanted] : rows) {
        platform::set_pasteboard_text(put);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), wanted);
    }
}

// 112 empties the printer and its buffer and leaves the console.
TEST_F(MenuCommands, ClearPrinter)
{
    platform::set_text_view_text(windowtextview(9), "Protokoll\rPatient: Hallo\r");
    platform::set_text_view_text(windowtextview(10), "bleibt");
    printeroutputbuffer.assign({'p'});
    choose(112);
    EXPECT_EQ(p_GetPrinter() + "|" + platform::text_view_text(windowtextview(10)), "|bleibt");
    EXPECT_TRUE(printeroutputbuffer.empty());
}

// Tag 0 never selects a table entry, not even one added with it; choosing
// it starts the program's menu handler once, on a task of its own.
TEST_F(MenuCommands, TagZeroStartsTheMenuHandlerOnItsOwnTask)
{
    t_MenuActionAdd(0);
    EXPECT_EQ(t_MenuActionIndex(0), -1);
    ASSERT_TRUE(run_on_program_thread([] {}));  // takes thread number 2, as in the program
    t_MenuEventHandler({true, "Ablage", "Eigenes", "", 0, 0});
    ASSERT_TRUE(pump_until([&] { return menucalls == 1; }, 2000));
    EXPECT_GE(menuthread, 3);
    pump_for(50);
    EXPECT_EQ(menucalls, 1) << "one call per choice";
}
