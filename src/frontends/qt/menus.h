// The German menu bar shared by every window: its menus and items with the
// tags of the runtime's built-in commands, and what a chosen item tells the
// runtime.
#pragma once

#include <QString>

#include "platform/entry_points.h"

// The tag of "Alle Fenster ausblenden".
constexpr int64_t hideallwindowstag = 200;

class QAction;
class QMenuBar;

// Creates the menus (once) and keeps them in the delegate.
void buildmenus();
// Puts the shared menus into a window's menu bar.
void attachmenus(QMenuBar* bar);
// A title as the user reads it: '&' mnemonics removed, "&&" kept as "&".
QString plaintitle(const QString& title);
// What the runtime learns about a chosen item.
t_MenuItemInfo menuiteminfo(const QAction* item);
