// The terminal's keys as the runtime's key presses: the key code by what
// the key means (platform/key_meanings.h), the characters a desktop would
// report, and the modifier flags the terminal lets us see. Alt with a letter
// (Escape before it) is Option, except for the front-end's own keys:
// Alt+P shows the log, Alt+C copies the text, Alt+Q quits.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/entry_points.h"
#include "platform/key_meanings.h"

enum class KeyAction : uint8_t { none, press, showlog, copytext, quit };

struct KeyResult {
    KeyAction action = KeyAction::none;
    t_KeyPress press;  // for KeyAction::press
};

// A key as the terminal library reports it: a character or a key code
// (KEY_LEFT, KEY_F(1), ...), and whether Escape came right before it.
struct TerminalKey {
    bool iskeycode = false;
    int value = 0;
    bool alt = false;
};

// A key code the terminal's description gives to a cursor or editing key
// with modifiers (Control+Left and the like, beyond the library's own
// names).
struct ModifiedKey {
    int keycode = 0;
    t_NamedKey key = t_NamedKey::left;
    uint64_t flags = 0;
};

// Looks those key codes up in the terminal's description (needs the
// terminal library set up).
std::vector<ModifiedKey> modifiedkeys();

// The front-end's letter for each of its own keys, shown in the status line.
constexpr char32_t logkeyletter = U'p';
constexpr char32_t copykeyletter = U'c';
constexpr char32_t quitkeyletter = U'q';

KeyResult translatekey(const TerminalKey& key, const std::vector<ModifiedKey>& modified);
