// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "windows/window_placement.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

int64_t t_WindowPos(uint8_t window, int64_t selector) { return {}; }
void t_WindowSize(uint8_t window, int64_t x, int64_t y, int64_t width, int64_t height) {}
void t_WindowCenter(uint8_t window) {}
void t_WindowFront(uint8_t window) {}
void t_WindowTitle(uint8_t window, const std::string& title) {}
void t_WindowTitleVisible(uint8_t window, bool visible) {}
void t_WindowVisible(uint8_t window, bool visible) {}
void t_ColorBorder(uint8_t window, int64_t colour) {}
void t_QuitProgram(uint8_t window) {}
