// Putting the terminal back as it was, whatever way the program ends.
//
// The orderly way is the front-end's own shutdown (the terminal library's
// endwin). For the other ways the terminal's settings are saved at start,
// with the sequence that leaves the alternate screen, shows the cursor and
// resets the colours, and a handler puts them back using only calls that
// are safe in a signal handler:
// - SIGINT, SIGTERM, SIGHUP and SIGWINCH are passed to the event loop
//   through a pipe (it shuts down in order, or redraws); a second SIGINT,
//   SIGTERM or SIGHUP before it has done so restores and ends the process;
// - a crash (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT) restores and then
//   lets the signal take its course;
// - an exit that bypasses the front-end restores from an atexit handler.
#pragma once

#include <string>

// Saves the settings of terminal `fd` (before the terminal library changes
// them) and installs the handlers. Answers the descriptor the event loop
// watches for signals (-1 when no pipe could be made).
int guardterminal(int fd);
// The sequence that resets the terminal's screen (from its description,
// once the library has read it).
void setresetsequence(const std::string& sequence);
// The signal that arrived through the pipe, or 0 when none is left.
int nextsignal();
// Restores now (async-signal-safe); later calls do nothing.
void restoreterminal();
// The orderly shutdown has restored the terminal: the handlers stand down.
void terminalrestored();
