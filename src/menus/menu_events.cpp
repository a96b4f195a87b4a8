// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "menus/menu_events.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::mutex t_MenuEventsLock;
std::deque<t_MenuEvent> t_MenuEvents;
relaxed<bool> t_MenuEventAvailable;
t_Function t_ProgramActionHandler;
size_t menuqueuelength() { return {}; }
void t_MenuEventHandler(const t_MenuItemInfo& item) {}
std::string t_PrintableText(const std::string& text) { return {}; }
