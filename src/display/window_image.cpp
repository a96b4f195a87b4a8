#include "display/window_image.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

// Zero in every real build. scripts/check builds the runtime once with a
// fault planted here, every image written one pixel further on, to prove
// that its sanitizer run catches a write past an image at every depth.
#ifndef SPRECHO_PLANTED_OVERRUN
#define SPRECHO_PLANTED_OVERRUN 0
#endif

namespace {

constexpr uint32_t opaque = 0xFF000000u;

uint32_t palettepixel(unsigned number)
{
    return opaque | uint32_t{palettered[number]} << 16 | uint32_t{palettegreen[number]} << 8 |
           paletteblue[number];
}

// Rows follow each other without padding (the set-up makes a 1-bit row a
// whole number of bytes, a 4-bit row too), so each depth converts the whole
// block as one run of pixels. 1 and 4 bits go through tables that give all
// pixels of one source byte at once.

void convert1(const uint8_t* source, uint32_t* out, int64_t count)
{
    // 256 source bytes x 8 pixels: 8 KiB, built per call like the 4-bit table.
    static_assert(sizeof(uint32_t) * 8 * 256 == 8192);
    std::array<std::array<uint32_t, 8>, 256> table;
    const uint32_t ink = palettepixel(15);
    const uint32_t paper = palettepixel(0);
    for (unsigned byte = 0; byte < 256; ++byte)
        for (unsigned bit = 0; bit < 8; ++bit)
            table[byte][bit] = (byte >> (7 - bit)) & 1 ? ink : paper;
    for (int64_t i = 0; i < count / 8; ++i)
        std::memcpy(out + 8 * i, table[source[i]].data(), sizeof(table[0]));
    for (int64_t p = count / 8 * 8; p < count; ++p)
        out[p] = table[source[p / 8]][p % 8];
}

void convert4(const uint8_t* source, uint32_t* out, int64_t count)
{
    std::array<uint32_t, 16> palette;
    for (unsigned n = 0; n < 16; ++n)
        palette[n] = palettepixel(n);
    // Both pixels of a byte in one word, the left one (high nibble) first in
    // memory, so each source byte costs one table load and one store.
    std::array<uint64_t, 256> pairs;
    for (unsigned byte = 0; byte < 256; ++byte) {
        const uint32_t two[2] = {palette[byte >> 4], palette[byte & 15]};
        std::memcpy(&pairs[byte], two, sizeof(two));
    }
    for (int64_t i = 0; i < count / 2; ++i)
        std::memcpy(out + 2 * i, &pairs[source[i]], sizeof(pairs[0]));
    if (count % 2)
        out[count - 1] = palette[source[count / 2] >> 4];
}

// 8, 16, 24 and 32 bits take each output channel from one byte of the
// pixel: `bytes` per pixel, red, green and blue at the given offsets (grey
// depths give all three the same offset).
struct ByteLayout {
    int64_t bytes;
    int red, green, blue;
};

template <ByteLayout L>
void gather(const uint8_t* source, uint32_t* out, int64_t from, int64_t count)
{
    for (int64_t i = from; i < count; ++i) {
        const uint8_t* p = source + L.bytes * i;
        out[i] = opaque | uint32_t{p[L.red]} << 16 | uint32_t{p[L.green]} << 8 | p[L.blue];
    }
}

#if defined(__x86_64__) || defined(__i386__)
// The compiler cannot vectorise the 3-byte stride of 24 bits for plain
// x86-64 (no byte shuffle before SSSE3), and its code for the other strides
// is no better than scalar. One byte shuffle per four pixels is: it reads 16
// bytes and places every channel byte at once, alpha comes from an OR.
template <ByteLayout L>
__attribute__((target("ssse3"))) int64_t gatherssse3(const uint8_t* source, uint32_t* out,
                                                      int64_t count)
{
    alignas(16) int8_t order[16];
    for (int k = 0; k < 4; ++k) {  // output bytes in memory: blue, green, red, alpha
        order[4 * k + 0] = static_cast<int8_t>(L.bytes * k + L.blue);
        order[4 * k + 1] = static_cast<int8_t>(L.bytes * k + L.green);
        order[4 * k + 2] = static_cast<int8_t>(L.bytes * k + L.red);
        order[4 * k + 3] = -1;  // a set top bit gives 0
    }
    const __m128i shuffle = _mm_load_si128(reinterpret_cast<const __m128i*>(order));
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(opaque));
    int64_t i = 0;
    // Each step reads 16 bytes, which must all lie within the block.
    for (; L.bytes * i + 16 <= L.bytes * count; i += 4) {
        const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + L.bytes * i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_shuffle_epi8(in, shuffle), alpha));
    }
    return i;
}

template <ByteLayout L>
void convertbytes(const uint8_t* source, uint32_t* out, int64_t count)
{
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    const int64_t done = shuffles ? gatherssse3<L>(source, out, count) : 0;
    gather<L>(source, out, done, count);
}
#else
template <ByteLayout L>
void convertbytes(const uint8_t* source, uint32_t* out, int64_t count)
{
    gather<L>(source, out, 0, count);
}
#endif

constexpr ByteLayout grey8{1, 0, 0, 0};
constexpr ByteLayout grey16{2, 1, 1, 1};  // the first byte is not shown
constexpr ByteLayout rgb24{3, 0, 1, 2};
constexpr ByteLayout rgb32{4, 1, 2, 3};   // the first byte is never alpha

using Converter = void (*)(const uint8_t*, uint32_t*, int64_t);

Converter converter(int64_t depth)
{
    switch (depth) {
    case 1: return convert1;
    case 4: return convert4;
    case 8: return convertbytes<grey8>;
    case 16: return convertbytes<grey16>;
    case 24: return convertbytes<rgb24>;
    case 32: return convertbytes<rgb32>;
    default: return nullptr;
    }
}

// What the conversion reads of the record, read once so that a change of
// the layout during a conversion cannot mix two layouts in one image.
struct Layout {
    bool initialized;
    bool visible;
    int64_t depth;
    int64_t width;
    int64_t height;
    int64_t start;
};

Layout readlayout(const t_Window& w)
{
    return {w.Initialized, w.Visible, w.BitDepth, w.Width, w.Height, w.MemoryStart};
}

// True when the whole pixel block lies in video memory. The set-up
// guarantees it; checking costs nothing and keeps a record changed by hand
// from reading beyond the array.
bool blockinside(const Layout& l)
{
    constexpr int64_t limit = videomemorysize * 8;  // keeps the products below in range
    if (l.start < 0 || l.width > limit || l.height > limit)
        return false;
    return l.start + (l.width * l.height * l.depth + 7) / 8 <= videomemorysize;
}

void stamp(t_Window& w, int64_t startus)
{
    w.UpdateDuration = absolute_us() - startus;
    w.UpdateFinished = absolute_ms();
}

// The checks every conversion makes first, with their lines and stamps:
// answers false when there is nothing to convert.
bool convertible(uint8_t window, Layout& l, Converter& convert, int64_t& startus)
{
    if (!memoryready)
        return false;
    if (window >= graphicwindowcount) {
        notgraphic("t_WindowImage");
        return false;
    }
    t_Window& w = windowtable[window];
    l = readlayout(w);
    if (!l.initialized) {
        diag_line("t_WindowImage: Graphic window #" + std::to_string(window) + " not initialized.");
        return false;
    }
    if (!l.visible)
        return false;
    startus = absolute_us();
    convert = converter(l.depth);
    if (!convert) {
        for (int64_t i = 0; i < l.width * l.height; ++i)
            diag_line("t_WindowImage: Illegal bit depth.");
        stamp(w, startus);
        return false;
    }
    if (l.width <= 0 || l.height <= 0 || !blockinside(l)) {
        stamp(w, startus);  // an empty image is no image
        return false;
    }
    return true;
}

std::shared_ptr<WindowImage> newimage(const Layout& l)
{
    try {
        auto image = std::make_shared<WindowImage>();
        image->Pixels.resize(static_cast<size_t>(l.width * l.height));
        image->Width = l.width;
        image->Height = l.height;
        image->BitDepth = l.depth;
        image->MemoryStart = l.start;
        return image;
    } catch (const std::bad_alloc&) {
        diag_line("t_WindowImage: Data could not be collected, image could not be created.");
        return nullptr;
    }
}

// Rows first..last of the block into the same rows of the image. A row of
// a 1-bit or 4-bit window is a whole number of bytes (the set-up rounds
// the width), so rows convert apart from each other.
void convertrows(const Layout& l, Converter convert, WindowImage& image, int64_t first, int64_t last)
{
    const int64_t rowbytes = l.width * l.depth / 8;
    const RacyVideoRead racy;
    convert(videomemory + l.start + first * rowbytes, image.Pixels.data() + first * l.width + SPRECHO_PLANTED_OVERRUN,
            (last - first + 1) * l.width);
}

bool samelayout(const WindowImage& image, const Layout& l)
{
    return image.Width == l.width && image.Height == l.height && image.BitDepth == l.depth &&
           image.MemoryStart == l.start && l.width * l.depth % 8 == 0;
}

}  // namespace

void RowSet::add(int64_t first, int64_t last)
{
    first = std::max<int64_t>(first, 0);
    last = std::min(last, maxrows - 1);
    if (last < first)
        return;
    if (int64_t(Words.size()) * 64 <= last)
        Words.resize(size_t(last / 64 + 1));
    for (int64_t row = first; row <= last; ++row)
        Words[size_t(row / 64)] |= uint64_t{1} << (row % 64);
}

RowSet& RowSet::operator|=(const RowSet& other)
{
    if (Words.size() < other.Words.size())
        Words.resize(other.Words.size());
    for (size_t i = 0; i < other.Words.size(); ++i)
        Words[i] |= other.Words[i];
    return *this;
}

bool RowSet::empty() const
{
    return std::all_of(Words.begin(), Words.end(), [](uint64_t word) { return word == 0; });
}

bool RowSet::operator==(const RowSet& other) const
{
    const size_t common = std::min(Words.size(), other.Words.size());
    const auto zero = [](uint64_t word) { return word == 0; };
    return std::equal(Words.begin(), Words.begin() + common, other.Words.begin()) &&
           std::all_of(Words.begin() + common, Words.end(), zero) &&
           std::all_of(other.Words.begin() + common, other.Words.end(), zero);
}

std::shared_ptr<WindowImage> t_WindowImage(uint8_t window)
{
    Layout l;
    Converter convert = nullptr;
    int64_t startus = 0;
    if (!convertible(window, l, convert, startus))
        return nullptr;
    std::shared_ptr<WindowImage> image = newimage(l);
    if (!image)
        return nullptr;
    convertrows(l, convert, *image, 0, l.height - 1);
    stamp(windowtable[window], startus);
    return image;
}

bool t_WindowImageRows(uint8_t window, std::shared_ptr<WindowImage>& image, const RowSet& rows)
{
    Layout l;
    Converter convert = nullptr;
    int64_t startus = 0;
    if (!convertible(window, l, convert, startus))
        return false;
    if (image && samelayout(*image, l)) {
        rows.eachrun([&](int64_t first, int64_t last) {
            if (first < l.height)
                convertrows(l, convert, *image, first, std::min(last, l.height - 1));
        });
    } else {
        std::shared_ptr<WindowImage> fresh = newimage(l);
        if (!fresh)
            return false;
        convertrows(l, convert, *fresh, 0, l.height - 1);
        image = std::move(fresh);
    }
    stamp(windowtable[window], startus);
    return true;
}
