// Writes the bell sound: a short 880 Hz tone with a soft attack and an
// exponential decay, plus a quieter octave for a bell-like colour. Mono,
// 16-bit PCM AIFF at 44.1 kHz. The output is the same on every run.
//
//   beepgen OUTPUT.aif
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

constexpr int rate = 44100;
constexpr double seconds = 0.15;
constexpr double frequency = 880.0;
constexpr double attack = 0.004;  // seconds: long enough not to click
constexpr double decay = 0.035;   // seconds for the level to fall to 1/e
constexpr double level = 0.45;    // of full scale, leaves room for the octave

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

// 80-bit IEEE extended form of a positive whole number (the sample rate).
void putextended(std::vector<uint8_t>& out, uint32_t value)
{
    int exponent = 16383 + 31;
    uint64_t mantissa = uint64_t(value) << 32;
    while ((mantissa & (uint64_t(1) << 63)) == 0) {
        mantissa <<= 1;
        --exponent;
    }
    put16(out, uint32_t(exponent));
    put32(out, uint32_t(mantissa >> 32));
    put32(out, uint32_t(mantissa));
}

std::vector<int16_t> tone()
{
    const int frames = int(seconds * rate);
    std::vector<int16_t> samples(size_t(frames), 0);
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double rise = t < attack ? std::sin(0.5 * std::numbers::pi * t / attack) : 1.0;
        const double fall = std::exp(-t / decay);
        const double tail = double(frames - 1 - i) / frames;  // reaches 0 exactly at the end
        const double wave = std::sin(2 * std::numbers::pi * frequency * t) +
                            0.3 * std::sin(4 * std::numbers::pi * frequency * t);
        const double value = level * rise * fall * std::min(1.0, tail * 20) * wave;
        samples[size_t(i)] = int16_t(std::lround(value * 32767.0));
    }
    return samples;
}

std::vector<uint8_t> aiff(const std::vector<int16_t>& samples)
{
    const uint32_t datasize = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'F', 'O', 'R', 'M'});
    put32(out, 4 + (8 + 18) + (8 + 8 + datasize));
    out.insert(out.end(), {'A', 'I', 'F', 'F', 'C', 'O', 'M', 'M'});
    put32(out, 18);
    put16(out, 1);                          // channels
    put32(out, uint32_t(samples.size()));  // sample frames
    put16(out, 16);                         // bits per sample
    putextended(out, rate);
    out.insert(out.end(), {'S', 'S', 'N', 'D'});
    put32(out, 8 + datasize);
    put32(out, 0);  // offset
    put32(out, 0);  // block size
    for (const int16_t sample : samples)
        put16(out, uint16_t(sample));
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: beepgen OUTPUT.aif\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = aiff(tone());
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "beepgen: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
