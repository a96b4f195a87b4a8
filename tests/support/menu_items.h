// Finding the menu bar's items in tests.
#pragma once

#include <cstdint>

class QAction;

// The menu item carrying `tag`; none when no item has it.
QAction* itemwithtag(int64_t tag);
