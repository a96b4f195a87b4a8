// The runtime's colours on a terminal: exact where the terminal takes
// 24-bit colour, else the nearest of its 256 or 8 colours; without colour,
// inverse video where the paper is lighter than the ink.
#pragma once

#include <cstdint>

#include "platform/entry_points.h"

enum class ColourDepth : uint8_t { none, eight, indexed256, direct };

// COLORTERM saying "truecolor" or "24bit": the terminal takes 24-bit colour.
bool saysdirectcolour(const char* colorterm);
// The depth a terminal description offers: its number of colours, and
// whether it takes colours as 24-bit values.
ColourDepth colourdepthof(int colours, bool direct);

// The nearest of the 240 colours that 256-colour terminals agree on
// (16..255: the 6 x 6 x 6 cube and the grey ramp; 0..15 follow the user's
// theme) by squared distance; ties go to the lower number.
int nearest256(uint32_t rgb);
// The red, green and blue of colour 16..255 as 0xRRGGBB.
uint32_t rgbof256(int index);
// The nearest of the eight basic colours (0 black .. 7 white) in their
// usual shades.
int nearest8(uint32_t rgb);

// A terminal colour number for 0xRRGGBB at `depth`; -1 (the terminal's
// default) without colour. Direct colour is the value itself, except that
// values below 8 would select the theme's colours and are nudged off them.
int terminalcolour(uint32_t rgb, ColourDepth depth);

// How one text cell looks: terminal colours and attributes.
struct CellLook {
    int foreground = -1;
    int background = -1;
    bool bold = false;
    bool italic = false;
    bool reverse = false;
    bool operator==(const CellLook&) const = default;
};

// The look of an attribute byte (ink in the high nibble, paper in the low
// one) drawn in `face`. Ink that would vanish on its paper (both mapped to
// one colour) turns white on dark paper and black on light paper.
CellLook lookof(uint8_t attribute, t_FontFace face, ColourDepth depth);
// The margin: only a background.
CellLook marginlook(uint32_t rgb, ColourDepth depth);
