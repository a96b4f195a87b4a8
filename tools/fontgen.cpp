// Builds the three bitmap fonts of the runtime from DejaVu Sans Mono.
//
//   fontgen <dejavu-dir> <resource-dir> [preview.pgm]
//
// Each font holds 256 grey cells of 16 x 32 pixels (codes 0..255, ISO
// 8859-1): codes 32..126 and 161..255 rasterised by FreeType, codes 0..31
// blank, and codes 127..160 the runtime's graphic characters, drawn here so
// that their lines meet exactly at the cell edges. The glyph table is
// written LZW-compressed (format 102) behind a 16-byte header. With a third
// argument the generator also writes a grey preview of all three fonts.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr int cellwidth = 16;
constexpr int cellheight = 32;
constexpr int cellbytes = cellwidth * cellheight;
constexpr int codes = 256;

using Cell = std::array<uint8_t, cellbytes>;
using Table = std::vector<uint8_t>;  // codes x cellbytes

struct FontJob {
    const char* source;
    const char* target;
};

const FontJob jobs[] = {
    {"DejaVuSansMono-Bold.ttf", "MenloBold 16x32.font"},
    {"DejaVuSansMono.ttf", "MenloRegular 16x32.font"},
    {"DejaVuSansMono-Oblique.ttf", "MenloItalic 16x32.font"},
};

// ---- Drawn graphic characters ---------------------------------------------------

void fill(Cell& cell, int x0, int y0, int x1, int y1)
{
    for (int y = std::max(y0, 0); y <= std::min(y1, cellheight - 1); ++y)
        for (int x = std::max(x0, 0); x <= std::min(x1, cellwidth - 1); ++x)
            cell[y * cellwidth + x] = 255;
}

// Anti-aliased shape: coverage from 4 x 4 samples per pixel of a predicate
// over continuous cell coordinates (x right, y down, pixel centres at +0.5).
void shape(Cell& cell, const std::function<bool(double, double)>& inside)
{
    for (int y = 0; y < cellheight; ++y) {
        for (int x = 0; x < cellwidth; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) ? 1 : 0;
            cell[y * cellwidth + x] = static_cast<uint8_t>(std::max<int>(
                cell[y * cellwidth + x], (hits * 255 + 8) / 16));
        }
    }
}

// Box-drawing strokes. Thin lines are 2 pixels on the cell's centre lines,
// thick ones 4; an arm runs from the cell edge across the centre stroke, so
// neighbouring cells join without gaps or bumps.
enum Weight { none = 0, thin = 1, thick = 2 };

struct Arms {
    Weight left, right, up, down;
};

void arms(Cell& cell, Arms a)
{
    auto stroke = [](Weight w, int centre) {  // first and last pixel across
        const int half = w == thick ? 2 : 1;
        return std::array<int, 2>{centre - half, centre + half - 1};
    };
    const Weight across = std::max({a.up, a.down});
    const Weight along = std::max({a.left, a.right});
    const auto cols = stroke(across == none ? along : across, cellwidth / 2);
    const auto rows = stroke(along == none ? across : along, cellheight / 2);
    if (a.left != none)
        fill(cell, 0, stroke(a.left, cellheight / 2)[0], cols[1], stroke(a.left, cellheight / 2)[1]);
    if (a.right != none)
        fill(cell, cols[0], stroke(a.right, cellheight / 2)[0], cellwidth - 1,
             stroke(a.right, cellheight / 2)[1]);
    if (a.up != none)
        fill(cell, stroke(a.up, cellwidth / 2)[0], 0, stroke(a.up, cellwidth / 2)[1], rows[1]);
    if (a.down != none)
        fill(cell, stroke(a.down, cellwidth / 2)[0], rows[0], stroke(a.down, cellwidth / 2)[1],
             cellheight - 1);
}

// Double lines: two thin strokes 6 pixels apart (rows 11..12 and 19..20,
// columns 4..5 and 10..11).
void doublecross(Cell& cell)
{
    fill(cell, 4, 0, 5, 12);
    fill(cell, 0, 11, 5, 12);
    fill(cell, 10, 0, 11, 12);
    fill(cell, 10, 11, 15, 12);
    fill(cell, 4, 19, 5, 31);
    fill(cell, 0, 19, 5, 20);
    fill(cell, 10, 19, 11, 31);
    fill(cell, 10, 19, 15, 20);
}

void drawbox(Cell& cell, int code)
{
    static const std::unordered_map<int, Arms> box = {
        {134, {none, thin, none, thin}},   // top left corner
        {135, {thin, none, none, thin}},   // top right corner
        {136, {none, thin, thin, none}},   // bottom left corner
        {137, {thin, none, thin, none}},   // bottom right corner
        {138, {none, none, thin, thin}},   // vertical
        {139, {none, none, thick, thick}},
        {140, {thin, thin, none, none}},   // horizontal
        {141, {thick, thick, none, none}},
        {142, {none, thin, thin, thin}},   // tee to the right
        {143, {thin, none, thin, thin}},   // tee to the left
        {144, {thin, thin, none, thin}},   // tee down
        {145, {thin, thin, thin, none}},   // tee up
        {146, {thin, thin, thin, thin}},   // cross
        {147, {none, thick, none, thick}}, // the same, thick
        {148, {thick, none, none, thick}},
        {149, {none, thick, thick, none}},
        {150, {thick, none, thick, none}},
        {151, {none, thick, thick, thick}},
        {152, {thick, none, thick, thick}},
        {153, {thick, thick, thick, thick}},
    };
    arms(cell, box.at(code));
}

void drawgraphic(Cell& cell, int code)
{
    const double cx = cellwidth / 2.0, cy = cellheight / 2.0;
    switch (code) {
    case 127:  // checkerboard of 2 x 2 squares, seamless across cells
        for (int y = 0; y < cellheight; ++y)
            for (int x = 0; x < cellwidth; ++x)
                cell[y * cellwidth + x] = (x / 2 + y / 2) % 2 == 0 ? 255 : 0;
        break;
    case 128:  // filled diamond
        shape(cell, [&](double x, double y) {
            return std::fabs(x - cx) / 7.0 + std::fabs(y - cy) / 11.0 <= 1.0;
        });
        break;
    case 129:  // solid block
        fill(cell, 0, 0, cellwidth - 1, cellheight - 1);
        break;
    case 130:  // arrow head to the left; its base meets 131
        shape(cell, [&](double x, double y) { return x >= 1 && std::fabs(y - cy) <= (x - 1) * 0.6; });
        break;
    case 131:  // arrow shaft: two bars across the whole cell
        fill(cell, 0, 13, cellwidth - 1, 14);
        fill(cell, 0, 17, cellwidth - 1, 18);
        break;
    case 132:  // arrow head to the right
        shape(cell, [&](double x, double y) {
            return x <= 15 && std::fabs(y - cy) <= (15 - x) * 0.6;
        });
        break;
    case 133:  // ring
        shape(cell, [&](double x, double y) {
            const double r = std::hypot(x - cx, y - cy);
            return r <= 7.0 && r >= 5.0;
        });
        break;
    case 154: fill(cell, 0, 0, cellwidth - 1, 1); break;                          // top edge
    case 155: fill(cell, 0, cellheight - 2, cellwidth - 1, cellheight - 1); break;  // bottom edge
    case 156: fill(cell, 0, 0, 1, cellheight - 1); break;                          // left edge
    case 157: fill(cell, cellwidth - 2, 0, cellwidth - 1, cellheight - 1); break;    // right edge
    case 158: doublecross(cell); break;
    case 159:  // double horizontal
        fill(cell, 0, 11, cellwidth - 1, 12);
        fill(cell, 0, 19, cellwidth - 1, 20);
        break;
    case 160:  // shelf: the visible mark of a non-breaking space
        fill(cell, 3, 22, 12, 23);
        fill(cell, 3, 18, 4, 23);
        fill(cell, 11, 18, 12, 23);
        break;
    default:
        drawbox(cell, code);
        break;
    }
}

// ---- Rasterised letters ---------------------------------------------------------

struct Face {
    FT_Face face = nullptr;
    int baseline = 0;  // row of the baseline, counted from the top
    int advance = 0;
};

// The largest pixel size whose ascender and descender fit the cell height
// and whose advance fits its width.
bool sizeface(Face& f)
{
    for (int size = cellheight; size > 4; --size) {
        if (FT_Set_Pixel_Sizes(f.face, 0, static_cast<FT_UInt>(size)) != 0)
            continue;
        const FT_Size_Metrics& m = f.face->size->metrics;
        const long ascender = m.ascender >> 6, descender = -(m.descender >> 6);
        if (FT_Load_Char(f.face, 'M', FT_LOAD_DEFAULT) != 0)
            return false;
        const long advance = f.face->glyph->advance.x >> 6;
        if (ascender + descender <= cellheight && advance <= cellwidth) {
            f.baseline = static_cast<int>((cellheight - ascender - descender) / 2 + ascender);
            f.advance = static_cast<int>(advance);
            return true;
        }
    }
    return false;
}

void rasterise(const Face& f, Cell& cell, int code)
{
    if (FT_Load_Char(f.face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0)
        return;
    const FT_GlyphSlot slot = f.face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
        return;
    const int left = slot->bitmap_left + (cellwidth - f.advance) / 2;
    const int top = f.baseline - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = top + static_cast<int>(row);
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + static_cast<int>(col);
            if (x < 0 || x >= cellwidth || y < 0 || y >= cellheight)
                continue;  // slanted strokes of the oblique face may overhang
            uint8_t& pixel = cell[y * cellwidth + x];
            pixel = std::max(pixel, bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col]);
        }
    }
}

Table buildtable(const Face& f)
{
    Table table(codes * cellbytes, 0);
    for (int code = 32; code < codes; ++code) {
        Cell cell{};
        if (code >= 127 && code <= 160)
            drawgraphic(cell, code);
        else
            rasterise(f, cell, code);
        std::copy(cell.begin(), cell.end(), table.begin() + code * cellbytes);
    }
    return table;
}

// ---- Compression ------------------------------------------------------------------

// LZW over bytes with a fixed code width: the dictionary starts with the 256
// single bytes and grows by one string per code until the width runs out;
// there are no clear or end codes. The first byte of the result is the
// width, then the codes follow most significant bit first.
std::vector<uint8_t> lzwcompress(const Table& data, unsigned width)
{
    std::vector<uint8_t> out{static_cast<uint8_t>(width)};
    uint64_t buffer = 0;
    unsigned bits = 0;
    auto emit = [&](uint32_t code) {
        buffer = buffer << width | code;
        bits += width;
        while (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<uint8_t>(buffer >> bits));
        }
    };
    std::unordered_map<uint32_t, uint32_t> dictionary;  // prefix << 8 | byte -> code
    const uint32_t limit = 1u << width;
    uint32_t next = 256;
    uint32_t current = data[0];
    for (size_t i = 1; i < data.size(); ++i) {
        const uint32_t key = current << 8 | data[i];
        const auto found = dictionary.find(key);
        if (found != dictionary.end()) {
            current = found->second;
            continue;
        }
        emit(current);
        if (next < limit)
            dictionary.emplace(key, next++);
        current = data[i];
    }
    emit(current);
    if (bits > 0)
        out.push_back(static_cast<uint8_t>(buffer << (8 - bits)));
    return out;
}

// The code width that gives the smallest file.
std::vector<uint8_t> bestcompression(const Table& data)
{
    std::vector<uint8_t> best;
    for (unsigned width = 9; width <= 16; ++width) {
        std::vector<uint8_t> packed = lzwcompress(data, width);
        if (best.empty() || packed.size() < best.size())
            best = std::move(packed);
    }
    return best;
}

bool writefile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

bool writefont(const std::string& path, const Table& table)
{
    const auto size = static_cast<uint32_t>(table.size());
    std::vector<uint8_t> file = {16, 't', 'k', 'f', 'n', 102,
                                 static_cast<uint8_t>(size >> 24), static_cast<uint8_t>(size >> 16),
                                 static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size),
                                 0, 255, cellwidth, cellheight, 0, 0};
    const std::vector<uint8_t> packed = bestcompression(table);
    file.insert(file.end(), packed.begin(), packed.end());
    return writefile(path, file);
}

// All glyphs of every font, 16 to a row, the fonts side by side.
bool writepreview(const std::string& path, const std::vector<Table>& tables)
{
    const int gap = 8, fontwidth = 16 * cellwidth, height = 16 * cellheight;
    const int width = static_cast<int>(tables.size()) * (fontwidth + gap) - gap;
    std::vector<uint8_t> image(static_cast<size_t>(width) * height, 64);
    for (size_t f = 0; f < tables.size(); ++f) {
        for (int code = 0; code < codes; ++code) {
            const int x0 = static_cast<int>(f) * (fontwidth + gap) + code % 16 * cellwidth;
            const int y0 = code / 16 * cellheight;
            for (int i = 0; i < cellbytes; ++i)
                image[(y0 + i / cellwidth) * width + x0 + i % cellwidth] =
                    tables[f][code * cellbytes + i];
        }
    }
    const std::string header =
        "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> file(header.begin(), header.end());
    file.insert(file.end(), image.begin(), image.end());
    return writefile(path, file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: fontgen <dejavu-dir> <resource-dir> [preview.pgm]\n");
        return 2;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "fontgen: FreeType does not start\n");
        return 1;
    }
    std::vector<Table> tables;
    for (const FontJob& job : jobs) {
        const std::string source = std::string(argv[1]) + "/" + job.source;
        Face face;
        if (FT_New_Face(library, source.c_str(), 0, &face.face) != 0 || !sizeface(face)) {
            std::fprintf(stderr, "fontgen: cannot use %s\n", source.c_str());
            return 1;
        }
        tables.push_back(buildtable(face));
        FT_Done_Face(face.face);
        const std::string target = std::string(argv[2]) + "/" + job.target;
        if (!writefont(target, tables.back())) {
            std::fprintf(stderr, "fontgen: cannot write %s\n", target.c_str());
            return 1;
        }
    }
    FT_Done_FreeType(library);
    if (argc == 4 && !writepreview(argv[3], tables)) {
        std::fprintf(stderr, "fontgen: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
