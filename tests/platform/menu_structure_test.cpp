// The menu bar, the menu action table and the item operations.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "input/key_events.h"
#include "menus/menu_actions.h"
#include "platform/platform.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/handles.h"
#include "platform/qt/menus.h"
#include "platform/qt/top_window.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"

namespace {

std::vector<std::string> titles(const std::string& menu)
{
    std::vector<std::string> result;
    PlatformMenu* found = platform::find_menu(menu);
    for (int64_t i = 0; i < platform::menu_item_count(found); ++i)
        result.push_back(platform::menu_item_title(found, i));
    return result;
}

}  // namespace

TEST(MenuActionTable, HoldsTheBuiltInCommandsInOrder)
{
    buildmenuactions();
    ASSERT_EQ(t_MenuActions.size(), 37u);
    for (int64_t i = 0; i < 32; ++i) {
        EXPECT_EQ(t_MenuActions[size_t(i)].Tag, 200 + i);
        EXPECT_EQ(t_MenuActions[size_t(i)].Action, 200 + i);
    }
    for (int64_t i = 0; i < 5; ++i)
        EXPECT_EQ(t_MenuActions[size_t(32 + i)].Tag, 110 + i);
    EXPECT_EQ(t_MenuActionIndex(200), 0);
    EXPECT_EQ(t_MenuActionIndex(231), 31);
    EXPECT_EQ(t_MenuActionIndex(110), 32);
    EXPECT_EQ(t_MenuActionIndex(114), 36);
    EXPECT_EQ(t_MenuActionIndex(100), -1);
    EXPECT_EQ(t_MenuActionIndex(232), -1);
}

TEST(MenuActionTable, AddedEntriesAreFoundButTagZeroNever)
{
    buildmenuactions();
    t_MenuActionAdd(100);
    t_MenuActionAdd(0);
    t_MenuActionAdd(100);
    EXPECT_EQ(t_MenuActionIndex(100), 37) << "the first entry wins";
    EXPECT_EQ(t_MenuActions[37].Action, 100);
    EXPECT_TRUE(t_MenuActions[37].FilePath.empty());
    EXPECT_EQ(t_MenuActionIndex(0), -1);
}

TEST(MenuBar, EveryWindowHasTheSameMenus)
{
    for (uint8_t n = 0; n <= 12; ++n) {
        const auto* window = dynamic_cast<TopWindow*>(towidget(platformwindow(n)));
        ASSERT_NE(window, nullptr);
        const QList<QAction*> entries = window->menubar()->actions();
        ASSERT_EQ(entries.size(), 3) << "window " << int(n);
        EXPECT_EQ(entries[1]->menu(), appdelegate().menus[1]);
    }
    EXPECT_NE(platform::find_menu("Bearbeiten"), nullptr);
    EXPECT_NE(platform::find_menu("Fenster"), nullptr);
    EXPECT_NE(platform::find_menu("Sprecho"), nullptr);
    EXPECT_EQ(platform::find_menu("Edit"), nullptr);
}

TEST(MenuBar, EveryBuiltInCommandHasAnItem)
{
    std::vector<int64_t> tags = {110, 111, 112, 113, 114, 200, 201, 205, 206, 207,
                                 208, 209, 210, 211, 212, 229, 230};
    for (int64_t tag = 213; tag <= 228; ++tag)
        tags.push_back(tag);
    for (const int64_t tag : tags)
        EXPECT_NE(itemwithtag(tag), nullptr) << "tag " << tag;
}

TEST(MenuBar, ShortcutsAreControlShiftLettersOnly)
{
    for (QMenu* menu : appdelegate().menus)
        for (const QAction* item : menu->findChildren<QAction*>()) {
            if (item->shortcut().isEmpty())
                continue;
            const QKeyCombination keys = item->shortcut()[0];
            EXPECT_EQ(keys.keyboardModifiers(), Qt::ControlModifier | Qt::ShiftModifier)
                << item->text().toStdString();
            EXPECT_GE(keys.key(), Qt::Key_A);
            EXPECT_LE(keys.key(), Qt::Key_Z);
        }
}

TEST(MenuItemInfo, TellsMenuItemKeyAndTag)
{
    const t_MenuItemInfo copy = menuiteminfo(itemwithtag(111));
    EXPECT_TRUE(copy.InMenu);
    EXPECT_EQ(copy.MenuTitle, "Bearbeiten");
    EXPECT_EQ(copy.ItemTitle, "Text kopieren");
    EXPECT_EQ(copy.KeyEquivalent, "c");
    EXPECT_EQ(copy.KeyModifiers, shiftflag | controlflag);
    EXPECT_EQ(copy.Tag, 111);

    const t_MenuItemInfo show = menuiteminfo(itemwithtag(215));
    EXPECT_EQ(show.MenuTitle, "Grafikfenster");
    EXPECT_EQ(show.ItemTitle, "Grafikfenster 1 zeigen");
    EXPECT_EQ(show.KeyEquivalent, "");
    EXPECT_EQ(show.KeyModifiers, 0u);
    EXPECT_EQ(show.Tag, 215);
}

TEST(MenuItemInfo, AnItemInNoMenuIsEmpty)
{
    QAction loose(QStringLiteral("lose"));
    loose.setData(QVariant::fromValue<qint64>(7));
    const t_MenuItemInfo info = menuiteminfo(&loose);
    EXPECT_FALSE(info.InMenu);
    EXPECT_EQ(info.Tag, 0);
    EXPECT_TRUE(info.ItemTitle.empty());
    EXPECT_FALSE(menuiteminfo(nullptr).InMenu);
}

TEST(MenuTitles, MnemonicsAreNotPartOfATitle)
{
    EXPECT_EQ(plaintitle(QStringLiteral("&Datei")), QStringLiteral("Datei"));
    EXPECT_EQ(plaintitle(QStringLiteral("Emoji && Symbole")), QStringLiteral("Emoji & Symbole"));
    EXPECT_EQ(plaintitle(QStringLiteral("Ende&")), QStringLiteral("Ende"));
}

TEST(MenuItemOperations, FindReadAndDeleteItems)
{
    DiagCapture capture;
    EXPECT_EQ(t_MenuItemIndex("Bearbeiten", "Text kopieren"), 1);
    EXPECT_EQ(t_MenuItemIndex("Bearbeiten", "Gibt es nicht"), -1);
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 0), "Bild kopieren");
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 65535), "Aktion ausführen");
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 2), "") << "a separator has no title";
    EXPECT_TRUE(capture.lines().empty());

    const size_t before = titles("Bearbeiten").size();
    t_MenuItemDelete("Bearbeiten", 0);
    EXPECT_EQ(titles("Bearbeiten").size(), before - 1);
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 0), "Text kopieren");
    t_MenuItemDelete("Bearbeiten", 65535);
    EXPECT_EQ(t_MenuItemTitle("Bearbeiten", 65535), "");  // the separator now last
    EXPECT_TRUE(capture.lines().empty());
}

TEST(MenuItemOperations, MissingMenusAndPositionsAreReported)
{
    DiagCapture capture;
    EXPECT_EQ(t_MenuItemIndex("Edit", "Copy"), -2);
    t_MenuItemDelete("Edit", 0);
    EXPECT_EQ(t_MenuItemTitle("Edit", 0), "");
    const size_t count = titles("Fenster").size();
    t_MenuItemDelete("Fenster", int64_t(count));
    t_MenuItemDelete("Fenster", -1);
    EXPECT_EQ(t_MenuItemTitle("Fenster", 65534), "");
    EXPECT_EQ(titles("Fenster").size(), count);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{
                                   "t_MenuItemIndex: Menu not found.",
                                   "t_MenuItemDelete: Menu not found.",
                                   "t_MenuItemTitle: Menu not found.",
                                   "t_MenuItemDelete: Item position out of range",
                                   "t_MenuItemDelete: Item position out of range",
                                   "t_MenuItemTitle: Item position out of range",
                               }));
}

TEST(MenuItemOperations, TheLastItemOfAnEmptyMenuIsOutOfRange)
{
    auto* graphics = qobject_cast<QMenu*>(itemwithtag(213)->parent());
    ASSERT_NE(graphics, nullptr);
    graphics->clear();
    appdelegate().menus.push_back(graphics);  // reachable by its title now
    DiagCapture capture;
    EXPECT_EQ(t_MenuItemTitle("Grafikfenster", 65535), "");
    t_MenuItemDelete("Grafikfenster", 65535);
    EXPECT_EQ(capture.lines(), (std::vector<std::string>{
                                   "t_MenuItemTitle: Item position out of range",
                                   "t_MenuItemDelete: Item position out of range",
                               }));
}

TEST(MenuItemOperations, WorkFromTheProgramThread)
{
    int64_t index = 0;
    std::string title;
    ASSERT_TRUE(run_on_program_thread([&] {
        index = t_MenuItemIndex("Fenster", "Fenster ausblenden");
        title = t_MenuItemTitle("Fenster", 0);
        t_MenuItemDelete("Fenster", 0);
    }));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(title, "Alle Fenster ausblenden");
    EXPECT_EQ(titles("Fenster").front(), "Fenster ausblenden");
}

TEST(AdjustMenus, RemovesDesktopItemsAndReportsTheOtherLanguage)
{
    QMenu* edit = appdelegate().menus[1];
    QMenu* window = appdelegate().menus[2];
    edit->addAction(QStringLiteral("Emoji && Symbole"));
    edit->addSeparator();
    window->addAction(QStringLiteral("Vollbildmodus"));
    const std::vector<std::string> editbefore = titles("Bearbeiten");

    DiagCapture capture;
    adjustmenus();
    const std::vector<std::string> expected = {
        "t_MenuItemIndex: Menu not found.",  // five titles looked up in "Edit"
        "t_MenuItemIndex: Menu not found.",
        "t_MenuItemIndex: Menu not found.",
        "t_MenuItemIndex: Menu not found.",
        "t_MenuItemIndex: Menu not found.",
        "t_MenuItemTitle: Menu not found.",  // the trailing separator of "Edit"
        "t_MenuItemDelete: Menu not found.",
        "t_MenuItemIndex: Menu not found.",  // tiling titles in "Window"
        "t_MenuItemIndex: Menu not found.",
        "*** Found Fenster Menu Item Vollbildmodus",
        "t_MenuItemIndex: Menu not found.",
    };
    EXPECT_EQ(capture.lines(), expected);
    std::vector<std::string> editafter = editbefore;
    editafter.resize(editafter.size() - 2);  // the emoji item and the separator
    EXPECT_EQ(titles("Bearbeiten"), editafter);
    EXPECT_EQ(t_MenuItemIndex("Fenster", "Vollbildmodus"), -1);
}
