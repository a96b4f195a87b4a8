// Menu choices: the menu event queue and the built-in commands.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "platform/entry_points.h"
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

extern std::mutex t_MenuEventsLock;
extern std::deque<t_MenuEvent> t_MenuEvents;  // guarded by t_MenuEventsLock
extern relaxed<bool> t_MenuEventAvailable;
// Called by command 113; starts as sysbeep.
extern t_Function t_ProgramActionHandler;

size_t menuqueuelength();

// t_MenuEventHandler (main thread) is in platform/entry_points.h.

// Replaces the runtime's graphic character codes 127..160 by look-alikes.
std::string t_PrintableText(const std::string& text);
