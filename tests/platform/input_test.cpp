// Keys, clicks, the clipboard and the close box through the real Qt
// views, with the line editor running on the program thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>
#include <atomic>
#include <memory>

#include "input/key_events.h"
#include "input/line_editor.h"
#include "input/mouse_events.h"
#include "platform/platform.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "startup/threads.h"
#include "support/keys.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

constexpr const char* font = "MenloBold 16x32.font";

QWidget* view(uint8_t number)
{
    return toview(windowview(number));
}

// The program waits in t_GetKey exactly while its text cursor is shown.
bool waitsforkey(uint8_t window)
{
    return pump_until([window] { return windowtable[window].TextCursorLevel == 1; });
}

// Lines the program thread reads; shared so that a test that gives up
// early leaves the thread nothing dangling to write to.
struct ProgramLines {
    std::string lines[3];
    std::atomic<int> count{0};
};

// Starts the program: window 0 as the conversation sets it up, then
// `count` lines read with the prompt "=>".
std::shared_ptr<ProgramLines> readlines(int count)
{
    auto result = std::make_shared<ProgramLines>();
    startprocess(
        [result, count] {
            t_InitWindow(0, 24, 80, 25, 24, font);
            t_WindowVisible(0, true);
            for (int i = 0; i < count; ++i) {
                result->lines[i] = t_InputForm(0, "=>", "", false, 0, 80);
                ++result->count;
            }
        },
        64 * 1024 * 1024);
    return result;
}

TEST(InputOnScreen, TypedKeysComeBackAsTheLineAndShowInWindowZero)
{
    const auto program = readlines(1);
    ASSERT_TRUE(waitsforkey(0));
    QWidget* view0 = view(0);
    ASSERT_NE(view0, nullptr);
    typetext(view0, QStringLiteral("Hallo"));
    EXPECT_FALSE(t_KeyPressed) << "the last release";
    pressreturn(view0);
    ASSERT_TRUE(pump_until([&] { return program->count == 1; }));
    EXPECT_EQ(program->lines[0], "Hallo");
    EXPECT_EQ(screen_line(0, 1).substr(0, 8), "=>Hallo ");
    EXPECT_EQ(windowtable[0].TextVpos, 2);
    EXPECT_EQ(t_LastKeyEvent.Index, 36);
    EXPECT_EQ(t_LastKeyEvent.Window, 0);
}

// The clipboard holds a euro sign: the pasted line types "x", then the
// escape that stands for the euro cancels the line; the rest of the escape
// and "y" are typed into the next line. Copy puts that line back.
TEST(InputOnScreen, PasteAndCopyGoThroughTheSystemClipboard)
{
    platform::set_pasteboard_text("x\u20ACy\rzweite Zeile");
    const auto program = readlines(2);
    ASSERT_TRUE(waitsforkey(0));
    QWidget* view0 = view(0);
    pressctrl(view0, Qt::Key_V);
    ASSERT_TRUE(pump_until([&] { return program->count == 1; }));
    EXPECT_EQ(program->lines[0], "");
    ASSERT_TRUE(waitsforkey(0));
    pressctrl(view0, Qt::Key_L);
    ASSERT_TRUE(pump_until([] { return platform::pasteboard_text() == "20ACy"; }));
    pressreturn(view0);
    ASSERT_TRUE(pump_until([&] { return program->count == 2; }));
    EXPECT_EQ(program->lines[1], "20ACy");
    EXPECT_EQ(keyqueuelength(), 0u);
}

TEST(InputOnScreen, AClickReachesTheProgramWithItsPixelPosition)
{
    static std::atomic<int> calls{0};
    setprogrammousehandler([] { ++calls; });
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, font); }));
    QWidget* view0 = view(0);
    const struct {
        QPointF at;
        Qt::MouseButton button;
        int64_t clickx, clicky;
    } clicks[] = {{{5, 7}, Qt::LeftButton, 5, 7}, {{1279, 799}, Qt::RightButton, 1279, 799}};
    DiagCapture capture;
    for (const auto& click : clicks) {
        const QPointF global = view0->mapToGlobal(click.at);
        QMouseEvent press(QEvent::MouseButtonPress, click.at, global, click.button, click.button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(view0, &press);
        EXPECT_EQ(t_RightMouseButtonPressed, click.button == Qt::RightButton);
        QMouseEvent release(QEvent::MouseButtonRelease, click.at, global, click.button,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view0, &release);
        EXPECT_FALSE(t_LeftMouseButtonPressed || t_RightMouseButtonPressed);
    }
    std::lock_guard<std::mutex> lock(t_MouseEventsLock);
    ASSERT_EQ(t_MouseEvents.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(t_MouseEvents[i].ClickX, clicks[i].clickx);
        EXPECT_EQ(t_MouseEvents[i].ClickY, clicks[i].clicky);
    }
    EXPECT_EQ(t_MouseEvents[0].Index, 1);
    EXPECT_EQ(t_MouseEvents[1].Index, 2);
    EXPECT_TRUE(pump_until([] { return calls == 2; }));
}

TEST(InputOnScreen, TheCloseBoxHidesWindowThreeAndKeepsIt)
{
    ASSERT_TRUE(run_on_program_thread([] {
        t_InitWindow(3, 24, 20, 5, 10, font);
        t_WindowVisible(3, true);
        t_Print(3, "Fenster drei");
    }));
    QWidget* top = towidget(platformwindow(3));
    ASSERT_NE(top, nullptr);
    ASSERT_TRUE(top->isVisible());
    const std::string screen = screen_text(3);
    {
        DiagCapture capture;
        top->close();
        EXPECT_EQ(capture.lines(),
                  std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 3"});
    }
    EXPECT_FALSE(top->isVisible());
    EXPECT_FALSE(windowtable[3].Visible);
    EXPECT_TRUE(windowtable[3].Initialized);
    ASSERT_TRUE(run_on_program_thread([] { t_WindowVisible(3, true); }));
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(screen_text(3), screen);
    EXPECT_EQ(screen_line(3, 1).substr(0, 12), "Fenster drei");
}

}  // namespace
