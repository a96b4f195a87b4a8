// The bell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Plays the bundle's "sysbeep.aif" (loaded once); a sound still playing is
// not restarted; without the sound or an audio device, the desktop's beep.
void sysbeep();

// Decoded AIFF audio: 16-bit frames, interleaved channels.
struct AiffSound {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> samples;
};
// Decodes uncompressed AIFF (8, 16, 24 or 32-bit PCM); false on any fault.
bool decodeaiff(const std::vector<uint8_t>& bytes, AiffSound& sound);
