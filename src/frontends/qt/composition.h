// Dead keys and compose sequences in the graphic views.
//
// The views take part in input-method composition (Qt's compose context on
// X11, or a running input method such as IBus). The input method swallows
// the key presses of a sequence and hands over the composed text instead;
// the runtime wants a key press: the composed text arrives as the press of
// the key that completed the sequence (´ then e: the E key with "é"). A
// sequence that composes nothing gives its swallowed keys back as key
// presses with no characters, the form a dead key has, before the key that
// ended it (^ then x: the ^ key, then x), so nothing is lost or doubled.
//
// Which key completed a sequence only the window system knows: on X11 a
// native event filter notes each key press before the input method sees
// it. Elsewhere the composed text arrives without a key position.
#pragma once

#include <QString>
#include <Qt>
#include <vector>

#include "platform/entry_points.h"

class QCoreApplication;

// Starts noting the window system's key presses (X11 only).
void watchnativekeys(QCoreApplication& application);
// A key press the window system delivered while a graphic view had the
// focus: its X11 key code and modifier state.
void notenativepress(quint32 scancode, quint32 state);
// A key with `scancode` reached a view (its shortcut check or its key
// press): the presses the input method swallowed before it, as presses with
// no characters. A key that a menu shortcut takes reaches the check too, so
// it is never taken for a swallowed one.
std::vector<t_KeyPress> swallowedpresses(quint32 scancode);
// The composed text as the press of the key that completed it.
t_KeyPress composedpress(const QString& text);

// With Control, Alt or Super held a key is a command, never part of a
// sequence to compose (Control+^ must reach the line editor as code 30):
// the input method stands aside until they are let go. The views note the
// modifiers as their key events arrive; on X11 the native filter notes them
// earlier, with each key press, before the input method sees it.
void notecommandmodifiers(bool held);
// Whether the graphic views take part in composition now.
bool composingallowed();
