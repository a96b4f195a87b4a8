// Feeds arbitrary bytes to the font loader as a whole font file, then draws
// with whatever it accepted: header fields, code widths, corrupt or
// explosive LZW data and odd cell sizes must never read or write outside
// their buffers.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "text/glyph.h"
#include "util/diagnostics.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

// Window 0: 64 x 64 pixels at 24 bits with a 4 x 4 text grid, placed by
// hand at the top of video memory.
void setupwindow(const t_Font& font)
{
    memoryready = true;
    t_Window& w = windowtable[0];
    w.Initialized = true;
    w.BitDepth = 24;
    w.Width = 64;
    w.Height = 64;
    w.MemoryEnd = 0xFFFFFF;
    w.MemoryStart = 0x1000000 - 64 * 64 * 3;
    w.TextWidth = 4;
    w.TextHeight = 4;
    w.TextMemoryStart = w.MemoryStart - 32;
    w.TextMemoryEnd = w.MemoryStart - 1;
    w.Font = font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const DiagCapture quiet;
    const std::vector<uint8_t> bytes(data, data + size);
    const t_Font font = parsefontfile(bytes, "fuzz.font");
    if (!font.Data.empty()) {
        setupwindow(font);
        for (int code : {0, 65, 255})
            for (int64_t cell : {1, 2, 4, 5})
                t_PrintSymbol(0, static_cast<uint8_t>(code), 0xF0, cell, cell);
    }
    // The expansion on its own, with the whole input as compressed data.
    lzwexpand(bytes);
    return 0;
}
