#include "text/glyph.h"

#include <bit>
#include <cstring>
#include <string>
#include <utility>

#include "text/face_plane.h"
#include "util/diagnostics.h"
#include "util/unicode.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

// Zero in every real build. scripts/check builds the runtime once with a
// fault planted here, each cell drawn one pixel to the right, to prove that
// its sanitizer run catches a write past a pixel block at every depth.
#ifndef SPRECHO_PLANTED_OVERRUN
#define SPRECHO_PLANTED_OVERRUN 0
#endif

// The packed colour values are stored with single 4-byte writes.
static_assert(std::endian::native == std::endian::little, "pixel packing assumes little endian");

namespace {

// What one coverage level g (0..255) becomes at the window's depth for the
// current ink and paper: a bit, a palette number, a grey level, or red,
// green and blue packed as r | g << 8 | b << 16. Drawing a cell looks each
// pixel up here instead of mixing per pixel.
struct BlendTable {
    int64_t depth = -1;
    unsigned ink = 0;
    unsigned paper = 0;
    uint32_t value[256] = {};
};

// Building a table costs 256 mixes, about as much as drawing half a cell,
// so the tables of the last few colour pairs are kept: text that alternates
// between colours (a highlighted word, an inverse cursor) finds its tables
// again. t_PrintSymbol runs on the program thread; keeping the cache per
// thread lets tests and benchmarks draw from other threads safely.
constexpr int cachedtables = 8;
struct BlendCache {
    BlendTable tables[cachedtables];
    int next = 0;  // the slot replaced next
};
thread_local BlendCache blendcache;

unsigned mix(unsigned g, unsigned ink, unsigned paper)
{
    return g * ink / 255 + (255 - g) * paper / 255;
}

// Nearest palette entry by squared distance; ties go to the lower number,
// and nothing at 65535 or farther replaces entry 0.
uint8_t nearestpalette(unsigned r, unsigned g, unsigned b)
{
    unsigned best = 65535;
    uint8_t result = 0;
    for (uint8_t i = 0; i < 16; ++i) {
        const int dr = static_cast<int>(r) - palettered[i];
        const int dg = static_cast<int>(g) - palettegreen[i];
        const int db = static_cast<int>(b) - paletteblue[i];
        const auto distance = static_cast<unsigned>(dr * dr + dg * dg + db * db);
        if (distance < best) {
            best = distance;
            result = i;
        }
    }
    return result;
}

// Pure greys map onto the palette's four greys by their channel sum.
uint8_t fourbitcolour(unsigned r, unsigned g, unsigned b)
{
    if (r == g && g == b) {
        const unsigned sum = r + g + b;
        return sum < 192 ? 0 : sum < 384 ? 5 : sum < 576 ? 10 : 15;
    }
    return nearestpalette(r, g, b);
}

void blendentry(BlendTable& t, unsigned g)
{
    const unsigned r = mix(g, palettered[t.ink], palettered[t.paper]);
    const unsigned gr = mix(g, palettegreen[t.ink], palettegreen[t.paper]);
    const unsigned b = mix(g, paletteblue[t.ink], paletteblue[t.paper]);
    uint32_t& out = t.value[g];
    switch (t.depth) {
    case 1:
        out = (r + gr + b) / 3 >= 128 ? 1 : 0;
        break;
    case 4:
        out = fourbitcolour(r, gr, b);
        break;
    case 8:
    case 16: {
        const unsigned inkgrey = (palettered[t.ink] + palettegreen[t.ink] + paletteblue[t.ink]) / 3;
        const unsigned papergrey =
            (palettered[t.paper] + palettegreen[t.paper] + paletteblue[t.paper]) / 3;
        out = mix(g, inkgrey, papergrey);
        break;
    }
    default:
        out = r | gr << 8 | b << 16;
        break;
    }
}

const BlendTable& blendtable(int64_t depth, unsigned ink, unsigned paper)
{
    BlendCache& cache = blendcache;
    for (const BlendTable& t : cache.tables)
        if (t.depth == depth && t.ink == ink && t.paper == paper)
            return t;
    BlendTable& t = cache.tables[cache.next];
    cache.next = (cache.next + 1) % cachedtables;
    t.depth = depth;
    t.ink = ink;
    t.paper = paper;
    for (unsigned g = 0; g < 256; ++g)
        blendentry(t, g);
    return t;
}

// ---- Geometry of one call ----------------------------------------------------

struct Cell {
    const uint8_t* glyph;  // FH rows of FW coverage bytes
    int64_t fw, fh;        // glyph cell size
    int64_t px, py;        // top left pixel of the cell
    int64_t width;         // pixels per row of the window
    int64_t base;          // MemoryStart
};

bool supporteddepth(int64_t depth)
{
    return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

// Bytes the pixel block must hold for its last pixel to be addressable.
int64_t pixelbytes(int64_t depth, int64_t width, int64_t height)
{
    if (depth == 1)
        return (height - 1) * (width / 8) + (width - 1) / 8 + 1;
    if (depth == 4)
        return (height - 1) * (width / 2) + (width - 1) / 2 + 1;
    return height * width * (depth / 8);
}

// A record filled by hand may describe a block that does not fit its bounds
// or video memory; such a window gets text memory entries but no pixels.
bool pixelblockvalid(const t_Window& w)
{
    constexpr int64_t limit = videomemorysize * 8;
    const int64_t width = w.Width, height = w.Height, start = w.MemoryStart;
    if (width <= 0 || height <= 0 || width > limit || height > limit || start < 0)
        return false;
    const int64_t last = start + pixelbytes(w.BitDepth, width, height) - 1;
    return last <= w.MemoryEnd && last < videomemorysize;
}

// The glyph of `code`, or none when the font holds no complete glyph for it.
const uint8_t* glyphof(const t_Font& font, uint8_t code)
{
    if (font.Width <= 0 || font.Height <= 0 || font.Width > 4096 || font.Height > 4096)
        return nullptr;
    const auto size = static_cast<size_t>(font.Width * font.Height);
    if ((static_cast<size_t>(code) + 1) * size > font.Data.size())
        return nullptr;
    return font.Data.data() + code * size;
}

// ---- Drawing per depth -------------------------------------------------------

void drawbytes(const Cell& c, const BlendTable& t, int64_t bytesperpixel, int64_t offset)
{
    for (int64_t row = 0; row < c.fh; ++row) {
        const uint8_t* src = c.glyph + row * c.fw;
        uint8_t* dst = videomemory + c.base + ((c.py + row) * c.width + c.px) * bytesperpixel + offset;
        for (int64_t col = 0; col < c.fw; ++col, dst += bytesperpixel)
            *dst = static_cast<uint8_t>(t.value[src[col]]);
    }
}

// 24 bits: each pixel is stored as one 4-byte write whose fourth byte the
// next pixel overwrites; only the last pixel of a row is written bytewise,
// so nothing right of the cell changes.
void drawrgb(const Cell& c, const BlendTable& t)
{
    for (int64_t row = 0; row < c.fh; ++row) {
        const uint8_t* src = c.glyph + row * c.fw;
        uint8_t* dst = videomemory + c.base + ((c.py + row) * c.width + c.px) * 3;
        for (int64_t col = 0; col < c.fw - 1; ++col, dst += 3)
            std::memcpy(dst, &t.value[src[col]], 4);
        const uint32_t last = t.value[src[c.fw - 1]];
        dst[0] = static_cast<uint8_t>(last);
        dst[1] = static_cast<uint8_t>(last >> 8);
        dst[2] = static_cast<uint8_t>(last >> 16);
    }
}

// 32 bits: red, green, blue into bytes 1..3 of each pixel; the first byte
// (alpha) is kept.
void drawargb(const Cell& c, const BlendTable& t)
{
    for (int64_t row = 0; row < c.fh; ++row) {
        const uint8_t* src = c.glyph + row * c.fw;
        uint8_t* dst = videomemory + c.base + ((c.py + row) * c.width + c.px) * 4;
        for (int64_t col = 0; col < c.fw; ++col, dst += 4) {
            uint32_t pixel = 0;
            std::memcpy(&pixel, dst, 4);
            pixel = (pixel & 0xFF) | t.value[src[col]] << 8;
            std::memcpy(dst, &pixel, 4);
        }
    }
}

void drawnibbles(const Cell& c, const BlendTable& t)
{
    for (int64_t row = 0; row < c.fh; ++row) {
        const uint8_t* src = c.glyph + row * c.fw;
        uint8_t* line = videomemory + c.base + (c.py + row) * (c.width / 2);
        for (int64_t col = 0; col < c.fw; ++col) {
            const int64_t px = c.px + col;
            uint8_t& byte = line[px / 2];
            const auto colour = static_cast<uint8_t>(t.value[src[col]]);
            byte = px % 2 == 0 ? static_cast<uint8_t>((byte & 0x0F) | colour << 4)
                               : static_cast<uint8_t>((byte & 0xF0) | colour);
        }
    }
}

void drawbits(const Cell& c, const BlendTable& t)
{
    for (int64_t row = 0; row < c.fh; ++row) {
        const uint8_t* src = c.glyph + row * c.fw;
        uint8_t* line = videomemory + c.base + (c.py + row) * (c.width / 8);
        for (int64_t col = 0; col < c.fw; ++col) {
            const int64_t px = c.px + col;
            const auto mask = static_cast<uint8_t>(0x80 >> (px % 8));
            if (t.value[src[col]] != 0)
                line[px / 8] |= mask;
            else
                line[px / 8] &= static_cast<uint8_t>(~mask);
        }
    }
}

void drawcell(const Cell& c, int64_t depth, const BlendTable& t)
{
    switch (depth) {
    case 1: drawbits(c, t); break;
    case 4: drawnibbles(c, t); break;
    case 8: drawbytes(c, t, 1, 0); break;
    case 16: drawbytes(c, t, 2, 1); break;
    case 24: drawrgb(c, t); break;
    case 32: drawargb(c, t); break;
    default: break;
    }
}

// ---- The steps of one call -------------------------------------------------

// Index of the cell in each text plane, or -1 when it lies outside them.
int64_t textindex(const t_Window& w, int64_t x, int64_t y)
{
    const int64_t start = w.TextMemoryStart, end = w.TextMemoryEnd;
    if (end >= videomemorysize || end < start)
        return -1;
    const int64_t half = (end - start + 1) / 2;
    int64_t index = 0;
    if (__builtin_mul_overflow(y - 1, static_cast<int64_t>(w.TextWidth), &index) ||
        __builtin_add_overflow(index, x - 1, &index))
        return -1;
    return index >= 0 && index < half ? index : -1;
}

// The cell's index in the text planes, or -1 for cells left of or above the
// window, beyond its pixel area or beyond its text planes: those are refused
// before anything is written.
int64_t cellindex(const t_Window& w, int64_t x, int64_t y)
{
    if (x < 1 || y < 1)
        return -1;
    int64_t right = 0, bottom = 0;
    if (__builtin_mul_overflow(w.Font.Width, x, &right) ||
        __builtin_mul_overflow(w.Font.Height, y, &bottom))
        return -1;
    return right <= w.Width && bottom <= w.Height ? textindex(w, x, y) : -1;
}

bool formatdrawable(int64_t format)
{
    if (format == 2)
        return true;
    if (format == 0 || format == 100 || format == 102)
        diag_line("t_PrintSymbol: Font format must be uncompressed grey for text-printing.");
    else
        diag_line("t_PrintSymbol: Illegal font format.");
    return false;
}

void drawglyph(const t_Window& w, uint8_t code, unsigned ink, unsigned paper, int64_t x, int64_t y)
{
    const t_Font& font = w.Font;
    if (code < font.Start || code > font.End || !formatdrawable(font.Format))
        return;
    const int64_t depth = w.BitDepth;
    const uint8_t* glyph = glyphof(font, code);
    if (!supporteddepth(depth) || glyph == nullptr || !pixelblockvalid(w))
        return;
    const Cell cell{glyph, font.Width, font.Height, (x - 1) * font.Width + SPRECHO_PLANTED_OVERRUN,
                    (y - 1) * font.Height, w.Width, w.MemoryStart};
    drawcell(cell, depth, blendtable(depth, ink, paper));
}

}  // namespace

bool routetext(const char* op, uint8_t window, uint8_t code)
{
    const int64_t redirect = windowtable[window].TextRedirectOutput;
    if (redirect == 2) {
        diag_text(unicode::encode(code));
        return false;
    }
    if (redirect != 1)
        return false;
    if (!windowhastext(window)) {
        notinitialized(op, window);
        return false;
    }
    return true;
}

void t_PrintSymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y)
{
    if (window >= graphicwindowcount) {
        notgraphic("t_PrintSymbol");
        return;
    }
    printsymbol(window, code, colour, x, y, windowtable[window].TextInverse);
}

void printsymbol(uint8_t window, uint8_t code, uint8_t colour, int64_t x, int64_t y, bool inverse)
{
    if (!routetext("t_PrintSymbol", window, code))
        return;
    const t_Window& w = windowtable[window];
    if (w.Font.Data.empty()) {
        notinitialized("t_PrintSymbol", window);
        return;
    }
    unsigned ink = colour >> 4, paper = colour & 0x0F;
    if (inverse)
        std::swap(ink, paper);
    const int64_t index = cellindex(w, x, y);
    if (index < 0) {
        diag_line("t_PrintSymbol: Window #" + std::to_string(window) + " illegal coordinates (x = " +
                  std::to_string(x) + ", y = " + std::to_string(y) + ").");
        return;
    }
    drawglyph(w, code, ink, paper, x, y);
    const int64_t half = textplanesize(w);
    videomemory[w.TextMemoryStart + half + index] = static_cast<uint8_t>(ink << 4 | paper);
    videomemory[w.TextMemoryStart + index] = code;
    recordface(window, index, w.Font.Face);
}
