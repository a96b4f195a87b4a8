// What every fuzz target shares: a reader that takes the fuzzer's bytes as
// arguments (zero once they run out), and the check that stops the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    bool more() const { return pos < size; }
    uint8_t byte() { return pos < size ? data[pos++] : 0; }
    int64_t upto(int64_t n) { return n < 1 ? 0 : byte() % n; }
    // Mostly small values around 0..limit, sometimes an extreme one.
    int64_t number(int64_t limit)
    {
        static constexpr int64_t extremes[] = {
            std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min() + 1,
            std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::max() - 1,
            -1000,  0x7FFFFFFF, int64_t{1} << 40, -(int64_t{1} << 40)};
        const uint8_t b = byte();
        if (b >= 0xF8)
            return extremes[b - 0xF8];
        return b % (limit + 4) - 2;
    }
    // A length byte, then up to that many bytes.
    std::string bytes()
    {
        const size_t n = byte();
        std::string s;
        while (s.size() < n && more())
            s += static_cast<char>(byte());
        return s;
    }
};

// A broken invariant: say which and abort, so the fuzzer keeps the input.
inline void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}
