// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "input/key_events.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

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
void viewKeyDown(int window, const t_KeyPress& press) {}
void viewKeyUp() {}
void viewFlagsChanged(uint64_t modifierFlags) {}
void t_KeyEventHandler(uint8_t window, const t_KeyPress& press) {}
std::string t_GetKey(uint8_t window) { return {}; }
int64_t t_NextKeyEvent() { return {}; }
void t_TypeAhead(const std::string& text) {}
size_t keyqueuelength() { return {}; }
bool lastqueuedkeyvalue(int64_t& value) { return {}; }
void clearkeyqueue() {}
