#include "windows/window_table.h"

#include "util/diagnostics.h"

t_Window windowtable[graphicwindowcount];

relaxed<bool> memorystarted = false;
relaxed<bool> memoryready = false;
relaxed<uint8_t> firstwindow = 255;
relaxed<int64_t> titlebarheight = 0;

//                                 0     1     2     3     4     5     6     7
const uint8_t palettered[16] = {0x00, 0xFF, 0x00, 0xFF, 0x00, 0x54, 0x00, 0x00,
                                0x80, 0xFF, 0xA8, 0xFF, 0x00, 0xFF, 0x00, 0xFF};
const uint8_t palettegreen[16] = {0x00, 0x00, 0x00, 0x00, 0x80, 0x54, 0x00, 0x80,
                                  0x40, 0x80, 0xA8, 0x80, 0xFF, 0xFF, 0xFF, 0xFF};
const uint8_t paletteblue[16] = {0x00, 0x00, 0x80, 0xFF, 0x00, 0x54, 0xFF, 0xFF,
                                 0x00, 0x00, 0xA8, 0x80, 0x00, 0x00, 0xFF, 0xFF};

t_RGBColor palettecolor(unsigned number)
{
    if (number >= 16)
        return t_RGBColor{255, 0, 0, 0};
    return t_RGBColor{255, palettered[number], palettegreen[number], paletteblue[number]};
}

namespace {

bool windowusable(uint8_t window)
{
    return memoryready && windowtable[window].Initialized;
}

}  // namespace

void notgraphic(const char* op)
{
    diag_line(std::string(op) + ": Window is not a graphic window.");
}

void notinitialized(const char* op, uint8_t window)
{
    diag_line(std::string(op) + ": Window #" + std::to_string(window) + " not initialized.");
}

bool graphicwindowguard(const char* op, uint8_t window)
{
    if (window >= graphicwindowcount) {
        notgraphic(op);
        return false;
    }
    if (!windowusable(window)) {
        notinitialized(op, window);
        return false;
    }
    return true;
}

bool textwindowguard(const char* op, uint8_t window)
{
    if (window >= graphicwindowcount) {
        notgraphic(op);
        return false;
    }
    if (!windowhastext(window)) {
        notinitialized(op, window);
        return false;
    }
    return true;
}

bool windowhastext(uint8_t window)
{
    return window < graphicwindowcount && windowusable(window) &&
           windowtable[window].TextMemoryStart >= 0;
}

int64_t measuredtitlebarheight()
{
    return titlebarheight;
}
