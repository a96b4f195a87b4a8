// Input events and the key event queue.
//
// The main thread appends key presses; the program thread takes them off
// (and appends typed-ahead text). Each change of a queue happens under its
// mutex, and the "available" flag is written after the change, so a waiter
// that sees it true finds an event.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/entry_points.h"
#include "util/relaxed.h"

// One input event: Kind 1 key, 2 mouse.
struct t_Event {
    int64_t Kind = 0;
    int64_t Index = 0;
    std::string Description;
    int64_t Value = 0;
    int64_t WindowX = 0;
    int64_t WindowY = 0;
    int64_t ClickX = 0;
    int64_t ClickY = 0;
    int64_t Mods = 0;
    uint8_t Window = 0;
    int64_t Time = 0;
    bool CloseBox = false;
    bool CapsLockPressed = false;
    bool ShiftPressed = false;
    bool ControlPressed = false;
    bool OptionPressed = false;
    bool CommandPressed = false;
    bool NumericPadPressed = false;
    bool HelpPressed = false;
    bool FnPressed = false;
    bool CursorKeyPressed = false;
    bool FunctionKeyPressed = false;
    // The character came from a paste, not from a key: the line editor
    // inserts it and never takes it for an editing key.
    bool Pasted = false;
};

extern std::mutex t_KeyEventsLock;
extern std::deque<t_Event> t_KeyEvents;  // guarded by t_KeyEventsLock
extern relaxed<bool> t_KeyEventAvailable;
extern t_Event t_LastKeyEvent;  // program thread only
extern relaxed<bool> t_KeyPressed;
extern relaxed<bool> t_CapsLockPressed;
extern relaxed<bool> t_ShiftPressed;
extern relaxed<bool> t_ControlPressed;
extern relaxed<bool> t_OptionPressed;
extern relaxed<bool> t_CommandPressed;
extern relaxed<bool> t_FnPressed;

// Sets Mods (bits 16 to 31 of the platform's modifier flags) and the eight
// modifier fields of `event` (CapsLockPressed .. FnPressed) from them.
void eventmodifiers(t_Event& event, uint64_t modifierFlags);

// The views' check before a key press or click is handled: true when the
// memory is ready and graphic window `window` is set up and takes events.
// A window that is not set up is reported as "<op>: Graphic window (<n>)
// not initialized.".
bool viewtakesevents(const char* op, int window);

// View side (main thread): viewKeyDown, viewKeyUp and viewFlagsChanged are
// in platform/entry_points.h.
void t_KeyEventHandler(uint8_t window, const t_KeyPress& press);

// Appends an event to the queue as a key press does and wakes a t_GetKey
// that waits for one (any thread).
void queuekeyevent(t_Event event);

// Program side.
std::string t_GetKey(uint8_t window);
int64_t t_NextKeyEvent();
void t_TypeAhead(const std::string& text);
// Appends one pasted event (Pasted true) per character, for window `window`.
// Any thread.
void queuepasted(uint8_t window, const std::vector<std::string>& characters);

// Queue helpers for the output pause check.
size_t keyqueuelength();
// Value of the most recently queued event; false when the queue is empty.
bool lastqueuedkeyvalue(int64_t& value);
void clearkeyqueue();
