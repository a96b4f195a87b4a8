#include "support/screen.h"

#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

int64_t cell_index(uint8_t window, int64_t column, int64_t line)
{
    const t_Window& w = windowtable[window];
    return (line - 1) * w.TextWidth + (column - 1);
}

int64_t attribute_plane(uint8_t window)
{
    const t_Window& w = windowtable[window];
    return w.TextMemoryStart + (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
}

}  // namespace

uint8_t cell_code(uint8_t window, int64_t column, int64_t line)
{
    return videomemory[windowtable[window].TextMemoryStart + cell_index(window, column, line)];
}

uint8_t cell_attribute(uint8_t window, int64_t column, int64_t line)
{
    return videomemory[attribute_plane(window) + cell_index(window, column, line)];
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
    std::string result;
    std::string pending;  // empty lines not yet known to be followed by text
    for (int64_t line = 1; line <= windowtable[window].TextHeight; ++line) {
        std::string text = screen_line(window, line);
        text.erase(text.find_last_not_of(' ') + 1);
        if (text.empty()) {
            pending += "\n";
            continue;
        }
        result += pending + text + "\n";
        pending.clear();
    }
    return result;
}
