#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "util/diagnostics.h"
#include "windows/font_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Compressed glyph data: the code width, then the codes packed most
// significant bit first, the last byte padded with zero bits.
Bytes packcodes(unsigned width, const std::vector<uint32_t>& codes)
{
    Bytes out{static_cast<uint8_t>(width)};
    uint64_t buffer = 0;
    unsigned bits = 0;
    for (uint32_t code : codes) {
        buffer = buffer << width | code;
        bits += width;
        while (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<uint8_t>(buffer >> bits));
        }
    }
    if (bits > 0)
        out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
    return out;
}

// A 16-byte header followed by `data`.
Bytes fontfile(uint8_t format, const Bytes& data)
{
    const uint8_t header[16] = {16, 't', 'k', 'f', 'n', format, 0x01, 0x02,
                                0x03, 0x04, 0,   255, 16,  32,  0xAB, 0xCD};
    Bytes file(sizeof header + data.size());
    std::copy(std::begin(header), std::end(header), file.begin());
    std::copy(data.begin(), data.end(), file.begin() + sizeof header);
    return file;
}

const char* const generatedfonts[] = {"MenloBold 16x32.font", "MenloRegular 16x32.font",
                                      "MenloItalic 16x32.font"};

// ---- Expansion -------------------------------------------------------------------

TEST(LzwExpand, ExpandsCodesAsTheDictionaryGrows)
{
    struct Case {
        const char* what;
        Bytes compressed;
        Bytes expected;
    };
    const Case cases[] = {
        {"a code used in the step that defines it", packcodes(9, {65, 256}), {65, 65, 65}},
        {"defined strings", packcodes(9, {65, 66, 256, 258}), {65, 66, 65, 66, 65, 66, 65}},
        {"a first code above 255 keeps its low byte", packcodes(9, {0x141, 66}), {0x41, 66}},
        {"narrow codes are plain bytes", packcodes(4, {1, 2, 15, 3}), {1, 2, 15, 3}},
        {"the widest codes", packcodes(24, {7, 256, 7}), {7, 7, 7, 7}},
        {"a partial code at the end is dropped", Bytes{9, 0x20, 0x90, 0xFF}, {65, 67}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lzwexpand(c.compressed), c.expected) << c.what;
}

TEST(LzwExpand, CorruptOrEmptyDataGiveNothing)
{
    struct Case {
        const char* what;
        Bytes compressed;
    };
    const Case cases[] = {
        {"no bytes", {}},
        {"no codes", {9}},
        {"fewer bits than one code", {9, 0xFF}},
        {"code width 0", {0, 1, 2, 3, 4}},
        {"code width 25", {25, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"code width 255", {255, 1, 2, 3, 4}},
        {"a code beyond the next one", packcodes(9, {65, 257})},
        {"an undefined code later on", packcodes(12, {65, 66, 256, 300})},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(lzwexpand(c.compressed).empty()) << c.what;
}

TEST(LzwExpand, RefusesDataThatUnpackFarBeyondAGlyphTable)
{
    // Each code repeats the newest string, one byte longer each time: 12,000
    // codes (36 KB) would unpack to about 72 MB.
    std::vector<uint32_t> codes{65};
    for (uint32_t code = 256; code < 256 + 12000; ++code)
        codes.push_back(code);
    EXPECT_TRUE(lzwexpand(packcodes(24, codes)).empty());
    codes.resize(2000);  // about 2 MB is still a font
    EXPECT_EQ(lzwexpand(packcodes(24, codes)).size(), 2000u * 2001u / 2u);
}

// ---- Parsing ---------------------------------------------------------------------

TEST(ParseFontFile, ReadsTheHeaderFields)
{
    DiagCapture out;
    Bytes file = fontfile(2, {1, 2, 3});
    file[0] = 20;  // bytes 16..19 are further header, not glyphs
    file.insert(file.begin() + 16, {9, 9, 9, 9});
    const t_Font font = parsefontfile(file, "x.font");
    EXPECT_EQ(font.HeaderSize, 20);
    EXPECT_EQ(font.Identifier, (Bytes{'t', 'k', 'f', 'n'}));
    EXPECT_EQ(font.Format, 2);
    EXPECT_EQ(font.Size, 0x01020304);
    EXPECT_EQ(font.Start, 0);
    EXPECT_EQ(font.End, 255);
    EXPECT_EQ(font.Width, 16);
    EXPECT_EQ(font.Height, 32);
    EXPECT_EQ(font.Reserved, 0xABCD);
    EXPECT_EQ(font.Data, (Bytes{1, 2, 3}));
    EXPECT_TRUE(out.lines().empty());
}

TEST(ParseFontFile, ShortHeaderKeepsReservedAtZero)
{
    Bytes file = fontfile(2, {});
    file.resize(14);
    file[0] = 14;
    const t_Font font = parsefontfile(file, "x.font");
    EXPECT_EQ(font.Size, 0x01020304);
    EXPECT_EQ(font.Reserved, 0);
    EXPECT_EQ(font.Height, 32);
    EXPECT_TRUE(font.Data.empty());
}

TEST(ParseFontFile, ExpandsCompressedFormats)
{
    struct Case {
        uint8_t format;
        Bytes data;
        int64_t format_after;
        Bytes data_after;
    };
    const Case cases[] = {
        {102, packcodes(9, {65, 256}), 2, {65, 65, 65}},
        {100, packcodes(9, {65, 256}), 0, {65, 65, 65}},
        {102, {}, 2, {}},                          // empty data: only the format changes
        {102, packcodes(9, {65, 300}), 2, {}},     // corrupt: no glyphs
        {0, packcodes(9, {65, 256}), 0, packcodes(9, {65, 256})},  // left as it is
    };
    for (const Case& c : cases) {
        DiagCapture out;
        const t_Font font = parsefontfile(fontfile(c.format, c.data), "x.font");
        EXPECT_EQ(font.Format, c.format_after) << int{c.format};
        EXPECT_EQ(font.Data, c.data_after) << int{c.format};
        EXPECT_TRUE(out.lines().empty());
    }
}

TEST(ParseFontFile, RejectsBrokenFilesWithTheirLine)
{
    struct Case {
        const char* what;
        Bytes file;
        const char* line;
        int64_t headersize;
        Bytes identifier;
    };
    Bytes wrongtype = fontfile(2, {1, 2});
    wrongtype[4] = 'x';
    Bytes beyond = fontfile(2, {1, 2});
    beyond[0] = 40;
    const Case cases[] = {
        {"no bytes", {}, "t_LoadFontResource: Could not load file \u201Ex.font\u201C", 16,
         {'t', 'k', 'f', 'n'}},
        {"header size beyond the file", beyond, "t_LoadFontResource: Invalid header size", 40,
         {'t', 'k', 'f', 'n'}},
        {"one byte", {0}, "t_LoadFontResource: Invalid header size", 0, {'t', 'k', 'f', 'n'}},
        {"13 bytes", {5, 't', 'k', 'f', 'n', 2, 0, 0, 0, 0, 0, 255, 16},
         "t_LoadFontResource: Invalid header size", 5, {'t', 'k', 'f', 'n'}},
        {"wrong identifier", wrongtype, "t_LoadFontResource: Invalid file type", 16,
         {'t', 'k', 'f', 'x'}},
    };
    for (const Case& c : cases) {
        DiagCapture out;
        const t_Font font = parsefontfile(c.file, "x.font");
        EXPECT_EQ(out.lines(), (std::vector<std::string>{c.line})) << c.what;
        EXPECT_EQ(font.HeaderSize, c.headersize) << c.what;
        EXPECT_EQ(font.Identifier, c.identifier) << c.what;
        EXPECT_EQ(font.Format, 0) << c.what;
        EXPECT_EQ(font.Width, 0) << c.what;
        EXPECT_TRUE(font.Data.empty()) << c.what;
    }
}

// ---- The generated fonts ---------------------------------------------------------

const uint8_t* glyph(const t_Font& font, int code)
{
    return font.Data.data() + code * 16 * 32;
}

int inked(const t_Font& font, int code)
{
    int count = 0;
    for (int i = 0; i < 16 * 32; ++i)
        count += glyph(font, code)[i] >= 128 ? 1 : 0;
    return count;
}

TEST(GeneratedFonts, ExpandToFullGlyphTables)
{
    for (const char* name : generatedfonts) {
        DiagCapture out;
        const t_Font font = t_LoadFontResource(name);
        EXPECT_TRUE(out.lines().empty()) << name;
        EXPECT_EQ(font.Format, 2) << name;
        EXPECT_EQ(font.Start, 0) << name;
        EXPECT_EQ(font.End, 255) << name;
        EXPECT_EQ(font.Width, 16) << name;
        EXPECT_EQ(font.Height, 32) << name;
        ASSERT_EQ(font.Data.size(), 131072u) << name;
        EXPECT_GT(inked(font, 'A'), 40) << name;
        EXPECT_GT(inked(font, 0xC4), inked(font, 'A')) << name;  // Ä: A with dots
        for (int code : {0, 10, 31, 32})
            EXPECT_EQ(inked(font, code), 0) << name << " code " << code;
    }
}

// Box-drawing lines touch the cell edges on the same rows or columns, so
// they join with the neighbouring cells.
TEST(GeneratedFonts, GraphicLinesJoinAcrossCells)
{
    const t_Font font = t_LoadFontResource(generatedfonts[0]);
    ASSERT_EQ(font.Data.size(), 131072u);
    auto at = [&](int code, int x, int y) { return glyph(font, code)[y * 16 + x]; };
    for (int y = 0; y < 32; ++y) {
        EXPECT_EQ(at(140, 0, y), at(140, 15, y)) << "horizontal line, row " << y;
        EXPECT_EQ(at(146, 0, y), at(140, 15, y)) << "cross meets horizontal, row " << y;
    }
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(at(138, x, 0), at(138, x, 31)) << "vertical line, column " << x;
        EXPECT_EQ(at(134, x, 31), at(138, x, 0)) << "corner meets vertical, column " << x;
    }
    EXPECT_EQ(inked(font, 129), 16 * 32);  // solid block
    EXPECT_GT(inked(font, 160), 0);        // the visible non-breaking space
}

TEST(GeneratedFonts, MissingFileGivesTheEmptyFont)
{
    DiagCapture out;
    const t_Font font = t_LoadFontResource("Nowhere 16x32.font");
    EXPECT_TRUE(font.Data.empty());
    ASSERT_FALSE(out.lines().empty());
    EXPECT_EQ(out.lines().back(), "t_LoadFontResource: Could not load file \u201ENowhere 16x32.font\u201C");
}

}  // namespace
