// Reading a window's text back, and choosing where its text output goes.
#pragma once

#include <cstdint>
#include <string>

// 1: into the window; 2: to standard output; any other value: nowhere.
void t_RedirectOutput(uint8_t window, int64_t mode);
// The window's whole text, lines joined by `separator` (with a carriage
// return: trailing blanks and trailing empty lines removed).
std::string t_GetScreen(uint8_t window, const std::string& separator);
