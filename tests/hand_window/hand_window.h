// A graphic window set up by hand, the way t_InitWindow leaves it, but
// without the desktop: text-engine tests run against it in a bare process.
#pragma once

#include <cstdint>
#include <vector>

#include "windows/font_file.h"

// A format-2 font of fw x fh cells with a glyph for every code. The space is
// blank; every other glyph has full ink in its top-left pixel, paper in its
// bottom-right one and varied coverage between, so blending, code and
// position all show in the pixels.
t_Font handfont(int64_t fw, int64_t fh);

struct HandWindow {
    uint8_t number = 0;
    int64_t depth = 24;
    int64_t width = 0;   // pixels
    int64_t height = 0;  // pixels
    int64_t pixelstart = 0x200000;
    // Text block rounded up to whole KiB as the real placement does, so the
    // attribute plane does not start right after TextWidth x TextHeight.
    bool padded = true;
};

// Sets the memory-ready flag and the window's record (grid = pixels div
// font cell), places the text block 64 bytes above the pixel block, clears
// both as t_InitWindow does (black pixels, spaces in colour 0xC0).
void sethandwindow(const HandWindow& layout, const t_Font& font);

// The bytes of the window's pixel block and text block.
std::vector<uint8_t> pixelblock(uint8_t window);
std::vector<uint8_t> textblock(uint8_t window);

// Red, green, blue of pixel (x, y) of a 24- or 32-bit window.
uint32_t pixelrgb(uint8_t window, int64_t x, int64_t y);

// True when every cell's pixels are what drawing its stored code and
// attribute gives; `bad` names the first cell that differs.
bool cellsconsistent(uint8_t window, int64_t& badcolumn, int64_t& badline);
