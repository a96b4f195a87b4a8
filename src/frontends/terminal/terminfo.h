// The terminal's description (terminfo), read through the terminal library.
// Kept apart because the library's <term.h> defines a macro for every
// capability name (lines, columns, tab, ...), which no other file should see.
#pragma once

#include <string>

// A string capability, or none where the terminal has none.
const char* terminfostring(const char* name);
// A boolean capability.
bool terminfoflag(const char* name);
// True when the terminal database describes `term`.
bool terminfoknows(const std::string& term, int fd);
// A string capability with two string parameters filled in; empty when the
// terminal has none.
std::string terminfoformat(const char* name, const char* first, const char* second);
// Sends a capability to the terminal on descriptor `fd`, its padding
// turned into delays by the library.
void terminfoput(const char* value, int fd);
