#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "util/diagnostics.h"
#include "windows/font_file.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

// Compressed glyph data: the code width, then the codes packed most
// significant bit first, the last byte padded with zero bits.
Bytes packcodes(unsigned width, const std::vector<uint32_t>& codes)
{
    Bytes out{static_cast<uint8_t>(width)};
    uint64_t buffer = 0;
    unsigned bits = 0;
    for (uint32_t code : codes) {
        buffer = buffer << width | code;
        for (bits += width; bits >= 8; bits -= 8)
            out.push_back(static_cast<uint8_t>(buffer >> (bits - 8)));
    }
    if (bits > 0)
        out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
    return out;
}

// A 16-byte header followed by `data`.
Bytes fontfile(uint8_t format, const Bytes& data)
{
    const uint8_t header[16] = {16, 't', 'k', 'f', 'n', format, 1, 2, 3, 4, 0, 255, 16, 32, 0xAB, 0xCD};
    Bytes file(16 + data.size());
    std::copy(std::begin(header), std::end(header), file.begin());
    std::copy(data.begin(), data.end(), file.begin() + 16);
    return file;
}

// The dictionary grows by one string per code; a code may name the string
// its own step defines (65, 256 gives "AAA"). Each code of the last row
// repeats the newest string one byte longer: 12,000 codes would unpack to
// about 72 MB and are refused, 2,000 codes (about 2 MB) are still a font.
TEST(LzwExpand, ExpandsCodesAsTheDictionaryGrows)
{
    const std::tuple<const char*, Bytes, Bytes> cases[] = {
        {"a code used in the step that defines it", packcodes(9, {65, 256}), {65, 65, 65}},
        {"defined strings", packcodes(9, {65, 66, 256, 258}), {65, 66, 65, 66, 65, 66, 65}},
        {"a first code above 255 keeps its low byte", packcodes(9, {0x141, 66}), {0x41, 66}},
        {"the widest codes", packcodes(24, {7, 256, 7}), {7, 7, 7, 7}},
        {"a partial code at the end is dropped", Bytes{9, 0x20, 0x90, 0xFF}, {65, 67}},
    };
    for (const auto& [what, compressed, expected] : cases)
        EXPECT_EQ(lzwexpand(compressed), expected) << what;
    std::vector<uint32_t> codes{65};
    for (uint32_t code = 256; code < 256 + 12000; ++code)
        codes.push_back(code);
    EXPECT_TRUE(lzwexpand(packcodes(24, codes)).empty());
    codes.resize(2000);
    EXPECT_EQ(lzwexpand(packcodes(24, codes)).size(), 2000u * 2001u / 2u);
}

// Big-endian size and reserved word, glyphs after a header longer than 16
// bytes, compressed formats expanded and format 0 taken as it is.
TEST(ParseFontFile, ReadsHeaderAndGlyphs)
{
    DiagCapture out;
    Bytes file = fontfile(2, {9, 9, 9, 9, 3});
    file[0] = 20;
    const t_Font font = parsefontfile(file, "x.font");
    EXPECT_EQ(std::vector<int64_t>({font.HeaderSize, font.Size, font.Reserved, font.Format, font.Start,
                                    font.End, font.Width, font.Height}),
              std::vector<int64_t>({20, 0x01020304, 0xABCD, 2, 0, 255, 16, 32}));
    EXPECT_EQ(font.Data, Bytes{3});
    const std::tuple<uint8_t, Bytes, int64_t, Bytes> formats[] = {
        {102, packcodes(9, {65, 256}), 2, {65, 65, 65}},
        {100, packcodes(9, {65, 256}), 0, {65, 65, 65}},
        {0, {9, 1}, 0, {9, 1}}};
    for (const auto& [format, data, after, glyphs] : formats) {
        const t_Font f = parsefontfile(fontfile(format, data), "x.font");
        EXPECT_EQ(std::make_pair(f.Format, f.Data), std::make_pair(after, glyphs)) << int{format};
    }
    EXPECT_TRUE(out.lines().empty());
}

// Broken headers give their line and no glyphs; corrupt compressed data give
// no glyphs without a line.
TEST(ParseFontFile, RejectsBrokenFilesWithTheirLine)
{
    Bytes wrongtype = fontfile(2, {1, 2});
    wrongtype[4] = 'x';
    Bytes beyond = fontfile(2, {1, 2});
    beyond[0] = 40;
    const std::string badheader = "t_LoadFontResource: Invalid header size";
    const std::tuple<const char*, Bytes, Lines> cases[] = {
        {"no bytes", {}, {"t_LoadFontResource: Could not load file \u201Ex.font\u201C"}},
        {"one byte", {0}, {badheader}},
        {"header size beyond the file", beyond, {badheader}},
        {"wrong identifier", wrongtype, {"t_LoadFontResource: Invalid file type"}},
        {"no codes", fontfile(102, {9}), {}},
        {"code width 0", fontfile(102, {0, 1, 2, 3, 4}), {}},
        {"code width 25", fontfile(102, {25, 1, 2, 3, 4, 5, 6, 7, 8}), {}},
        {"a code beyond the next one", fontfile(102, packcodes(9, {65, 257})), {}},
    };
    for (const auto& [what, file, lines] : cases) {
        DiagCapture out;
        EXPECT_TRUE(parsefontfile(file, "x.font").Data.empty()) << what;
        EXPECT_EQ(out.lines(), lines) << what;
    }
}

// The fonts made at build time load from the resource directory, expand to
// 256 glyphs of 16 x 32 and draw letters; controls and the space are blank.
TEST(GeneratedFonts, ExpandToFullGlyphTables)
{
    for (const char* name : {"MenloBold 16x32.font", "MenloRegular 16x32.font", "MenloItalic 16x32.font"}) {
        DiagCapture out;
        const t_Font font = t_LoadFontResource(name);
        const auto inked = [&](int code) {
            const auto glyph = font.Data.begin() + code * 16 * 32;
            return std::count_if(glyph, glyph + 16 * 32, [](uint8_t g) { return g >= 128; });
        };
        EXPECT_TRUE(out.lines().empty()) << name;
        EXPECT_EQ(std::vector<int64_t>({font.Format, font.Start, font.End, font.Width, font.Height}),
                  std::vector<int64_t>({2, 0, 255, 16, 32})) << name;
        ASSERT_EQ(font.Data.size(), 131072u) << name;
        EXPECT_GT(inked('A'), 40) << name;
        EXPECT_GT(inked(0xC4), inked('A')) << name;  // Ä: A with dots
        EXPECT_EQ(inked(0) + inked(10) + inked(32), 0) << name;
    }
}

}  // namespace
