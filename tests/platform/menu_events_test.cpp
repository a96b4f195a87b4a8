// Menu choices on the real desktop, offscreen: the event queue, every
// built-in command by its tag, and the program's handlers.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <atomic>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "input/mouse_events.h"
#include "menus/menu_actions.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/handles.h"
#include "platform/qt/text_windows.h"
#include "startup/threads.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "text/glyph.h"
#include "util/clock.h"
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

// A choice of an item the menus do not have.
void chooseinfo(int64_t tag)
{
    t_MenuItemInfo info;
    info.InMenu = true;
    info.MenuTitle = "Ablage";
    info.ItemTitle = "Eigenes";
    info.Tag = tag;
    t_MenuEventHandler(info);
}

bool visible(uint8_t window)
{
    return platform::window_visible(platformwindow(window));
}

void show(uint8_t window)
{
    t_WindowFront(window);
}

// Makes the window the one the desktop regards as its main window.
void makemain(uint8_t window)
{
    show(window);
    ASSERT_TRUE(pump_until([&] { return mainwindownumber() == window; }, 2000))
        << "window " << int(window) << " did not become the main window";
}

std::vector<t_MenuEvent> events()
{
    std::lock_guard lock(t_MenuEventsLock);
    return {t_MenuEvents.begin(), t_MenuEvents.end()};
}

std::string clipboardtext()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

void settext(uint8_t window, const std::string& text)
{
    platform::set_text_view_text(windowtextview(window), text);
}

std::string text(uint8_t window)
{
    return platform::text_view_text(windowtextview(window));
}

// The program's handlers for one test: they count their calls and note the
// thread of the last one.
struct Handlers {
    std::atomic<int> menu{0};
    std::atomic<int> action{0};
    std::atomic<int64_t> menuthread{0};
    Handlers()
    {
        t_ProgramMenuHandler = [this] {
            menuthread = threadnumber();
            ++menu;
        };
        t_ProgramActionHandler = [this] { ++action; };
    }
};

class MenuCommands : public testing::Test {
protected:
    void SetUp() override { buildmenuactions(); }

    // Graphic window 1 (or another) as the program sets it up.
    static void setupwindow(uint8_t window)
    {
        ASSERT_TRUE(run_on_program_thread(
            [window] { t_InitWindow(window, 24, 20, 4, 8, "MenloBold 16x32.font"); }));
        ASSERT_TRUE(windowtable[window].Initialized);
    }

    Handlers handlers;
};

}  // namespace

TEST_F(MenuCommands, GraphicWindowTagsBeforeAndAfterSetUp)
{
    DiagCapture capture;
    choose(215);
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Window #1 not initialized."});
    EXPECT_FALSE(visible(1));
    EXPECT_EQ(events().size(), 1u);

    setupwindow(1);
    t_WindowVisible(1, false);
    capture.clear();
    choose(215);
    EXPECT_TRUE(visible(1));
    EXPECT_TRUE(windowtable[1].Visible);
    choose(216);
    EXPECT_FALSE(visible(1));
    EXPECT_FALSE(windowtable[1].Visible);
    choose(228);  // hide window 7, which is not set up
    EXPECT_EQ(capture.lines(), Lines{"t_MenuEventHandler: Window #7 not initialized."});
    const std::vector<t_MenuEvent> queued = events();
    ASSERT_EQ(queued.size(), 4u);
    EXPECT_EQ(queued[3].ItemAction, 228);
    pump_for(50);
    EXPECT_EQ(handlers.menu, 0) << "a built-in command starts no handler task";
}

TEST_F(MenuCommands, ShowAndHideTheOtherWindows)
{
    // show tag, window; the hide tag follows the show tag
    const std::pair<int64_t, uint8_t> rows[] = {
        {205, 12}, {207, 11}, {209, 9}, {211, 8}, {229, 10}};
    for (const auto& [tag, window] : rows) {
        choose(tag);
        EXPECT_TRUE(visible(window)) << "tag " << tag;
        choose(tag + 1);
        EXPECT_FALSE(visible(window)) << "tag " << tag + 1;
    }
}

TEST_F(MenuCommands, HideAllHidesWindowsZeroToTwelve)
{
    setupwindow(0);
    for (uint8_t window = 0; window <= 12; ++window)
        show(window);
    choose(200);
    for (uint8_t window = 0; window <= 12; ++window)
        EXPECT_FALSE(visible(window)) << "window " << int(window);
}

TEST_F(MenuCommands, HideTheMainWindow)
{
    show(12);
    makemain(9);
    choose(201);
    EXPECT_FALSE(visible(9));
    EXPECT_TRUE(visible(12));
}

TEST_F(MenuCommands, CopyTextOfPrinterAndConsoleUnchanged)
{
    for (const uint8_t window : {9, 10}) {
        const std::string whole = "Zeile 1\rZeile 2 mit \u008A und ü\r" + std::to_string(window);
        settext(window, whole);
        makemain(window);
        choose(111);
        EXPECT_EQ(clipboardtext(), whole);
    }
}

TEST_F(MenuCommands, CopyTextOfAGraphicWindowShowsGraphicCodesAsLookAlikes)
{
    setupwindow(0);
    const uint8_t codes[] = {'a', 138, 'b', 140, 228};
    for (int column = 1; column <= 5; ++column)
        t_PrintSymbol(0, codes[column - 1], 0xF0, column, 2);
    makemain(0);
    choose(111);
    EXPECT_EQ(clipboardtext(), "\ra|b-ä");
}

TEST_F(MenuCommands, CopyWithNothingToCopyLeavesTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
    DiagCapture capture;
    makemain(11);  // preferences: neither text nor picture
    choose(111);
    choose(110);
    for (TextView** outlet :
         {&appdelegate().VirtualPrinterTextView, &appdelegate().SystemConsoleTextView}) {
        makemain(outlet == &appdelegate().VirtualPrinterTextView ? 9 : 10);
        TextView* view = std::exchange(*outlet, nullptr);
        choose(111);
        *outlet = view;
    }
    EXPECT_EQ(capture.lines(),
              (Lines{"t_MenuEventHandler: Virtual printer window is nil, resource undefined.",
                     "t_MenuEventHandler: System console window is nil, resource undefined."}));
    EXPECT_EQ(clipboardtext(), "vorher");
    EXPECT_EQ(events().size(), 4u);
}

TEST_F(MenuCommands, CopyPictureOfAGraphicWindow)
{
    setupwindow(0);
    makemain(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
    choose(110);
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), windowtable[0].Width);
    EXPECT_EQ(image.height(), windowtable[0].Height);
    EXPECT_EQ(clipboardtext(), "") << "the clipboard was cleared first";
}

TEST_F(MenuCommands, ClearPrinterOrConsoleEmptiesTextAndBuffer)
{
    // tag, the window it clears, the other window
    const std::tuple<int64_t, uint8_t, uint8_t> rows[] = {{112, 9, 10}, {114, 10, 9}};
    for (const auto& [tag, cleared, other] : rows) {
        settext(cleared, "Protokoll\rPatient: Hallo\r");
        settext(other, "bleibt");
        {
            std::lock_guard lock(printerbufferlock);
            printeroutputbuffer.assign({'p'});
            consoleoutputbuffer.assign({'k'});
        }
        choose(tag);
        EXPECT_EQ(text(cleared), "") << "tag " << tag;
        EXPECT_TRUE(totextview(windowtextview(cleared))->toPlainText().isEmpty());
        EXPECT_EQ(text(other), "bleibt");
        std::lock_guard lock(printerbufferlock);
        EXPECT_EQ(printeroutputbuffer.empty(), cleared == 9) << "tag " << tag;
        EXPECT_EQ(consoleoutputbuffer.empty(), cleared == 10) << "tag " << tag;
    }
}

TEST_F(MenuCommands, ClearingWithoutTheTextViewReportsAndKeepsTheBuffer)
{
    {
        std::lock_guard lock(printerbufferlock);
        printeroutputbuffer.assign({'x'});
    }
    AppDelegate& delegate = appdelegate();
    TextView* printer = delegate.VirtualPrinterTextView;
    TextView* console = delegate.SystemConsoleTextView;
    delegate.VirtualPrinterTextView = delegate.SystemConsoleTextView = nullptr;
    DiagCapture capture;
    choose(112);
    choose(114);
    delegate.VirtualPrinterTextView = printer;
    delegate.SystemConsoleTextView = console;
    EXPECT_EQ(capture.lines(),
              (Lines{"t_MenuEventHandler: Virtual printer window is nil, resource undefined.",
                     "t_MenuEventHandler: System console window is nil, resource undefined."}));
    std::lock_guard lock(printerbufferlock);
    EXPECT_EQ(printeroutputbuffer.size(), 1u);
}

TEST_F(MenuCommands, ProgramActionOnlyWithAGraphicMainWindow)
{
    makemain(10);
    choose(113);
    EXPECT_EQ(handlers.action, 0);
    makemain(3);  // a graphic window, set up or not
    choose(113);
    EXPECT_EQ(handlers.action, 1);
    EXPECT_EQ(handlers.menu, 0);
}

TEST_F(MenuCommands, AnEventRecordsTheChosenItem)
{
    settext(9, "");
    makemain(9);
    const int64_t before = absolute_ms();
    choose(111);
    const int64_t after = absolute_ms();
    const std::vector<t_MenuEvent> queued = events();
    ASSERT_EQ(queued.size(), 1u);
    const t_MenuEvent& event = queued[0];
    EXPECT_EQ(event.Kind, 3);
    EXPECT_EQ(event.MenuTitle, "Bearbeiten");
    EXPECT_EQ(event.ItemTitle, "Text kopieren");
    EXPECT_EQ(event.ItemKeyChar, "c");
    EXPECT_EQ(event.ItemKeyAsc, 'c');
    EXPECT_NE(event.ItemKeyMods, 0u);
    EXPECT_EQ(event.ItemAction, 111);
    EXPECT_GE(event.Time, before);
    EXPECT_LE(event.Time, after);
    EXPECT_TRUE(t_MenuEventAvailable);
    EXPECT_EQ(menuqueuelength(), 1u);
}

TEST_F(MenuCommands, ChoicesWithoutEntryStartTheMenuHandlerOnItsOwnTask)
{
    // The program thread takes number 2, as in the program.
    ASSERT_TRUE(run_on_program_thread([] {}));
    chooseinfo(0);
    ASSERT_TRUE(pump_until([&] { return handlers.menu == 1; }, 2000));
    EXPECT_GE(handlers.menuthread, 3);
    chooseinfo(4711);
    t_MenuEventHandler(t_MenuItemInfo{});  // an item in no menu
    ASSERT_TRUE(pump_until([&] { return handlers.menu == 3; }, 2000));
    const std::vector<t_MenuEvent> queued = events();
    ASSERT_EQ(queued.size(), 3u);
    EXPECT_EQ(queued[0].Kind, 3);
    EXPECT_EQ(queued[0].ItemAction, 0);
    EXPECT_EQ(queued[0].ItemTitle, "Eigenes");
    EXPECT_EQ(queued[1].ItemAction, 4711);
    EXPECT_EQ(queued[2].Kind, 0);
    EXPECT_EQ(queued[2].ItemTitle, "");
    EXPECT_EQ(queued[2].Time, 0);
    pump_for(50);
    EXPECT_EQ(handlers.menu, 3) << "one call per choice";
}

TEST(MenuChoices, BeforeTheActionTableExistsEveryChoiceGoesToTheProgram)
{
    Handlers handlers;
    settext(9, "bleibt");
    choose(112);
    ASSERT_TRUE(pump_until([&] { return handlers.menu == 1; }, 2000));
    EXPECT_EQ(text(9), "bleibt");
    EXPECT_EQ(events().size(), 1u);
}
