// Numbers kept most significant byte first, as the file formats the
// runtime reads store them (AIFF chunks, font headers).
#pragma once

#include <cstddef>
#include <cstdint>

// The unsigned number in the `count` bytes (at most 8) at `p`.
inline uint64_t bigendian(const uint8_t* p, size_t count)
{
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = value << 8 | p[i];
    return value;
}
