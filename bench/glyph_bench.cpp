// Drawing a whole screen of glyphs: the program's 80 x 25 cells of the
// 16 x 32 bold font, at each bit depth. "x_memcpy" compares a screen with
// copying the bytes of its pixel block once; the target at 24 bits is well
// under 2 ms.
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench_support.h"
#include "text/glyph.h"
#include "windows/font_file.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t columns = 80;
constexpr int64_t lines = 25;

// Window 0 set up by hand as the program's window at `depth`, with the
// generated font (so the timing includes real glyph shapes).
int64_t setupscreen(int64_t depth)
{
    const t_Font font = t_LoadFontResource("MenloBold 16x32.font");
    memoryready = true;
    t_Window& w = windowtable[0];
    w.Initialized = true;
    w.BitDepth = depth;
    w.Width = columns * 16;
    w.Height = lines * 32;
    const int64_t bytes = w.Width * w.Height * depth / 8;
    w.MemoryEnd = 0xFFFFFF;
    w.MemoryStart = 0x1000000 - bytes;
    w.Font = font;
    w.TextWidth = columns;
    w.TextHeight = lines;
    w.TextMemoryStart = w.MemoryStart - 4096;
    w.TextMemoryEnd = w.MemoryStart - 1;
    std::memset(videomemory + w.MemoryStart, 0, static_cast<size_t>(bytes));
    return bytes;
}

void drawscreen(uint8_t colour)
{
    for (int64_t y = 1; y <= lines; ++y)
        for (int64_t x = 1; x <= columns; ++x)
            t_PrintSymbol(0, static_cast<uint8_t>('!' + (x + y) % 94), colour, x, y);
}

void BM_PrintSymbolFullScreen(benchmark::State& state)
{
    const int64_t bytes = setupscreen(state.range(0));
    if (windowtable[0].Font.Data.empty()) {
        state.SkipWithError("font resource missing");
        return;
    }
    timedrun(state, static_cast<size_t>(bytes), [] { drawscreen(0xC0); });
}

// Ink and paper change with every cell, as in a screen of coloured text:
// the blend table is rebuilt for each cell.
void BM_PrintSymbolChangingColours(benchmark::State& state)
{
    const int64_t bytes = setupscreen(24);
    timedrun(state, static_cast<size_t>(bytes), [] {
        for (int64_t y = 1; y <= lines; ++y)
            for (int64_t x = 1; x <= columns; ++x)
                t_PrintSymbol(0, 'A', static_cast<uint8_t>((x % 2 == 0) ? 0xC0 : 0x1E), x, y);
    });
}

}  // namespace

BENCHMARK(BM_PrintSymbolFullScreen)->Arg(24)->Arg(32)->Arg(16)->Arg(8)->Arg(4)->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintSymbolChangingColours)->Unit(benchmark::kMillisecond);
