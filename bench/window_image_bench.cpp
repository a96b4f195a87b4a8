// Image conversion of a 1280 x 800 window at every bit depth, against a
// plain memcpy of the 4,096,000 bytes the conversion writes: the column
// "x_memcpy" is the conversion's fastest run divided by the copy's fastest.
// Fastest runs, because the machine is shared and a mean mixes in whatever
// else was running.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "bench_support.h"

#include "display/window_image.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t width = 1280;
constexpr int64_t height = 800;
constexpr size_t outputbytes = width * height * 4;

// The copy's fastest run, measured once for all depths.
double memcpybaseline()
{
    static const double seconds = memcpyseconds(outputbytes);
    return seconds;
}

// A visible window of the given depth whose pixel block sits at the top of
// video memory, filled with varied bytes.
void setupwindow(int64_t depth)
{
    memoryready = true;
    t_Window& w = windowtable[0];
    const int64_t bytes = width * height * depth / 8;
    w.Initialized = true;
    w.Visible = true;
    w.BitDepth = depth;
    w.Width = width;
    w.Height = height;
    w.MemoryStart = 0xFFFFFF - bytes + 1;
    w.MemoryEnd = 0xFFFFFF;
    for (int64_t i = 0; i < bytes; ++i)
        videomemory[w.MemoryStart + i] = static_cast<uint8_t>(i * 2654435761u >> 24);
}

void BM_WindowImage(benchmark::State& state)
{
    setupwindow(state.range(0));
    double fastest = 1e9;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto image = t_WindowImage(0);
        benchmark::DoNotOptimize(image->Pixels.data());
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    state.counters["x_memcpy"] = fastest / memcpybaseline();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * outputbytes);
}

}  // namespace

BENCHMARK(BM_WindowImage)->ArgName("depth")->Arg(1)->Arg(4)->Arg(8)->Arg(16)->Arg(24)->Arg(32)
    ->Unit(benchmark::kMicrosecond);
