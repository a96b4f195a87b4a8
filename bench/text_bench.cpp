// The text engine on the program's own screen: 80 x 25 cells of 16 x 32
// pixels at 24 bits. A full-width scroll is a block move of the pixel block
// plus the blanking of one line of cells; "x_memmove" is its fastest run
// divided by the fastest plain memmove of the same pixel bytes (fastest
// runs: the machine is shared). Printing a full screen is
// reported in milliseconds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "display/write_tracking.h"
#include "hand_window.h"
#include "text/text_output.h"
#include "windows/font_file.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t columns = 80;
constexpr int64_t lines = 25;
constexpr int64_t fw = 16;
constexpr int64_t fh = 32;
constexpr int64_t width = columns * fw;
constexpr int64_t height = lines * fh;
constexpr int64_t pixelbytes = width * height * 3;
// The bytes a scroll of the whole screen moves: every pixel row but one line.
constexpr size_t movedbytes = static_cast<size_t>(width * (height - fh) * 3);

// Window 0 as the program sets it up. The hand-made font's glyphs have
// every coverage level; blending costs the same for any glyph.
void setupscreen()
{
    static const t_Font font = handfont(fw, fh);
    HandWindow layout;
    layout.width = width;
    layout.height = height;
    sethandwindow(layout, font);
}

double memmoveseconds()
{
    static const double best = [] {
        std::vector<uint8_t> buffer(static_cast<size_t>(pixelbytes), 0x5A);
        const size_t line = static_cast<size_t>(width * fh * 3);
        double fastest = 1e9;
        for (int run = 0; run < 50; ++run) {
            const auto start = std::chrono::steady_clock::now();
            std::memmove(buffer.data(), buffer.data() + line, movedbytes);
            benchmark::ClobberMemory();
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            fastest = std::min(fastest, took.count());
        }
        return fastest;
    }();
    return best;
}

void BM_ScrollUpFullScreen(benchmark::State& state)
{
    setupscreen();
    double fastest = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        t_ScrollUp(0);
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    state.counters["x_memmove"] = fastest / memmoveseconds();
}

// The same scroll right after the refresh has protected every page of the
// window, so that each page the scroll writes faults once first: what page
// tracking costs the program thread at most, once per refresh period (a
// page written on in period after period stays writable for a while).
void BM_ScrollUpFullScreenTracked(benchmark::State& state)
{
    setupscreen();
    if (setchangetracking(ChangeTracking::pages) != ChangeTracking::pages) {
        state.SkipWithError("no page tracking in this build");
        return;
    }
    PageSet watched, written, hot;
    addpages(watched, windowtable[0].MemoryStart, windowtable[0].MemoryStart + pixelbytes - 1);
    double fastest = 1e9;
    for (auto _ : state) {
        setchangetracking(ChangeTracking::pages);  // forgets which pages were written lately
        takewrittenpages(watched, written, hot);
        const auto start = std::chrono::steady_clock::now();
        t_ScrollUp(0);
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    setchangetracking(ChangeTracking::compare);
    state.counters["x_memmove"] = fastest / memmoveseconds();
}

void BM_MemmoveSameBytes(benchmark::State& state)
{
    std::vector<uint8_t> buffer(static_cast<size_t>(pixelbytes), 0x5A);
    const size_t line = static_cast<size_t>(width * fh * 3);
    for (auto _ : state) {
        std::memmove(buffer.data(), buffer.data() + line, movedbytes);
        benchmark::ClobberMemory();
    }
}

// 2,000 characters from the top-left cell: the whole screen, ending with
// one scroll.
void BM_PrintFullScreen(benchmark::State& state)
{
    setupscreen();
    std::string text;
    for (int64_t i = 0; i < columns * lines; ++i)
        text += static_cast<char>('!' + i % 90);
    for (auto _ : state) {
        t_CursorHome(0);
        t_Print(0, text);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_MemmoveSameBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollUpFullScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollUpFullScreenTracked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrintFullScreen)->Unit(benchmark::kMillisecond);
