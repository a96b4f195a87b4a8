// The menus on the real desktop, offscreen: the item operations, every
// built-in command chosen by its tag and the program's menu handler.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QWidget>
#include <atomic>
#include <utility>

#include "input/mouse_events.h"
#include "menus/menu_actions.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "frontends/qt/app_delegate.h"
#include "frontends/qt/handles.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "text/glyph.h"
#include "util/diagnostics.h"
#include "util/strings.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

// Chooses the menu item with the tag as the user would. Every command has
// an item; 231, the last tag of the table, has none and is chosen as if
// an item carried it.
void choose(int64_t tag)
{
    if (tag == 231) {
        t_MenuEventHandler({true, "Fenster", "Ohne Befehl", "", 0, 231});
        return;
    }
    QAction* item = itemwithtag(tag);
    ASSERT_NE(item, nullptr) << "tag " << tag;
    item->trigger();
}

bool visible(uint8_t window)
{
    return platform::window_visible(platformwindow(window));
}

// A menu of the test's own beside the real ones, gone again afterwards.
class MenuItemOperations : public testing::Test {
protected:
    void SetUp() override
    {
        menu.addAction(QStringLiteral("Eins"));
        menu.addAction(QStringLiteral("Zwei"));
        menu.addSeparator();
        menu.addAction(QStringLiteral("Vier"));
        appdelegate().menus.push_back(&menu);
        appdelegate().menus.push_back(&empty);
    }
    void TearDown() override { appdelegate().menus.resize(appdelegate().menus.size() - 2); }

    QMenu menu{QStringLiteral("Probe")}, empty{QStringLiteral("Leer")};
};

}  // namespace

// Positions count from 0, 65535 is the last item and a separator has an
// empty title, also from the program thread. Each failing call prints its
// one line and changes nothing; an empty menu has no last item.
TEST_F(MenuItemOperations, FindReadDeleteAndReportWhatIsMissing)
{
    DiagCapture capture;
    ASSERT_TRUE(run_on_program_thread([] {
        EXPECT_EQ(t_MenuItemIndex("Probe", "Zwei"), 1);
        EXPECT_EQ(t_MenuItemIndex("Probe", "Gibt es nicht"), -1);
        EXPECT_EQ(t_MenuItemTitle("Probe", 0) + "|" + t_MenuItemTitle("Probe", 65535) + "|" +
                      t_MenuItemTitle("Probe", 2),
                  "Eins|Vier|");
        t_MenuItemDelete("Probe", 0);
        t_MenuItemDelete("Probe", 65535);
    }));
    EXPECT_TRUE(capture.lines().empty());
    EXPECT_EQ(t_MenuItemIndex("Edit", "Copy"), -2);
    t_MenuItemDelete("Edit", 0);
    EXPECT_EQ(t_MenuItemTitle("Edit", 0), "");
    t_MenuItemDelete("Probe", 2);
    t_MenuItemDelete("Probe", -1);
    EXPECT_EQ(t_MenuItemTitle("Probe", 65534) + t_MenuItemTitle("Leer", 65535), "");
    t_MenuItemDelete("Leer", 65535);
    EXPECT_EQ(t_MenuItemTitle("Probe", 0) + "|" + t_MenuItemTitle("Probe", 1), "Zwei|");
    const std::string range = ": Item position out of range";
    EXPECT_EQ(capture.lines(), (Lines{"t_MenuItemIndex: Menu not found.", "t_MenuItemDelete: Menu not found.",
                                      "t_MenuItemTitle: Menu not found.", "t_MenuItemDelete" + range,
                                      "t_MenuItemDelete" + range, "t_MenuItemTitle" + range,
                                      "t_MenuItemTitle" + range, "t_MenuItemDelete" + range}));
}

namespace {

constexpr uint8_t anywindow = 255;

// The texts the windows and the clipboard hold before each choice.
const std::string printertext = "Protokoll\r", consoletext = "Konsole \u008A\r", clipboardtext = "vorher";

// Every graphic window set up (4 x 2 cells), the text windows holding
// known texts, the clipboard a known text; choices counted.
class MenuCommands : public testing::Test {
protected:
    void SetUp() override
    {
        buildmenuactions();
        setprogrammenuhandler([this] { ++menucalls; });
        t_ProgramActionHandler = [this] { ++actioncalls; };
    }

    static void setupgraphicwindows()
    {
        ASSERT_TRUE(run_on_program_thread([] {
            for (uint8_t n = 0; n < graphicwindowcount; ++n)
                t_InitWindow(n, 24, 4, 2, 0, "MenloBold 16x32.font");
        }));
        const uint8_t codes[] = {'a', 138, 'b', 140};
        for (int column = 1; column <= 4; ++column)
            t_PrintSymbol(0, codes[column - 1], 0xF0, column, 1);
        t_PrintSymbol(0, 228, 0xF0, 1, 2);
    }

    // Every window 0..12 shown or hidden; then `main` made the window the
    // desktop regards as its main window.
    static void arrange(bool shown, uint8_t main)
    {
        for (uint8_t n = 0; n <= 12; ++n)
            shown ? t_WindowFront(n) : t_WindowVisible(n, false);
        if (main != anywindow) {
            t_WindowFront(main);
            ASSERT_TRUE(pump_until([&] { return mainwindownumber() == main; }, 2000)) << int(main);
        }
        platform::set_text_view_text(windowtextview(9), printertext);
        platform::set_text_view_text(windowtextview(10), consoletext);
        QGuiApplication::clipboard()->setText(QString::fromStdString(clipboardtext));
    }

    static std::string shownwindows()
    {
        std::string shown;
        for (uint8_t n = 0; n <= 12; ++n)
            shown += visible(n) ? (n < graphicwindowcount && !windowtable[n].Visible ? '?' : 'X') : '.';
        return shown;
    }

    std::atomic<int> menucalls{0}, actioncalls{0};
};

}  // namespace

// Each tag's command: which windows are shown or hidden (all start the
// other way, so that a command acting on the wrong window shows), what
// reaches the clipboard, which text window is cleared, whether the
// program's action runs. No choice with an entry starts the menu handler.
TEST_F(MenuCommands, EveryTagDoesItsCommand)
{
    {
        DiagCapture capture;
        choose(215);  // window 1 not set up yet
        EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Window #1 not initialized."});
        EXPECT_FALSE(visible(1));
    }
    setupgraphicwindows();
    const std::string none(13, '.');
    const struct {
        int64_t tag;
        uint8_t main = anywindow;
        bool startshown = true;
        std::string shown = std::string(13, 'X');  // windows 0..12 afterwards: X shown, . hidden
        std::string clipboard = clipboardtext, printer = printertext, console = consoletext;
        int actions = 0;
    } rows[] = {
        {.tag = 110, .main = 0, .clipboard = ""},  // the picture, no text
        {.tag = 110, .main = 9}, {.tag = 111, .main = 0, .clipboard = "a|b-\r\u00E4"},
        {.tag = 111, .main = 9, .clipboard = printertext}, {.tag = 111, .main = 10, .clipboard = consoletext},
        {.tag = 111, .main = 12}, {.tag = 112, .printer = ""}, {.tag = 113, .main = 3, .actions = 1},
        {.tag = 113, .main = 10}, {.tag = 114, .console = ""},
        {.tag = 201, .main = 9, .shown = "XXXXXXXXX.XXX"}, {.tag = 201, .main = 5, .shown = "XXXXX.XXXXXXX"},
        {.tag = 231}, {.tag = 231, .startshown = false, .shown = none},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "tag " << row.tag << ", main window " << int(row.main));
        arrange(row.startshown, row.main);
        actioncalls = 0;
        choose(row.tag);
        EXPECT_EQ(shownwindows(), row.shown);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), linuxlineends(row.clipboard));
        EXPECT_EQ(p_GetPrinter() + "|" + platform::text_view_text(windowtextview(10)), row.printer + "|" + row.console);
        EXPECT_EQ(actioncalls, row.actions);
        EXPECT_EQ(QGuiApplication::clipboard()->image().size(), row.clipboard.empty() ? QSize(64, 64) : QSize(0, 0));
    }
    // The tag that shows a window; the next one hides it.
    const std::pair<int64_t, uint8_t> showhide[] = {{205, 12}, {207, 11}, {209, 9}, {211, 8}, {229, 10}, {213, 0},
                                                    {215, 1}, {217, 2}, {219, 3}, {221, 4}, {223, 5}, {225, 6},
                                                    {227, 7}};
    for (const auto& [tag, window] : showhide) {
        SCOPED_TRACE(testing::Message() << "tags " << tag << " and " << tag + 1);
        arrange(false, anywindow);
        choose(tag);
        EXPECT_EQ(shownwindows(), std::string(window, '.') + "X" + std::string(12 - window, '.'));
        arrange(true, anywindow);
        choose(tag + 1);
        EXPECT_EQ(shownwindows(), std::string(window, 'X') + "." + std::string(12 - window, 'X'));
    }
    pump_for(50);
    EXPECT_EQ(menucalls, 0);
    std::lock_guard lock(t_MenuEventsLock);
    ASSERT_EQ(t_MenuEvents.size(), std::size(rows) + 2 * std::size(showhide) + 1);
    const t_MenuEvent& copy = t_MenuEvents[3];
    EXPECT_EQ(std::tie(copy.Kind, copy.MenuTitle, copy.ItemTitle, copy.ItemKeyChar, copy.ItemKeyAsc, copy.ItemAction),
              std::tuple(3, "Bearbeiten", "Text kopieren", "c", 'c', 111));
    EXPECT_EQ(copy.ItemKeyMods, controlflag | shiftflag);
}

// "Alle Fenster ausblenden" (200) minimises every window 0 to 12 on Linux,
// so that the task bar brings them back; no handler starts.
TEST_F(MenuCommands, HideAllMinimises)
{
    setupgraphicwindows();
    arrange(true, anywindow);
    choose(200);
    for (uint8_t window = 0; window <= 12; ++window) {
        QWidget* shown = towidget(platformwindow(window));
        EXPECT_TRUE(shown->isVisible() && shown->isMinimized()) << "window " << int(window);
        shown->setWindowState(Qt::WindowNoState);
        t_WindowVisible(window, false);
    }
    EXPECT_EQ(menucalls, 0);
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

// The clipboard window shows what the clipboard holds each time it is
// shown, whoever put it there.
TEST(Pasteboard, ItsWindowShowsTheClipboardWhenShown)
{
    for (const char* text : {"eins\nzwei", "drei"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(text));
        t_WindowVisible(8, true);
        EXPECT_EQ(platform::text_view_text(windowtextview(8)), text);
    }
}

// Without the printer's text view, clearing it reports and keeps the
// buffer.
TEST_F(MenuCommands, ClearingAMissingPrinterReports)
{
    printeroutputbuffer.assign({'p'});
    TextView* view = std::exchange(appdelegate().VirtualPrinterTextView, nullptr);
    DiagCapture capture;
    choose(112);
    appdelegate().VirtualPrinterTextView = view;
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Virtual printer window is nil, resource undefined."});
    EXPECT_EQ(printeroutputbuffer.size(), 1u);
}

// Tag 0 never selects a table entry, not even one added with it; choosing
// it, a tag without entry or an item in no menu starts the program's menu
// handler once each, on a task of its own.
TEST_F(MenuCommands, ChoicesWithoutEntryStartTheMenuHandlerOnItsOwnTask)
{
    std::atomic<int64_t> thread{0};
    setprogrammenuhandler([&] { thread = threadnumber(); ++menucalls; });
    t_MenuActionAdd(0);
    EXPECT_EQ(t_MenuActionIndex(0), -1);
    ASSERT_TRUE(run_on_program_thread([] {}));  // number 2 is taken, as in the program
    t_MenuEventHandler({true, "Ablage", "Eigenes", "", 0, 0});
    ASSERT_TRUE(pump_until([&] { return menucalls == 1; }, 2000));
    EXPECT_GE(thread, 3);
    t_MenuEventHandler({true, "Ablage", "Fremdes", "", 0, 4711});
    t_MenuEventHandler({});
    ASSERT_TRUE(pump_until([&] { return menucalls == 3; }, 2000));
    pump_for(50);
    EXPECT_EQ(menucalls, 3) << "one call per choice";
    std::lock_guard lock(t_MenuEventsLock);
    ASSERT_EQ(t_MenuEvents.size(), 3u);
    EXPECT_EQ(std::tuple(t_MenuEvents[1].Kind, t_MenuEvents[1].ItemAction, t_MenuEvents[2].Kind, t_MenuEvents[2].Time),
              std::tuple(3, 4711, 0, 0));
}
