// Real key codes pressed through the X server's XTEST extension on the
// German layout, into view 0 of the program's own window: the key events
// the runtime queues for them. Each row presses its chords in turn (the
// keys of a chord down in order, then up in reverse order).
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <cstring>
#include <tuple>
#include <vector>

#include "input/key_events.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "support/keyboard.h"
#include "support/program_thread.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"
#include "x11/x11_server.h"


namespace {

using Chord = std::vector<const char*>;  // German legends, held together
using Event = std::tuple<int64_t, int64_t, std::string>;  // key code, value, characters

unsigned x11keycode(const char* legend)
{
    for (const KeyboardKey& key : keyboardkeys)
        if (std::strcmp(key.german, legend) == 0)
            return unsigned(key.evdev + 8);
    ADD_FAILURE() << "no key " << legend;
    return 0;
}

class X11Keys : public testing::Test {
protected:
    void SetUp() override
    {
        if (!xserverproblem.empty())
            GTEST_SKIP() << xserverproblem;
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr);
        ASSERT_TRUE(run_on_program_thread([] {
            t_InitWindow(0, 24, 20, 4, 8, "MenloBold 16x32.font");
            t_WindowFront(0);
        }));
        view = toview(windowview(0));
        ASSERT_TRUE(focusview(view));
    }

    void TearDown() override
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    void press(const std::vector<Chord>& chords)
    {
        for (const Chord& chord : chords) {
            for (const char* key : chord)
                XTestFakeKeyEvent(display, x11keycode(key), True, CurrentTime);
            for (auto key = chord.rbegin(); key != chord.rend(); ++key)
                XTestFakeKeyEvent(display, x11keycode(*key), False, CurrentTime);
            XFlush(display);
            pump_for(20);
        }
    }

    // The events queued since the last call, once `count` have arrived and
    // no more follow.
    static std::vector<Event> queued(size_t count)
    {
        pump_until([&] { return keyqueuelength() >= count; }, 3000);
        pump_for(50);
        std::vector<Event> events;
        std::lock_guard lock(t_KeyEventsLock);
        for (const t_Event& e : t_KeyEvents)
            events.emplace_back(e.Index, e.Value, e.Description);
        t_KeyEvents.clear();
        t_KeyEventAvailable = false;
        return events;
    }

    Display* display = nullptr;
    QWidget* view = nullptr;
};

// The editing keys, umlauts and ß where the German layout has them, the
// dead ^ left of 1 and the < beside the left Shift, AltGr and Control
// combinations; modifier and lock keys alone queue nothing.
TEST_F(X11Keys, RealKeyCodesOnAGermanLayoutReachTheQueue)
{
    const struct {
        const char* what;
        std::vector<Chord> chords;
        std::vector<Event> events;
    } rows[] = {
        {"arrows", {{"Links"}, {"Rechts"}, {"Auf"}, {"Ab"}},
         {{123, 8, "\uF702"}, {124, 21, "\uF703"}, {126, 11, "\uF700"}, {125, 10, "\uF701"}}},
        {"Home, End, Page Up, Page Down", {{"Pos1"}, {"Ende"}, {"Bild auf"}, {"Bild ab"}},
         {{115, 2, "\uF729"}, {119, 5, "\uF72B"}, {116, 18, "\uF72C"}, {121, 3, "\uF72D"}}},
        {"Backspace, Delete", {{"Rück"}, {"Entf"}}, {{51, 127, "\x7F"}, {117, 7, "\uF728"}}},
        {"Return, keypad Enter, Escape", {{"Eingabe"}, {"Ziffernblock Eingabe"}, {"Esc"}},
         {{36, 13, "\r"}, {76, 13, "\r"}, {53, 27, "\x1B"}}},
        {"Tab, Shift+Tab, F1", {{"Tab"}, {"Umschalt links", "Tab"}, {"F1"}},
         {{48, 9, "\t"}, {48, 20, "\x19"}, {122, 129, "\uF704"}}},
        {"umlauts and sharp s", {{"Ä"}, {"Umschalt links", "Ö"}, {"Ü"}, {"ß"}},
         {{39, 228, "ä"}, {41, 214, "Ö"}, {33, 252, "ü"}, {27, 223, "ß"}}},
        {"Z and Y by their German places", {{"Z"}, {"Y"}, {"Umschalt links", "2"}},
         {{16, 'z', "z"}, {6, 'y', "y"}, {19, '"', "\""}}},
        {"dead ^ left of 1, ° above it", {{"^"}, {"Umschalt links", "^"}}, {{10, 94, ""}, {10, 176, "°"}}},
        {"< beside the left Shift", {{"<"}}, {{50, '<', "<"}}},
        {"AltGr", {{"Alt Gr", "Q"}, {"Alt Gr", "E"}, {"Alt Gr", "<"}},
         {{12, '@', "@"}, {14, 164, "€"}, {50, '|', "|"}}},
        {"Control", {{"Strg links", "A"}, {"Strg links", "Z"}, {"Strg rechts", "V"}},
         {{0, 1, "\x01"}, {16, 26, "\x1A"}, {9, 22, "\x16"}}},
        {"Control+^ starts a decimal code", {{"Strg links", "^"}}, {{10, 30, "\x1E"}}},
        {"keypad 8 with Num Lock on", {{"Num"}, {"Ziffernblock 8"}, {"Num"}}, {{91, '8', "8"}}},
        {"modifier and lock keys alone",
         {{"Umschalt links"}, {"Umschalt rechts"}, {"Strg links"}, {"Alt Gr"}, {"Super links"}, {"Feststell"},
          {"Feststell"}, {"Rollen"}, {"Rollen"}},
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        press(row.chords);
        EXPECT_EQ(queued(row.events.size()), row.events);
    }
}

// Control with keypad 8 sends the window's text output to standard output
// and queues nothing.
TEST_F(X11Keys, ControlWithKeypadEightRedirectsTheOutput)
{
    press({{"Num"}, {"Strg links", "Ziffernblock 8"}, {"Num"}});
    EXPECT_EQ(queued(0), std::vector<Event>{});
    EXPECT_EQ(windowtable[0].TextRedirectOutput, 2);
}

}  // namespace
