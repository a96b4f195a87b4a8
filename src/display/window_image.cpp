#include "display/window_image.h"

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

}  // namespace

std::shared_ptr<WindowImage> t_WindowImage(uint8_t window)
{
    if (!memoryready)
        return nullptr;
    if (window >= graphicwindowcount) {
        notgraphic("t_WindowImage");
        return nullptr;
    }
    t_Window& w = windowtable[window];
    const Layout l = readlayout(w);
    if (!l.initialized) {
        diag_line("t_WindowImage: Graphic window #" + std::to_string(window) + " not initialized.");
        return nullptr;
    }
    if (!l.visible)
        return nullptr;
    const int64_t startus = absolute_us();
    const Converter convert = converter(l.depth);
    if (!convert) {
        for (int64_t i = 0; i < l.width * l.height; ++i)
            diag_line("t_WindowImage: Illegal bit depth.");
        stamp(w, startus);
        return nullptr;
    }
    if (l.width <= 0 || l.height <= 0 || !blockinside(l)) {
        stamp(w, startus);  // an empty image is no image
        return nullptr;
    }
    std::shared_ptr<WindowImage> image;
    try {
        image = std::make_shared<WindowImage>();
        image->Pixels.resize(static_cast<size_t>(l.width * l.height));
    } catch (const std::bad_alloc&) {
        diag_line("t_WindowImage: Data could not be collected, image could not be created.");
        return nullptr;
    }
    image->Width = l.width;
    image->Height = l.height;
    {
        const RacyVideoRead racy;
        convert(videomemory + l.start, image->Pixels.data() + SPRECHO_PLANTED_OVERRUN, l.width * l.height);
    }
    stamp(w, startus);
    return image;
}
