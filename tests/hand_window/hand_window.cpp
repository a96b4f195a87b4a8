#include "hand_window.h"

#include <cstring>

#include "text/glyph.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

t_Font handfont(int64_t fw, int64_t fh)
{
    t_Font font = emptyfont();
    font.Format = 2;
    font.Start = 0;
    font.End = 255;
    font.Width = fw;
    font.Height = fh;
    font.Data.assign(static_cast<size_t>(256 * fw * fh), 0);
    for (int64_t c = 0; c < 256; ++c) {
        uint8_t* glyph = font.Data.data() + c * fw * fh;
        for (int64_t i = 0; i < fw * fh && c != 32; ++i)
            glyph[i] = i == fw * fh - 1 ? 0 : i == 0 ? 255 : static_cast<uint8_t>(c * 31 + i * 13);
    }
    return font;
}

void sethandwindow(const HandWindow& layout, const t_Font& font)
{
    memorystarted = true;
    memoryready = true;
    t_Window& w = windowtable[layout.number];
    w = t_Window{};
    const int64_t columns = layout.width / font.Width;
    const int64_t lines = layout.height / font.Height;
    const int64_t gsize = layout.height * layout.width * layout.depth / 8;
    const int64_t tsize = layout.padded ? (columns * lines * 2 + 1023) / 1024 * 1024 : columns * lines * 2;
    w.Initialized = w.Visible = w.QuickUpdate = true;
    w.BitDepth = layout.depth;
    w.Width = layout.width;
    w.Height = layout.height;
    w.MemoryStart = layout.pixelstart;
    w.MemoryEnd = layout.pixelstart + gsize - 1;
    w.Font = font;
    w.TextWidth = w.TextLastColumn = columns;
    w.TextHeight = w.TextLastLine = lines;
    w.TextFirstColumn = w.TextFirstLine = w.TextHpos = w.TextVpos = 1;
    w.TextColor = 0xC0;
    w.TextMemoryStart = layout.pixelstart + gsize + 64;
    w.TextMemoryEnd = w.TextMemoryStart + tsize - 1;
    std::memset(videomemory + layout.pixelstart, 0, static_cast<size_t>(gsize));
    for (int64_t i = 0; layout.depth == 32 && i < gsize; i += 4)
        videomemory[layout.pixelstart + i] = 0xFF;
    for (int64_t i = 0; i < columns * lines; ++i) {
        videomemory[w.TextMemoryStart + i] = 32;
        videomemory[w.TextMemoryStart + tsize / 2 + i] = 0xC0;
    }
}

std::vector<uint8_t> pixelblock(uint8_t window)
{
    const t_Window& w = windowtable[window];
    return {videomemory + w.MemoryStart, videomemory + w.MemoryEnd + 1};
}

std::vector<uint8_t> textblock(uint8_t window)
{
    const t_Window& w = windowtable[window];
    return {videomemory + w.TextMemoryStart, videomemory + w.TextMemoryEnd + 1};
}

uint32_t pixelrgb(uint8_t window, int64_t x, int64_t y)
{
    const t_Window& w = windowtable[window];
    const int64_t bytes = w.BitDepth / 8;
    const uint8_t* p = videomemory + w.MemoryStart + (y * w.Width + x) * bytes + (bytes == 4);
    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
}

// Draws every cell again from text memory (which rewrites the same code and
// attribute) and compares the pixel block with what it was.
bool cellsconsistent(uint8_t window, int64_t& badcolumn, int64_t& badline)
{
    t_Window& w = windowtable[window];
    const std::vector<uint8_t> before = pixelblock(window);
    const bool inverse = w.TextInverse;
    const int64_t redirect = w.TextRedirectOutput;
    w.TextInverse = false;
    w.TextRedirectOutput = 1;
    const int64_t half = textplanesize(w);
    for (badline = 1; badline <= w.TextHeight; ++badline) {
        for (badcolumn = 1; badcolumn <= w.TextWidth; ++badcolumn) {
            const int64_t index = w.TextMemoryStart + (badline - 1) * w.TextWidth + badcolumn - 1;
            t_PrintSymbol(window, videomemory[index], videomemory[index + half], badcolumn, badline);
            if (pixelblock(window) != before)
                break;
        }
        if (badcolumn <= w.TextWidth)
            break;
    }
    std::memcpy(videomemory + w.MemoryStart, before.data(), before.size());
    w.TextInverse = inverse;
    w.TextRedirectOutput = redirect;
    return badline > w.TextHeight;
}
