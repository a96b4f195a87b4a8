// Entry points of the desktop front-end.
#pragma once

// Creates the application and its interface, runs the launch work once the
// event loop has started, and runs the loop until the user quits. Returns
// the process exit status.
int runapplication(int argc, char** argv);

// For tests: creates the application and the whole interface (all windows,
// views, text views and the menu bar) on the calling thread, which becomes
// the main thread, without starting the program. The platform is taken
// from QT_QPA_PLATFORM ("offscreen" when unset).
void startapplicationfortests(int& argc, char** argv);
