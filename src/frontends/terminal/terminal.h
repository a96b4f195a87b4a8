// Entry points of the terminal front-end.
#pragma once

// True when standard input and standard output are both a terminal.
bool terminalavailable();

// Runs the conversation in the terminal the program was started from (its
// standard input and output, or /dev/tty) until the user quits or a signal
// ends it; the terminal is restored in every case. Returns the process exit
// status (1 when there is no usable terminal).
int runterminal();
