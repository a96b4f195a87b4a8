// The X server of the x11 tests.
#pragma once

#include <string>

class QWidget;

// Why the tests have no X server (empty when they have one).
extern std::string xserverproblem;

// Gives `view` the keyboard: its window the X server's input focus and the
// view its window's focus. There is no window manager, so the test does
// what one would (the toolkit's own request may carry a time older than
// the last change of focus, which the server ignores). False after 5 s.
bool focusview(QWidget* view);
