// Bitmap font files (".font") and the font record the text engine draws from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/entry_points.h"

// A bitmap font. Format 2 is uncompressed grey: the glyph of code c starts
// at byte c * Width * Height, Height rows of Width coverage bytes each
// (0 = paper, 255 = ink). A font can draw text exactly when Data is not empty.
struct t_Font {
    int64_t HeaderSize = 16;
    std::vector<uint8_t> Identifier{'t', 'k', 'f', 'n'};
    int64_t Format = 0;
    int64_t Size = 0;
    uint8_t Start = 0;
    uint8_t End = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    int64_t Reserved = 0;
    std::vector<uint8_t> Data;
    // The face the file holds, named in its file name ("MenloBold 16x32.font");
    // kept beside the text so that a front-end drawing text rather than
    // pixels can show bold and italic cells.
    t_FontFace Face = t_FontFace::regular;
};

// The empty font: header size 16, identifier "tkfn", all numbers 0, no data.
t_Font emptyfont();

// Loads `fileName` from the application's resource directory. Never fails as
// such: a font with empty Data means the load failed and a line was printed.
t_Font t_LoadFontResource(const std::string& fileName);

// Parses a whole font file already in memory (what t_LoadFontResource does
// after reading the file); `fileName` names it in messages and gives the face.
t_Font parsefontfile(const std::vector<uint8_t>& bytes, const std::string& fileName);

// The face a font file's name says: "Bold", "Italic" or "Oblique" in it.
t_FontFace fontfacefromname(const std::string& fileName);

// Expands LZW-compressed glyph data (first byte: code width in bits).
// Corrupt data (a code that is neither defined nor the next one) gives an
// empty result.
std::vector<uint8_t> lzwexpand(const std::vector<uint8_t>& compressed);
