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

// The program waits in t_GetKey exactly while its text cursor is shown.
bool waitsforkey()
{
    return pump_until([] { return windowtable[0].TextCursorLevel == 1; });
}

// Lines the program thread reads; shared so that a test that gives up
// early leaves the thread nothing dangling to write to.
struct ProgramLines {
    std::string lines[3];
    std::atomic<int> count{0};
};

// Typed "Hallo" comes back as the line and stays on screen. Then the
// clipboard holds a euro sign: the pasted line types "x", the escape that
// stands for the euro cancels the line, and the rest of the escape and "y"
// go into the next line, which Copy puts back on the clipboard.
TEST(InputOnScreen, TypedAndPastedKeysComeBackAsLines)
{
    auto program = std::make_shared<ProgramLines>();
    startprocess(
        [program] {
            t_InitWindow(0, 24, 80, 25, 24, font);
            t_WindowVisible(0, true);
            for (std::string& line : program->lines) {
                line = t_InputForm(0, "=>", "", false, 0, 80);
                ++program->count;
            }
        },
        64 * 1024 * 1024);
    ASSERT_TRUE(waitsforkey());
    QWidget* view0 = toview(windowview(0));
    typetext(view0, QStringLiteral("Hallo"));
    EXPECT_FALSE(t_KeyPressed) << "the last release";
    pressreturn(view0);
    ASSERT_TRUE(pump_until([&] { return program->count == 1; }));
    EXPECT_EQ(program->lines[0], "Hallo");
    EXPECT_EQ(screen_line(0, 1).substr(0, 8), "=>Hallo ");
    EXPECT_EQ(windowtable[0].TextVpos, 2);
    EXPECT_EQ(std::tuple(t_LastKeyEvent.Index, t_LastKeyEvent.Window), std::tuple(36, 0));

    platform::set_pasteboard_text("x\u20ACy\rzweite Zeile");
    ASSERT_TRUE(waitsforkey());
    pressctrl(view0, Qt::Key_V);
    ASSERT_TRUE(pump_until([&] { return program->count == 2; }));
    EXPECT_EQ(program->lines[1], "");
    ASSERT_TRUE(waitsforkey());
    pressctrl(view0, Qt::Key_L);
    ASSERT_TRUE(pump_until([] { return platform::pasteboard_text() == "20ACy"; }));
    pressreturn(view0);
    ASSERT_TRUE(pump_until([&] { return program->count == 3; }));
    EXPECT_EQ(program->lines[2], "20ACy");
    EXPECT_EQ(keyqueuelength(), 0u);
}

// Both corners of the 1280 x 800 pixel area, the button flags on the way.
TEST(InputOnScreen, AClickReachesTheProgramWithItsPixelPosition)
{
    static std::atomic<int> calls{0};
    setprogrammousehandler([] { ++calls; });
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 80, 25, 24, font); }));
    QWidget* view0 = toview(windowview(0));
    const struct { int64_t x, y; Qt::MouseButton button; } clicks[] = {{5, 7, Qt::LeftButton},
                                                                      {1279, 799, Qt::RightButton}};
    DiagCapture capture;
    for (const auto& click : clicks) {
        const QPointF at(click.x, click.y), global = view0->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, click.button, click.button, Qt::NoModifier);
        QCoreApplication::sendEvent(view0, &press);
        EXPECT_EQ(t_RightMouseButtonPressed, click.button == Qt::RightButton);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, click.button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view0, &release);
        EXPECT_FALSE(t_LeftMouseButtonPressed || t_RightMouseButtonPressed);
    }
    std::lock_guard<std::mutex> lock(t_MouseEventsLock);
    ASSERT_EQ(t_MouseEvents.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const t_Event& e = t_MouseEvents[i];
        EXPECT_EQ(std::tuple(e.ClickX, e.ClickY, e.Index), std::tuple(clicks[i].x, clicks[i].y, int64_t(i + 1)));
    }
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
    ASSERT_TRUE(top != nullptr && top->isVisible());
    const std::string screen = screen_text(3);
    {
        DiagCapture capture;
        top->close();
        EXPECT_EQ(capture.lines(), std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 3"});
    }
    EXPECT_FALSE(top->isVisible() || windowtable[3].Visible);
    EXPECT_TRUE(windowtable[3].Initialized);
    ASSERT_TRUE(run_on_program_thread([] { t_WindowVisible(3, true); }));
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(screen_text(3), screen);
    EXPECT_EQ(screen_line(3, 1).substr(0, 12), "Fenster drei");
}

}  // namespace
