// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "text/text_output.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

void t_Print(uint8_t window, const std::string& text) {}
void t_Print(uint8_t window, const Text& text) {}
void t_PrintChar(uint8_t window, uint8_t code) {}
void t_PrintControl(uint8_t window, uint8_t code) {}
t_DisplayModeResult t_ApplyDisplayMode(uint8_t window, int64_t c) { return {}; }
void t_Cr(uint8_t window) {}
void t_CursorRight(uint8_t window) {}
void t_CursorLeft(uint8_t window) {}
void t_CursorUp(uint8_t window) {}
void t_CursorDown(uint8_t window) {}
void t_CursorHome(uint8_t window) {}
void t_CursorEnd(uint8_t window) {}
void t_Htab(uint8_t window, int64_t column) {}
void t_PrintTab(uint8_t window, int64_t column, uint8_t fill) {}
void t_PrintSpc(uint8_t window, int64_t count) {}
void t_ScrollUp(uint8_t window) {}
void t_ScrollDown(uint8_t window) {}
bool outputpausecheck(int64_t key, bool wait) { return {}; }
