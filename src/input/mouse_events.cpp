// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "input/mouse_events.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::mutex t_MouseEventsLock;
std::deque<t_Event> t_MouseEvents;
relaxed<bool> t_MouseEventAvailable;
relaxed<bool> t_LeftMouseButtonPressed;
relaxed<bool> t_RightMouseButtonPressed;
t_Function t_ProgramMouseHandler;
t_Function t_ProgramMenuHandler;
void viewMouseDown(int window, const t_MousePress& press, bool right) {}
void viewMouseUp() {}
void t_MouseEventHandler(uint8_t window, const t_MousePress& press, double x, double y) {}
void t_EventMouseProcess() {}
void t_EventMenuProcess() {}
