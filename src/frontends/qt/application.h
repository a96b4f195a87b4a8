// Entry points of the desktop front-end.
#pragma once

#include <string>

// Why the desktop cannot start here: the line to print when neither an X11
// nor a Wayland display is named (DISPLAY, WAYLAND_DISPLAY) and
// QT_QPA_PLATFORM names no platform that runs without one (offscreen, vnc
// and the like). Empty when the desktop can start. The values are those of
// the three variables, null when unset.
std::string missingdisplay(const char* display, const char* waylanddisplay, const char* qpaplatform);
// The same for this process's environment.
std::string missingdisplay();

// Creates the application and its interface, runs the launch work once the
// event loop has started, and runs the loop until the user quits. Returns
// the process exit status.
int runapplication(int argc, char** argv);

// Ends the event loop with status 0 once the current event is handled: what
// Beenden does. The application then terminates as usual.
void quitapplication();

// For tests: creates the application and the whole interface (all windows,
// views, text views and the menu bar) on the calling thread, which becomes
// the main thread, without starting the program. The platform is taken
// from QT_QPA_PLATFORM ("offscreen" when unset).
void startapplicationfortests(int& argc, char** argv);
