#include "frontends/terminal/colours.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<int, 6> cubelevels = {0, 95, 135, 175, 215, 255};

constexpr std::array<uint32_t, 8> basiccolours = {
    0x000000, 0xCD0000, 0x00CD00, 0xCDCD00, 0x0000EE, 0xCD00CD, 0x00CDCD, 0xE5E5E5,
};

int red(uint32_t rgb) { return int(rgb >> 16 & 0xFF); }
int green(uint32_t rgb) { return int(rgb >> 8 & 0xFF); }
int blue(uint32_t rgb) { return int(rgb & 0xFF); }

int distance(uint32_t a, uint32_t b)
{
    const int dr = red(a) - red(b), dg = green(a) - green(b), db = blue(a) - blue(b);
    return dr * dr + dg * dg + db * db;
}

// Perceived lightness, enough to tell light paper from dark.
int lightness(uint32_t rgb)
{
    return 299 * red(rgb) + 587 * green(rgb) + 114 * blue(rgb);
}

bool islight(uint32_t rgb)
{
    return lightness(rgb) >= 128 * 1000;
}

}  // namespace

bool saysdirectcolour(const char* colorterm)
{
    return colorterm != nullptr &&
           (std::strcmp(colorterm, "truecolor") == 0 || std::strcmp(colorterm, "24bit") == 0);
}

ColourDepth colourdepthof(int colours, bool direct)
{
    if (direct && colours >= 0x1000000)
        return ColourDepth::direct;
    if (colours >= 256)
        return ColourDepth::indexed256;
    if (colours >= 8)
        return ColourDepth::eight;
    return ColourDepth::none;
}

uint32_t rgbof256(int index)
{
    if (index >= 232 && index <= 255) {
        const auto level = uint32_t(8 + 10 * (index - 232));
        return level << 16 | level << 8 | level;
    }
    if (index < 16 || index > 255)
        return 0;
    const int cube = index - 16;
    return uint32_t(cubelevels[size_t(cube / 36)]) << 16 | uint32_t(cubelevels[size_t(cube / 6 % 6)]) << 8 |
           uint32_t(cubelevels[size_t(cube % 6)]);
}

int nearest256(uint32_t rgb)
{
    int best = 16;
    int bestdistance = distance(rgb, rgbof256(16));
    for (int index = 17; index <= 255; ++index) {
        const int d = distance(rgb, rgbof256(index));
        if (d < bestdistance) {
            best = index;
            bestdistance = d;
        }
    }
    return best;
}

int nearest8(uint32_t rgb)
{
    int best = 0;
    for (int index = 1; index < 8; ++index)
        if (distance(rgb, basiccolours[size_t(index)]) < distance(rgb, basiccolours[size_t(best)]))
            best = index;
    return best;
}

int terminalcolour(uint32_t rgb, ColourDepth depth)
{
    switch (depth) {
    case ColourDepth::direct: return rgb < 8 ? int(rgb | 0x100) : int(rgb);
    case ColourDepth::indexed256: return nearest256(rgb);
    case ColourDepth::eight: return nearest8(rgb);
    case ColourDepth::none: return -1;
    }
    return -1;
}

CellLook lookof(uint8_t attribute, t_FontFace face, ColourDepth depth)
{
    const uint32_t ink = palettergb(attribute >> 4);
    const uint32_t paper = palettergb(attribute & 0x0F);
    CellLook look;
    look.bold = face == t_FontFace::bold;
    look.italic = face == t_FontFace::italic;
    if (depth == ColourDepth::none) {
        look.reverse = lightness(paper) > lightness(ink);
        return look;
    }
    look.foreground = terminalcolour(ink, depth);
    look.background = terminalcolour(paper, depth);
    if (look.foreground == look.background && ink != paper)
        look.foreground = terminalcolour(islight(paper) ? 0x000000 : 0xFFFFFF, depth);
    return look;
}

CellLook marginlook(uint32_t rgb, ColourDepth depth)
{
    CellLook look;
    if (depth == ColourDepth::none) {
        look.reverse = true;  // without colour the frame shows as a light band
        return look;
    }
    look.background = terminalcolour(rgb, depth);
    look.foreground = look.background;
    return look;
}
