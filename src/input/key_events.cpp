// The key event queue: filled by the views on the main thread and by
// typed-ahead text on the program thread, emptied on the program thread.
//
// A deque keeps taking off the front constant-time, so a flood of queued
// keys (a long paste, a stuck key) costs linear time to work through.
#include "input/key_events.h"

#include <algorithm>
#include <chrono>

#include "input/key_translation.h"
#include "text/text_attributes.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/unicode.h"
#include "windows/window_table.h"

std::mutex t_KeyEventsLock;
std::deque<t_Event> t_KeyEvents;
relaxed<bool> t_KeyEventAvailable;
t_Event t_LastKeyEvent;
relaxed<bool> t_KeyPressed;
relaxed<bool> t_CapsLockPressed;
relaxed<bool> t_ShiftPressed;
relaxed<bool> t_ControlPressed;
relaxed<bool> t_OptionPressed;
relaxed<bool> t_CommandPressed;
relaxed<bool> t_FnPressed;

namespace {

// t_GetKey sleeps on this until an append wakes it; every append in the
// runtime notifies it under the queue's lock. The bound only matters to a
// program that appends to t_KeyEvents by hand, without queuekeyevent.
std::condition_variable keyqueued;
constexpr auto handappendlimit = std::chrono::seconds(1);

// Both run with t_KeyEventsLock held, so the flag always matches the queue
// a waiter will find once it takes the lock.
void appendlocked(t_Event event)
{
    t_KeyEvents.push_back(std::move(event));
    t_KeyEventAvailable = true;
    keyqueued.notify_one();
}

bool takelocked(t_Event& event)
{
    const bool taken = !t_KeyEvents.empty();
    if (taken) {
        event = std::move(t_KeyEvents.front());
        t_KeyEvents.pop_front();
    }
    t_KeyEventAvailable = !t_KeyEvents.empty();
    return taken;
}

void setlivemodifiers(uint64_t flags)
{
    t_CapsLockPressed = (flags & capslockflag) != 0;
    t_ShiftPressed = (flags & shiftflag) != 0;
    t_ControlPressed = (flags & controlflag) != 0;
    t_OptionPressed = (flags & optionflag) != 0;
    t_CommandPressed = (flags & commandflag) != 0;
    t_FnPressed = (flags & fnflag) != 0;
}

// The one-character string of a taken key's code; U+0000 for a code that
// is no Unicode scalar value.
std::string keystring(int64_t value)
{
    return unicode::encode(unicode::isscalar(value) ? static_cast<char32_t>(value) : 0);
}

}  // namespace

void eventmodifiers(t_Event& event, uint64_t modifierFlags)
{
    event.Mods = static_cast<int64_t>((modifierFlags >> 16) & 0xFFFF);
    event.CapsLockPressed = (modifierFlags & capslockflag) != 0;
    event.ShiftPressed = (modifierFlags & shiftflag) != 0;
    event.ControlPressed = (modifierFlags & controlflag) != 0;
    event.OptionPressed = (modifierFlags & optionflag) != 0;
    event.CommandPressed = (modifierFlags & commandflag) != 0;
    event.NumericPadPressed = (modifierFlags & numericpadflag) != 0;
    event.HelpPressed = (modifierFlags & helpflag) != 0;
    event.FnPressed = (modifierFlags & fnflag) != 0;
}

// ---- View side ----------------------------------------------------------------

bool viewtakesevents(const char* op, int window)
{
    if (!memoryready || window < 0 || window >= graphicwindowcount)
        return false;
    const t_Window& w = windowtable[window];
    if (!w.Initialized) {
        diag_line(std::string(op) + ": Graphic window (" + std::to_string(window) +
                  ") not initialized.");
        return false;
    }
    return !w.IgnoreEvents;
}

void viewKeyDown(int window, const t_KeyPress& press)
{
    if (viewtakesevents("viewKeyDown", window))
        t_KeyEventHandler(static_cast<uint8_t>(window), press);
    t_KeyPressed = true;
}

void viewKeyUp()
{
    t_KeyPressed = false;
}

void viewFlagsChanged(uint64_t modifierFlags)
{
    setlivemodifiers(modifierFlags);
}

t_CursorCell viewtextcursor(int window)
{
    if (!memoryready || window < 0 || window >= graphicwindowcount)
        return {};
    const t_Window& w = windowtable[window];
    const int64_t columns = w.TextWidth;
    const int64_t lines = w.TextHeight;
    if (!w.Initialized || columns < 1 || lines < 1)
        return {};
    const int64_t width = w.Width / columns;
    const int64_t height = w.Height / lines;
    const int64_t column = std::clamp<int64_t>(w.TextHpos, 1, columns);
    const int64_t line = std::clamp<int64_t>(w.TextVpos, 1, lines);
    return {(column - 1) * width, (line - 1) * height, width, height, w.Width, w.Height};
}

void t_KeyEventHandler(uint8_t window, const t_KeyPress& press)
{
    const uint64_t flags = press.ModifierFlags;
    const bool hascharacters = !press.Characters.empty();
    const char32_t c = hascharacters ? unicode::firstscalar(press.Characters) : 0;
    const int64_t time = absolute_ms();
    setlivemodifiers(flags);
    const t_KeyTranslation t = translatekey(window, press.KeyCode, c, hascharacters, flags);

    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    if (t.Event) {
        t_Event event;
        event.Kind = 1;
        event.Index = press.KeyCode;
        event.Description = press.Characters;
        event.Value = t.Value;
        event.Window = window;
        event.Time = time;
        eventmodifiers(event, flags);
        event.CursorKeyPressed = t.Cursor;
        event.FunctionKeyPressed = t.Function;
        appendlocked(std::move(event));
    }
    t_KeyEventAvailable = !t_KeyEvents.empty();
}

void queuekeyevent(t_Event event)
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    appendlocked(std::move(event));
}

// ---- Program side -------------------------------------------------------------

// Takes events until one with a code of 0 or more arrives. An event that
// the output pause check emptied away meanwhile just means waiting again.
std::string t_GetKey(uint8_t window)
{
    for (;;) {
        if (!t_KeyEventAvailable) {
            t_CursorOn(window);
            {
                std::unique_lock<std::mutex> lock(t_KeyEventsLock);
                while (!t_KeyEventAvailable)
                    keyqueued.wait_for(lock, handappendlimit);
            }
            t_CursorOff(window);
        }
        t_Event event;
        bool taken = false;
        {
            std::lock_guard<std::mutex> lock(t_KeyEventsLock);
            taken = takelocked(event);
        }
        if (!taken)
            continue;
        t_LastKeyEvent = std::move(event);
        if (t_LastKeyEvent.Value >= 0)
            return keystring(t_LastKeyEvent.Value);
    }
}

int64_t t_NextKeyEvent()
{
    if (!t_KeyEventAvailable)
        return -1;
    t_Event event;
    {
        std::lock_guard<std::mutex> lock(t_KeyEventsLock);
        if (!takelocked(event))
            return -1;
    }
    t_LastKeyEvent = std::move(event);
    return t_LastKeyEvent.Value;
}

namespace {

// One event per character, carrying it as its description and its first
// scalar as its code, as if it had been typed on a key without a position.
void appendcharacters(const std::vector<std::string>& characters, uint8_t window, bool pasted)
{
    const int64_t time = absolute_ms();
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    for (const std::string& character : characters) {
        t_Event event;
        event.Kind = 1;
        event.Description = character;
        event.Value = unicode::firstscalar(character);
        event.Window = window;
        event.Time = time;
        event.Pasted = pasted;
        appendlocked(std::move(event));
    }
    t_KeyEventAvailable = !t_KeyEvents.empty();
}

}  // namespace

// Characters are grapheme clusters here.
void t_TypeAhead(const std::string& text)
{
    if (!text.empty())
        appendcharacters(unicode::clusters(text), 1, false);
}

void queuepasted(uint8_t window, const std::vector<std::string>& characters)
{
    if (!characters.empty())
        appendcharacters(characters, window, true);
}

// ---- Queue helpers for the output pause check ---------------------------------

size_t keyqueuelength()
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    return t_KeyEvents.size();
}

bool lastqueuedkeyvalue(int64_t& value)
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    if (t_KeyEvents.empty())
        return false;
    value = t_KeyEvents.back().Value;
    return true;
}

void clearkeyqueue()
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    t_KeyEvents.clear();
    t_KeyEventAvailable = false;
}
