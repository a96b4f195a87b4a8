// Keys and the close box through the real Qt views, with the line editor
// running on the program thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <atomic>
#include <memory>

#include "input/key_events.h"
#include "input/line_editor.h"
#include "input/mouse_events.h"
#include "platform/platform.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
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

// Typed "Hallo" and Return come back as the line and stay on screen.
// Control+V types the clipboard's German text into the next line, the
// characters beyond Latin-1 escaped, and Return sends it. The lines are
// shared so that a test that gives up early leaves the program thread
// nothing dangling to write to.
TEST(InputOnScreen, TypedAndPastedKeysComeBackAsLines)
{
    struct Lines {
        std::string lines[2];
        std::atomic<int> count{0};
    };
    auto program = std::make_shared<Lines>();
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
    // The program waits in t_GetKey exactly while its text cursor is shown.
    ASSERT_TRUE(pump_until([] { return windowtable[0].TextCursorLevel == 1; }));
    QWidget* view0 = toview(windowview(0));
    typetext(view0, QStringLiteral("Hallo"));
    pressreturn(view0);
    ASSERT_TRUE(pump_until([&] { return program->count == 1; }));
    EXPECT_EQ(program->lines[0], "Hallo");
    EXPECT_EQ(screen_line(0, 1).substr(0, 8), "=>Hallo ");
    const std::string german = "Preis 5\u20AC \u2013 \u201Egut\u201C";
    platform::set_pasteboard_text(german + "\nzweite Zeile");
    pressctrl(view0, Qt::Key_V);
    // The paste is typed once the program has taken the Control+V.
    ASSERT_TRUE(pump_until([] { return screen_line(0, 2).find("gut") != std::string::npos; }));
    pressreturn(view0);
    ASSERT_TRUE(pump_until([&] { return program->count == 2; }));
    EXPECT_EQ(std::tuple(unescapedtext(program->lines[1]), keyqueuelength()), std::tuple(german, 0u));
    EXPECT_EQ(screen_line(0, 2).substr(0, 15), "=>Preis 5[20AC]");
}

// A right click in the far corner of its 320 x 160 pixel area (an off-by-one
// in the bottom-up flip shows), then the close box.
TEST(InputOnScreen, AClickAndTheCloseBoxOnWindowThree)
{
    setprogrammousehandler([] {});
    ASSERT_TRUE(run_on_program_thread([] {
        t_InitWindow(3, 24, 20, 5, 10, font);
        t_WindowVisible(3, true);
        t_Print(3, "Fenster drei");
    }));
    QWidget* top = towidget(platformwindow(3));
    ASSERT_TRUE(top != nullptr && top->isVisible());
    const std::string screen = screen_text(3);
    QWidget* view3 = toview(windowview(3));
    const QPointF at(319, 159), global = view3->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view3, &press);
    EXPECT_TRUE(t_RightMouseButtonPressed);
    QCoreApplication::sendEvent(view3, &release);
    EXPECT_FALSE(t_RightMouseButtonPressed);
    ASSERT_EQ(t_MouseEvents.size(), 1u);  // only this thread writes the queue
    EXPECT_EQ(std::tuple(t_MouseEvents[0].ClickX, t_MouseEvents[0].ClickY, t_MouseEvents[0].Index),
              std::tuple(319, 159, 2));
    {
        DiagCapture capture;
        top->close();
        EXPECT_EQ(capture.lines(), std::vector<std::string>{"t_MouseEventPostCloseBoxClick: Window = 3"});
    }
    EXPECT_FALSE(top->isVisible() || windowtable[3].Visible);
    ASSERT_TRUE(run_on_program_thread([] { t_WindowVisible(3, true); }));
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(screen_text(3), screen);
    EXPECT_EQ(screen_line(3, 1).substr(0, 12), "Fenster drei");
}

}  // namespace
