// Translation of a key press into the home-computer's one-byte codes.
#pragma once

#include <cstdint>

#include "input/key_events.h"

struct t_KeyTranslation {
    bool Event = false;     // false: no event is queued
    int64_t Value = 0;
    bool Cursor = false;    // arrow keys, Home, End, Page Up/Down
    bool Function = false;  // F1 and up
};

// Translates key code `keyCode` with first character `c` (0 when there are
// none) and modifier flags `flags`. Control with keypad 7, 8 or 9 switches
// the window's output redirection (0, 2, 1) and gives no event.
t_KeyTranslation translatekey(uint8_t window, int64_t keyCode, char32_t c, bool hasCharacters,
                              uint64_t flags);
