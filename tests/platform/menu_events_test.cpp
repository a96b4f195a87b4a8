// The menus on the real desktop, offscreen: the menu bar, the action table,
// the item operations, the built-in commands chosen by their tags and the
// program's menu handler.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <atomic>
#include <tuple>

#include "input/mouse_events.h"
#include "menus/menu_actions.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/handles.h"
#include "platform/qt/top_window.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

Lines titles(const std::string& menu)
{
    Lines result;
    PlatformMenu* found = platform::find_menu(menu);
    for (int64_t i = 0; i < platform::menu_item_count(found); ++i)
        result.push_back(platform::menu_item_title(found, i));
    return result;
}

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

std::vector<t_MenuEvent> events()
{
    std::lock_guard lock(t_MenuEventsLock);
    return {t_MenuEvents.begin(), t_MenuEvents.end()};
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

// The built-in entries in their order; the first entry with a tag wins, and
// tag 0 never selects one, not even an entry added with it.
TEST(MenuActionTable, HoldsTheBuiltInCommandsAndFindsTheFirstEntry)
{
    buildmenuactions();
    ASSERT_EQ(t_MenuActions.size(), 37u);
    for (size_t i = 0; i < 37; ++i) {
        const int64_t tag = i < 32 ? 200 + int64_t(i) : 110 + int64_t(i) - 32;
        EXPECT_EQ(std::pair(t_MenuActions[i].Tag, t_MenuActions[i].Action), std::pair(tag, tag));
    }
    for (const int64_t code : {100, 0, 100})
        t_MenuActionAdd(code);
    const std::pair<int64_t, int64_t> found[] = {{200, 0},  {231, 31}, {110, 32}, {114, 36},
                                                 {100, 37}, {0, -1},   {99, -1},  {232, -1}};
    for (const auto& [tag, index] : found)
        EXPECT_EQ(t_MenuActionIndex(tag), index) << "tag " << tag;
}

// Every window carries the one shared bar with an item for every built-in
// command; a shortcut with Control alone would take a key from the line
// editor.
TEST(MenuBar, EveryWindowSharesTheMenusWithEveryCommand)
{
    for (uint8_t n = 0; n <= 12; ++n) {
        std::vector<QMenu*> menus;
        for (const QAction* entry : dynamic_cast<TopWindow*>(towidget(platformwindow(n)))->menubar()->actions())
            menus.push_back(entry->menu());
        EXPECT_EQ(menus, appdelegate().menus) << "window " << int(n);
    }
    for (int64_t tag = 110; tag <= 230; ++tag) {
        const bool command = tag <= 114 || tag == 200 || tag == 201 || tag >= 205;
        EXPECT_EQ(itemwithtag(tag) != nullptr, command) << "tag " << tag;
    }
    for (QMenu* menu : appdelegate().menus)
        for (const QAction* item : menu->findChildren<QAction*>())
            EXPECT_TRUE(item->shortcut().isEmpty() ||
                        item->shortcut()[0].keyboardModifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
                << item->text().toStdString();
}

// Positions count from 0, 65535 is the last item and a separator has an
// empty title, also from the program thread, as at start-up. Each failing
// call prints its one line and changes nothing; an empty menu has no last
// item.
TEST(MenuItemOperations, FindReadDeleteAndReportWhatIsMissing)
{
    appdelegate().menus.push_back(new QMenu(QStringLiteral("Leer")));
    const Lines window = titles("Fenster");
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
    EXPECT_EQ(titles("Bearbeiten"), (Lines{"Text kopieren", "", "Protokoll löschen", "Konsole löschen", ""}));
    EXPECT_TRUE(capture.lines().empty());
    EXPECT_EQ(t_MenuItemIndex("Edit", "Copy"), -2);
    t_MenuItemDelete("Edit", 0);
    EXPECT_EQ(t_MenuItemTitle("Edit", 0), "");
    for (const int64_t position : {int64_t(window.size()), int64_t(-1)})
        t_MenuItemDelete("Fenster", position);
    EXPECT_EQ(t_MenuItemTitle("Fenster", 65534), "");
    EXPECT_EQ(t_MenuItemTitle("Leer", 65535), "");
    t_MenuItemDelete("Leer", 65535);
    EXPECT_EQ(titles("Fenster"), window);
    const std::string range = ": Item position out of range";
    EXPECT_EQ(capture.lines(), (Lines{"t_MenuItemIndex: Menu not found.", "t_MenuItemDelete: Menu not found.",
                                      "t_MenuItemTitle: Menu not found.", "t_MenuItemDelete" + range,
                                      "t_MenuItemDelete" + range, "t_MenuItemTitle" + range,
                                      "t_MenuItemTitle" + range, "t_MenuItemDelete" + range}));
}

// The desktop's own items go (matched without their "&&" escape), and so
// does a separator they leave last; the other language's menus report
// themselves missing, one line per lookup.
TEST(AdjustMenus, RemovesDesktopItemsAndReportsTheOtherLanguage)
{
    const Lines edit = titles("Bearbeiten");
    appdelegate().menus[1]->addAction(QStringLiteral("Emoji && Symbole"));
    appdelegate().menus[1]->addSeparator();
    appdelegate().menus[2]->addAction(QStringLiteral("Vollbildmodus"));
    DiagCapture capture;
    adjustmenus();
    const std::string missing = "t_MenuItemIndex: Menu not found.";
    Lines expected(5, missing);  // five titles looked up in "Edit", then its last separator
    expected.insert(expected.end(), {"t_MenuItemTitle: Menu not found.", "t_MenuItemDelete: Menu not found.",
                                     missing, missing, "*** Found Fenster Menu Item Vollbildmodus", missing});
    EXPECT_EQ(capture.lines(), expected);
    EXPECT_EQ(titles("Bearbeiten"), edit);
    EXPECT_EQ(t_MenuItemIndex("Fenster", "Vollbildmodus"), -1);
}

// A graphic window's commands refuse with a line until the window is set
// up; every choice is queued, none starts the program's handler. 200 hides
// every window 0 to 12.
TEST_F(MenuCommands, ShowAndHideWindowsByTag)
{
    DiagCapture capture;
    choose(215);
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Window #1 not initialized."});
    EXPECT_FALSE(visible(1));
    setupwindow(1);
    t_WindowVisible(1, false);
    capture.clear();
    choose(215);
    EXPECT_TRUE(visible(1) && windowtable[1].Visible);
    choose(216);
    EXPECT_FALSE(visible(1) || windowtable[1].Visible);
    choose(228);  // hide window 7, which is not set up
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Window #7 not initialized."});
    const std::vector<t_MenuEvent> queued = events();
    ASSERT_EQ(queued.size(), 4u);
    EXPECT_EQ(std::tie(queued[0].ItemAction, queued[3].ItemAction), std::tuple(215, 228));
    for (uint8_t window = 0; window <= 12; ++window)
        t_WindowFront(window);
    ASSERT_TRUE(visible(1) && visible(12));
    choose(200);
    for (uint8_t window = 0; window <= 12; ++window)
        EXPECT_FALSE(visible(window)) << "window " << int(window);
    EXPECT_EQ(menucalls, 0);
}

// The console's text reaches the clipboard unchanged, a graphic window's
// with its graphic codes as look-alikes; the event tells the chosen item.
TEST_F(MenuCommands, CopyText)
{
    const std::string whole = "Zeile 1\rZeile 2 mit \u008A und ü\r";
    platform::set_text_view_text(windowtextview(10), whole);
    makemain(10);
    choose(111);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), whole);
    setupwindow(0);
    const uint8_t codes[] = {'a', 138, 'b', 140, 228};
    for (int column = 1; column <= 5; ++column)
        t_PrintSymbol(0, codes[column - 1], 0xF0, column, 2);
    makemain(0);
    choose(111);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "\ra|b-ä");
    const t_MenuEvent copy = events().at(1);
    EXPECT_EQ(std::tie(copy.Kind, copy.MenuTitle, copy.ItemTitle, copy.ItemKeyChar, copy.ItemKeyAsc),
              std::tuple(3, "Bearbeiten", "Text kopieren", "c", 'c'));
}

// 112 empties the printer and its buffer and leaves the console; without
// the printer's text view it reports and keeps the buffer. No other thread
// touches the buffer here.
TEST_F(MenuCommands, ClearPrinter)
{
    platform::set_text_view_text(windowtextview(9), "Protokoll\rPatient: Hallo\r");
    platform::set_text_view_text(windowtextview(10), "bleibt");
    printeroutputbuffer.assign({'p'});
    choose(112);
    EXPECT_EQ(p_GetPrinter() + "|" + platform::text_view_text(windowtextview(10)), "|bleibt");
    EXPECT_TRUE(printeroutputbuffer.empty());
    printeroutputbuffer.assign({'p'});
    appdelegate().VirtualPrinterTextView = nullptr;
    DiagCapture capture;
    choose(112);
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Virtual printer window is nil, resource undefined."});
    EXPECT_EQ(printeroutputbuffer.size(), 1u);
}

// Tag 0, a tag without entry and an item in no menu each start the
// program's menu handler once, on a task of its own.
TEST_F(MenuCommands, ChoicesWithoutEntryStartTheMenuHandlerOnItsOwnTask)
{
    ASSERT_TRUE(run_on_program_thread([] {}));  // takes thread number 2, as in the program
    t_MenuItemInfo item{true, "Ablage", "Eigenes", "", 0, 0};
    t_MenuEventHandler(item);
    ASSERT_TRUE(pump_until([&] { return menucalls == 1; }, 2000));
    EXPECT_GE(menuthread, 3);
    item.Tag = 4711;
    t_MenuEventHandler(item);
    QAction loose(QStringLiteral("lose"));
    loose.setData(QVariant::fromValue<qint64>(7));
    appdelegate().MenuHandler(&loose);
    ASSERT_TRUE(pump_until([&] { return menucalls == 3; }, 2000));
    const std::vector<t_MenuEvent> queued = events();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_EQ(std::tie(queued[0].Kind, queued[0].ItemAction, queued[0].ItemTitle), std::tuple(3, 0, "Eigenes"));
    EXPECT_EQ(queued[1].ItemAction, 4711);
    EXPECT_EQ(std::tie(queued[2].Kind, queued[2].ItemTitle, queued[2].ItemAction, queued[2].Time),
              std::tuple(0, "", 0, 0));
    pump_for(50);
    EXPECT_EQ(menucalls, 3) << "one call per choice";
}
