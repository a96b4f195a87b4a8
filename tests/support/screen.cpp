#include "support/screen.h"

#include <utility>

#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

// The attribute plane is the second half of the window's text block.
static int64_t cellindex(uint8_t window, int64_t column, int64_t line, bool attribute)
{
    const t_Window& w = windowtable[window];
    const int64_t plane = attribute ? (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2 : 0;
    return w.TextMemoryStart + plane + (line - 1) * w.TextWidth + (column - 1);
}

uint8_t cell_code(uint8_t window, int64_t column, int64_t line)
{
    return videomemory[cellindex(window, column, line, false)];
}

uint8_t cell_attribute(uint8_t window, int64_t column, int64_t line)
{
    return videomemory[cellindex(window, column, line, true)];
}

std::string screen_line(uint8_t window, int64_t line)
{
    std::string result;
    for (int64_t column = 1; column <= windowtable[window].TextWidth; ++column)
        result += unicode::encode(cell_code(window, column, line));
    return result;
}

std::string screen_text(uint8_t window)
{
    std::string result;
    for (int64_t line = 1; line <= windowtable[window].TextHeight; ++line)
        result += screen_line(window, line) + "\n";
    return result;
}

std::string screen_trimmed(uint8_t window)
{
    std::string result, pending;  // pending: lines not yet known to be followed by text
    for (int64_t line = 1; line <= windowtable[window].TextHeight; ++line) {
        std::string text = screen_line(window, line);
        pending += text.erase(text.find_last_not_of(' ') + 1) + "\n";
        if (!text.empty())
            result += std::exchange(pending, "");
    }
    return result;
}
