// Shared by the benchmarks: the baseline a figure is compared against.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

// Fastest of a few plain copies of `bytes` bytes, in seconds: what moving
// the same amount of memory costs at best.
inline double memcpyseconds(size_t bytes)
{
    std::vector<uint8_t> from(bytes, 0x5A), to(bytes);
    double fastest = 1e9;
    for (int run = 0; run < 50; ++run) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        fastest = std::min(fastest, took.count());
    }
    return fastest;
}

// Runs `body` once per iteration and reports its mean time in milliseconds
// ("ms") and as a multiple of copying `bytes` bytes ("x_memcpy").
template <typename Body>
void timedrun(benchmark::State& state, size_t bytes, Body body)
{
    const double baseline = memcpyseconds(bytes);
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        total += took.count();
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["ms"] = mean * 1e3;
    state.counters["x_memcpy"] = mean / baseline;
}

// Brings up the real desktop once per process, offscreen unless
// QT_QPA_PLATFORM says otherwise, for the benchmarks that need it.
void ensuredesktop();
