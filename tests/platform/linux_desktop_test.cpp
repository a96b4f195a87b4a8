// What a Linux desktop user meets, offscreen with real Qt events: leaving
// no window shown quits, the menu bar leaves Alt and F10 to the views,
// composed text reaches the runtime as the key that completed it, and the
// program refuses to start without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <functional>
#include <mutex>
#include <set>
#include <vector>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/application.h"
#include "frontends/qt/composition.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/key_mapping.h"
#include "frontends/qt/top_window.h"
#include "input/key_events.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "text/text_output.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

constexpr const char* font = "MenloBold 16x32.font";
constexpr int interfacewindows = 13;

QWidget* window(int number)
{
    return towidget(platformwindow(uint8_t(number)));
}

QWidget* view0()
{
    return toview(windowview(0));
}

// Every window hidden and back to its normal state.
void hideall()
{
    for (int n = 0; n < interfacewindows; ++n)
        if (QWidget* w = window(n)) {
            w->setWindowState(Qt::WindowNoState);
            w->hide();
        }
}

// Runs `act` inside the application's event loop and answers the loop's
// status: 0 when the act quit the application as Beenden does, -1 when it
// had not after 300 ms.
int loopstatus(const std::function<void()>& act)
{
    QTimer start, watchdog;
    start.setSingleShot(true);
    watchdog.setSingleShot(true);
    QObject::connect(&start, &QTimer::timeout, act);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    start.start(0);
    watchdog.start(300);
    return QCoreApplication::exec();
}

QAction* quititem()
{
    for (QAction* item : appdelegate().menus.front()->actions())
        if (item->text() == QStringLiteral("Beenden"))
            return item;
    return nullptr;
}

void closewindow(int number)
{
    window(number)->close();
}

void choose(int64_t tag)
{
    itemwithtag(tag)->trigger();
}

// The key events queued since the queue was emptied: key code, value and
// characters.
using Queued = std::tuple<int64_t, int64_t, std::string>;
std::vector<Queued> takequeued()
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    std::vector<Queued> queued;
    for (const t_Event& event : t_KeyEvents)
        queued.emplace_back(event.Index, event.Value, event.Description);
    t_KeyEvents.clear();
    t_KeyEventAvailable = false;
    return queued;
}

void sendto(QWidget* target, QEvent&& event)
{
    QApplication::sendEvent(target, &event);
}

}  // namespace

// Whatever leaves no window shown quits as Beenden does; "Alle Fenster
// ausblenden" minimises instead, and a close box with another window still
// shown only hides its window.
TEST(LinuxDesktop, LeavingNoWindowShownQuits)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 20, 4, 8, font); }));
    const struct {
        const char* what;
        std::set<int> shown;
        std::function<void()> act;
        int status;
        std::set<int> visible, minimised;
    } rows[] = {
        {"close box of the last window", {0}, [] { closewindow(0); }, 0, {}, {}},
        {"close box with the printer still shown", {0, 9}, [] { closewindow(0); }, -1, {9}, {}},
        {"the printer's close box", {0, 9}, [] { closewindow(9); }, -1, {0}, {}},
        {"Protokoll ausblenden, the last window", {9}, [] { choose(210); }, 0, {}, {}},
        {"Alle Fenster ausblenden", {0, 9}, [] { choose(200); }, -1, {0, 9}, {0, 9}},
        {"Beenden", {0}, [] { quititem()->trigger(); }, 0, {0}, {}},
    };
    appdelegate().launchfinished = true;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        hideall();
        for (const int n : row.shown)
            window(n)->show();
        EXPECT_EQ(loopstatus(row.act), row.status);
        for (int n = 0; n < interfacewindows; ++n) {
            EXPECT_EQ(window(n)->isVisible(), row.visible.contains(n)) << n;
            EXPECT_EQ(window(n)->isMinimized(), row.minimised.contains(n)) << n;
        }
    }
    appdelegate().launchfinished = false;
    hideall();
}

// Alt is the Option modifier and F10 a function key: a lone tap of either
// in a view leaves the menu bar alone and the keys that follow to the view.
TEST(LinuxDesktop, AltAndF10NeverStartTheMenuBar)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 20, 4, 8, font); }));
    auto* top = static_cast<TopWindow*>(window(0));
    top->show();
    QApplication::setActiveWindow(top);
    view0()->setFocus();
    takequeued();
    for (const auto& [key, modifiers] : {std::pair{Qt::Key_Alt, Qt::AltModifier}, {Qt::Key_F10, Qt::NoModifier}}) {
        for (const QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease})
            sendto(view0(), QKeyEvent(type, key, type == QEvent::KeyRelease ? Qt::NoModifier : modifiers));
        EXPECT_EQ(top->menubar()->activeAction(), nullptr) << key;
        EXPECT_EQ(QApplication::focusWidget(), view0()) << key;
    }
    EXPECT_EQ(takequeued(), (std::vector<Queued>{{109, 138, "\uF70D"}})) << "F10 is a function key";
    hideall();
}

// The input method hands over composed text; it reaches the runtime as the
// key that completed the sequence. Keys it swallowed without composing come
// first, as dead keys do: without characters. X11 key codes are evdev + 8.
TEST(LinuxDesktop, ComposedTextIsTheKeyThatCompletedIt)
{
    ASSERT_TRUE(run_on_program_thread([] { t_InitWindow(0, 24, 20, 4, 8, font); }));
    struct Native { quint32 scancode, state; };
    const auto commit = [](const char* text) {
        return [text] {
            QInputMethodEvent event;
            event.setCommitString(QString::fromUtf8(text));
            sendto(view0(), std::move(event));
        };
    };
    const auto key = [](QEvent::Type type, int qtkey, quint32 scancode, const char* text) {
        return [=] { sendto(view0(), QKeyEvent(type, qtkey, Qt::NoModifier, scancode, 0, 0, QString::fromUtf8(text))); };
    };
    const struct {
        const char* what;
        std::vector<Native> noted;
        std::function<void()> arrives;
        std::vector<Queued> queued;
    } rows[] = {
        {"´ then e", {{21, 0}, {26, 0}}, commit("\u00E9"), {{14, 233, "\u00E9"}}},
        {"Compose, o, Shift+2", {{135, 0}, {32, 0}, {50, 0}, {11, 1}}, commit("\u00F6"), {{19, 246, "\u00F6"}}},
        {"no key position known", {}, commit("\u00E9"), {{unknownkeycode, 233, "\u00E9"}}},
        {"´ then x composes nothing", {{21, 0}, {53, 0}}, key(QEvent::KeyPress, Qt::Key_X, 53, "x"),
         {{24, 180, ""}, {7, 120, "x"}}},
        {"Shift+´, Shift left out", {{50, 1}, {21, 1}, {53, 0}}, key(QEvent::KeyPress, Qt::Key_X, 53, "x"),
         {{24, 96, ""}, {7, 120, "x"}}},
        {"a key a menu shortcut took", {{33, 5}}, key(QEvent::ShortcutOverride, Qt::Key_P, 33, ""), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        takequeued();
        for (const Native& press : row.noted)
            notenativepress(press.scancode, press.state);
        row.arrives();
        EXPECT_EQ(takequeued(), row.queued);
        // Nothing noted is left over for the next key.
        key(QEvent::KeyPress, Qt::Key_A, 38, "a")();
        EXPECT_EQ(takequeued(), (std::vector<Queued>{{0, 97, "a"}}));
    }
}

// The input method places its window at the text cursor: the cursor's cell
// of the window's pixels, scaled as the view shows them.
TEST(LinuxDesktop, TheInputMethodFindsTheTextCursor)
{
    ASSERT_TRUE(run_on_program_thread([] {
        t_InitWindow(0, 24, 20, 4, 8, font);
        t_Print(0, "abc");
    }));
    EXPECT_TRUE(view0()->inputMethodQuery(Qt::ImEnabled).toBool());
    const double sx = double(view0()->width()) / double(windowtable[0].Width);
    const double sy = double(view0()->height()) / double(windowtable[0].Height);
    EXPECT_EQ(view0()->inputMethodQuery(Qt::ImCursorRectangle).toRect(),
              QRectF(3 * 16 * sx, 0, 16 * sx, 32 * sy).toRect());
}

// A desktop needs an X11 or Wayland display, unless Qt is told to use a
// platform that has none.
TEST(LinuxDesktop, WithoutADisplayTheDesktopCannotStart)
{
    const char* none = nullptr;
    const struct { const char *display, *wayland, *platform; bool starts; } rows[] = {
        {":0", none, none, true},          {none, "wayland-0", none, true}, {none, none, "offscreen", true},
        {none, none, "vnc:size=800x600", true}, {none, none, "wayland;minimal", true},
        {none, none, none, false},         {"", "", none, false},         {none, none, "xcb", false},
        {none, none, "wayland;xcb", false},
    };
    for (const auto& row : rows) {
        const std::string line = missingdisplay(row.display, row.wayland, row.platform);
        EXPECT_EQ(line.empty(), row.starts) << (row.platform ? row.platform : "unset");
        if (!row.starts) {
            EXPECT_NE(line.find("DISPLAY and WAYLAND_DISPLAY are not set"), std::string::npos) << line;
            EXPECT_NE(line.find("QT_QPA_PLATFORM"), std::string::npos) << line;
        }
    }
}
