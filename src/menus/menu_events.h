// Menu choices: the menu event queue and the built-in commands.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "startup/threads.h"
#include "util/relaxed.h"

struct t_MenuEvent {
    int64_t Kind = 0;
    std::string MenuTitle;
    std::string ItemTitle;
    std::string ItemKeyChar;
    uint64_t ItemKeyMods = 0;
    int64_t ItemKeyAsc = 0;
    int64_t ItemAction = 0;
    int64_t Time = 0;
};

// A chosen menu item as the desktop reports it.
struct t_MenuItemInfo {
    bool InMenu = false;  // false: the item belongs to no menu
    std::string MenuTitle;
    std::string ItemTitle;
    std::string KeyEquivalent;
    uint64_t KeyModifiers = 0;
    int64_t Tag = 0;
};

extern std::mutex t_MenuEventsLock;
extern std::deque<t_MenuEvent> t_MenuEvents;  // guarded by t_MenuEventsLock
extern relaxed<bool> t_MenuEventAvailable;
// Called by command 113; starts as sysbeep.
extern t_Function t_ProgramActionHandler;

size_t menuqueuelength();

// Main thread: records the choice and runs its built-in command, or starts
// the program's menu handler on its own task.
void t_MenuEventHandler(const t_MenuItemInfo& item);

// Replaces the runtime's graphic character codes 127..160 by look-alikes.
std::string t_PrintableText(const std::string& text);
