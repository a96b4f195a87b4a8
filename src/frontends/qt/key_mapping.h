// Translation of Qt key events into the runtime's platform-neutral key
// press: key codes by physical key position in the numbering of the
// runtime's translation table, the characters the key produced, and the
// modifier flag bits of input/key_events.h.
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>

#include "platform/entry_points.h"
#include "platform/key_meanings.h"

class QKeyEvent;

// What a key event carries, apart from the event object itself.
struct QtKey {
    int key = 0;                            // Qt::Key
    Qt::KeyboardModifiers modifiers;
    quint32 scancode = 0;                   // X11 keycode (evdev + 8); 0: none
    quint32 nativemodifiers = 0;            // X11 state mask where known
    QString text;
    bool x11state = false;                  // nativemodifiers holds an X11 state
};

QtKey qtkeyfrom(const QKeyEvent& event);

// Bare modifiers and lock keys: they change the modifier state and never
// produce a key press.
bool ismodifierkey(int key);

// Flag bits for Qt's modifiers (Shift, Control, Alt, Meta, keypad).
uint64_t flagsfor(Qt::KeyboardModifiers modifiers);
// Flag bits for the modifiers of a key event; Caps Lock only where the
// window system reports it.
uint64_t modifierflags(const QtKey& key);
// The flags after a modifier key went down or up: Qt reports the state
// before or after the change depending on the platform, so the key's own
// bit is set or cleared from what happened.
uint64_t modifierflagsafter(const QtKey& key, bool pressed);

int64_t keycodefor(const QtKey& key);
std::string keycharacters(const QtKey& key);
t_KeyPress keypressfrom(const QtKey& key);
