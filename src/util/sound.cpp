#include "util/sound.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/platform.h"
#include "util/bytes.h"

namespace {

// The 80-bit IEEE extended float AIFF keeps its sample rate in: sign and
// 15-bit exponent, then a 64-bit mantissa with an explicit integer bit.
double extended(const uint8_t* p)
{
    const int exponent = int(bigendian(p, 2) & 0x7FFF);
    const uint64_t mantissa = bigendian(p + 2, 8);
    if (exponent == 0x7FFF)
        return NAN;
    const double magnitude = std::ldexp(double(mantissa), exponent - 16383 - 63);
    return (p[0] & 0x80) ? -magnitude : magnitude;
}

struct Chunk {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
};

struct Chunks {
    Chunk comm;
    Chunk ssnd;
};

// Walks the chunks of the FORM body; false when one claims more bytes
// than the file has.
bool findchunks(const uint8_t* body, size_t size, Chunks& chunks)
{
    size_t at = 0;
    while (size - at >= 8) {
        const uint8_t* header = body + at;
        const auto length = uint32_t(bigendian(header + 4, 4));
        if (length > size - at - 8)
            return false;
        const Chunk chunk{header + 8, length};
        if (std::memcmp(header, "COMM", 4) == 0)
            chunks.comm = chunk;
        else if (std::memcmp(header, "SSND", 4) == 0)
            chunks.ssnd = chunk;
        at += 8 + size_t(length) + (length & 1);  // chunks are padded to even sizes
    }
    return chunks.comm.data != nullptr && chunks.ssnd.data != nullptr;
}

int16_t samplefrom(const uint8_t* p, int bytes)
{
    // Big-endian signed PCM; the top 16 bits are what is played.
    if (bytes == 1)
        return int16_t(int8_t(p[0]) * 256);
    return int16_t(uint16_t(p[0] << 8 | p[1]));
}

}  // namespace

bool decodeaiff(const std::vector<uint8_t>& bytes, AiffSound& sound)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "FORM", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "AIFF", 4) != 0)
        return false;
    const auto formsize = uint32_t(bigendian(bytes.data() + 4, 4));
    if (formsize < 4 || formsize > bytes.size() - 8)
        return false;
    Chunks chunks;
    if (!findchunks(bytes.data() + 12, formsize - 4, chunks) || chunks.comm.size < 18 ||
        chunks.ssnd.size < 8)
        return false;
    const uint8_t* comm = chunks.comm.data;
    const int channels = int(bigendian(comm, 2));
    const uint64_t frames = bigendian(comm + 2, 4);
    const int bits = int(bigendian(comm + 6, 2));
    const double rate = extended(comm + 8);
    if (channels < 1 || bits < 1 || bits > 32 || !(rate >= 1.0 && rate <= 1e6))
        return false;
    const int width = (bits + 7) / 8;
    const uint64_t offset = bigendian(chunks.ssnd.data, 4);
    const uint64_t available = chunks.ssnd.size - 8;
    const uint64_t needed = frames * uint64_t(channels) * uint64_t(width);
    if (offset > available || needed > available - offset)
        return false;
    const uint8_t* data = chunks.ssnd.data + 8 + offset;
    sound.channels = channels;
    sound.rate = int(std::lround(rate));
    sound.samples.resize(size_t(frames) * size_t(channels));
    for (size_t i = 0; i < sound.samples.size(); ++i)
        sound.samples[i] = samplefrom(data + i * size_t(width), width);
    return true;
}

namespace {

// Loaded once, on first use; an empty sound means there is none.
const AiffSound& bellsound()
{
    static const AiffSound sound = [] {
        AiffSound decoded;
        std::ifstream file(platform::resource_directory() + "/sysbeep.aif", std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
        if (!decodeaiff(bytes, decoded))
            decoded = AiffSound{};
        return decoded;
    }();
    return sound;
}

}  // namespace

void sysbeep()
{
    const AiffSound& sound = bellsound();
    if (!sound.samples.empty() && platform::play_pcm(sound.samples, sound.channels, sound.rate))
        return;
    platform::system_beep();
}
