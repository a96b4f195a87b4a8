// Mouse events, the button state, the program's handler tasks and the close
// box.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>

#include "input/key_events.h"
#include "platform/entry_points.h"
#include "startup/threads.h"

extern std::mutex t_MouseEventsLock;
extern std::deque<t_Event> t_MouseEvents;  // guarded by t_MouseEventsLock
extern relaxed<bool> t_MouseEventAvailable;
extern relaxed<bool> t_LeftMouseButtonPressed;
extern relaxed<bool> t_RightMouseButtonPressed;

// The program's handlers; set them before clicks or menu choices can arrive,
// or replace them later through the setters below.
extern t_Function t_ProgramMouseHandler;
extern t_Function t_ProgramMenuHandler;

// Replace a handler while clicks or menu choices may arrive: the handler
// tasks copy the slot under the same lock before they call it.
void setprogrammousehandler(t_Function handler);
void setprogrammenuhandler(t_Function handler);

// View side (main thread): viewMouseDown, viewMouseUp and
// t_MouseEventPostCloseBoxClick are in platform/entry_points.h.
void t_MouseEventHandler(uint8_t window, const t_MousePress& press, double x, double y);

void t_EventMouseProcess();
void t_EventMenuProcess();
