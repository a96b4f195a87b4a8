// Decoding AIFF sound files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/platform.h"
#include "util/sound.h"

using namespace std::string_literals;

namespace {

std::string bigendian(uint64_t value, int width)
{
    std::string out;
    for (int i = width - 1; i >= 0; --i)
        out += char(value >> (8 * i));
    return out;
}

// A whole FORM/AIFF file at 44100 Hz (0x400E AC44... as 80-bit extended);
// stereo files get an odd-sized chunk, padded to an even size, before COMM
// and a sample data offset of 4.
std::vector<uint8_t> aiff(uint64_t channels, uint64_t bits, const std::string& data)
{
    const uint64_t frames = data.size() / channels / ((bits + 7) / 8), offset = 4 * (channels - 1);
    std::string body = "AIFF" + (channels > 1 ? "NAME" + bigendian(3, 4) + "abc\0"s : "") + "COMM" + bigendian(18, 4) +
                       bigendian(channels, 2) + bigendian(frames, 4) + bigendian(bits, 2) + bigendian(0x400E, 2) +
                       bigendian(0xAC44000000000000ull, 8) + "SSND" + bigendian(8 + offset + data.size(), 4) +
                       bigendian(offset, 4) + bigendian(0, 4) + std::string(offset, '\xEE') + data;
    body = "FORM" + bigendian(body.size(), 4) + body;
    return {body.begin(), body.end()};
}

}  // namespace

// Every sample width becomes 16 bits by its top bits; sample data starts
// after the SSND offset, and a padded odd chunk before does not shift it.
// Each cut copy is exactly that long, so a read past it is a fault the
// sanitizers see; each overwrite breaks one field of a good file. The
// bundled bell decodes.
TEST(Aiff, DecodesEverySampleWidthAndRejectsBadFiles)
{
    const std::tuple<int, int, std::string, std::vector<int16_t>> rows[] = {  // channels, bits, data, samples
        {1, 8, "\x7F\x80", {0x7F00, -0x8000}}, {1, 12, "\x12\x30\x80\0"s, {0x1230, -0x8000}},
        {1, 24, "\x12\x34\x56\x80\0\x01"s, {0x1234, -0x8000}}, {1, 32, "\x7F\xFF\0\0\xFF\xFF\xFF\xFF"s, {0x7FFF, -1}},
        {2, 16, "\0\x01\xFF\xFE\0\x03\0\x04"s, {1, -2, 3, 4}},
    };
    AiffSound sound;
    for (const auto& [channels, bits, data, samples] : rows) {
        EXPECT_TRUE(decodeaiff(aiff(channels, bits, data), sound)) << bits;
        EXPECT_EQ(std::tuple(sound.channels, sound.rate, sound.samples), std::tuple(channels, 44100, samples)) << bits;
    }
    const std::vector<uint8_t> good = aiff(1, 16, "\0\x01\0\x02"s);
    ASSERT_TRUE(decodeaiff(good, sound));
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(decodeaiff(std::vector<uint8_t>(good.begin(), good.begin() + long(size)), sound)) << size;
    const std::tuple<const char*, size_t, std::string> bad[] = {  // what, at, bytes
        {"not a FORM", 0, "X"}, {"AIFC", 11, "C"}, {"no COMM", 12, "X"}, {"COMM too long", 19, "\xFF"},
        {"no channels", 21, "\0"s}, {"33 bits", 27, "\x21"}, {"frames past the data", 25, "\x09"}, {"no SSND", 38, "X"},
        {"rate of zero", 28, std::string(10, '\0')}, {"SSND offset beyond the data", 49, "\xFF"},
    };
    for (const auto& [what, at, bytes] : bad) {
        std::vector<uint8_t> file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + long(at));
        EXPECT_FALSE(decodeaiff(file, sound)) << what;
    }
    std::ifstream bell(platform::resource_directory() + "/sysbeep.aif", std::ios::binary);  // 0.15 s
    ASSERT_TRUE(decodeaiff({std::istreambuf_iterator<char>(bell), std::istreambuf_iterator<char>()}, sound));
    EXPECT_EQ(std::tuple(sound.channels, sound.rate, sound.samples.size()), std::tuple(1, 44100, 6615ul));
}
