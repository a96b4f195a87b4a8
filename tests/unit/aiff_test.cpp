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

// A whole FORM/AIFF file at 44100 Hz (0x400E AC44... as 80-bit extended),
// optionally with an odd-sized chunk, padded to an even size, before COMM.
std::vector<uint8_t> aiff(uint64_t channels, uint64_t bits, const std::string& data, uint64_t offset = 0,
                          bool oddchunk = false)
{
    const uint64_t frames = data.size() / channels / ((bits + 7) / 8);
    std::string body = "AIFF" + (oddchunk ? "NAME" + bigendian(3, 4) + "abc\0"s : "") + "COMM" + bigendian(18, 4) +
                       bigendian(channels, 2) + bigendian(frames, 4) + bigendian(bits, 2) + bigendian(0x400E, 2) +
                       bigendian(0xAC44000000000000ull, 8) + "SSND" + bigendian(8 + offset + data.size(), 4) +
                       bigendian(offset, 4) + bigendian(0, 4) + std::string(offset, '\xEE') + data;
    body = "FORM" + bigendian(body.size(), 4) + body;
    return {body.begin(), body.end()};
}

}  // namespace

// Every sample width becomes 16 bits by its top bits; sample data starts
// after the SSND offset, and a padded odd chunk before does not shift it.
TEST(Aiff, SampleWidthsChannelsAndOffsets)
{
    const std::tuple<int, int, std::string, std::vector<int16_t>> rows[] = {  // channels, bits, data, samples
        {1, 8, "\x7F\x80", {0x7F00, -0x8000}}, {1, 16, "\x12\x34\xFF\xFE", {0x1234, -2}},
        {1, 12, "\x12\x30\x80\0"s, {0x1230, -0x8000}}, {1, 24, "\x12\x34\x56\x80\0\x01"s, {0x1234, -0x8000}},
        {1, 32, "\x7F\xFF\0\0\xFF\xFF\xFF\xFF"s, {0x7FFF, -1}}, {2, 16, "\0\x01\0\x02\0\x03\0\x04"s, {1, 2, 3, 4}},
    };
    for (const auto& [channels, bits, data, samples] : rows) {
        AiffSound sound;
        ASSERT_TRUE(decodeaiff(aiff(channels, bits, data, 4 * (channels - 1), channels == 2), sound)) << bits;
        EXPECT_EQ(sound.channels, channels);
        EXPECT_EQ(sound.rate, 44100);
        EXPECT_EQ(sound.samples, samples) << bits << " bits";
    }
}

// Each cut copy is exactly that long, so a read past it is a fault the
// sanitizers see; each overwrite breaks one field of a good file.
TEST(Aiff, TruncatedAndMalformedFilesAreRejected)
{
    const std::vector<uint8_t> good = aiff(1, 16, "\0\x01\0\x02"s);
    AiffSound sound;
    ASSERT_TRUE(decodeaiff(good, sound));
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(decodeaiff(std::vector<uint8_t>(good.begin(), good.begin() + long(size)), sound)) << size;
    const std::tuple<const char*, size_t, std::string> rows[] = {  // what, at, bytes
        {"not a FORM", 0, "X"}, {"AIFC is not plain AIFF", 11, "C"}, {"no COMM", 12, "X"},
        {"COMM claims more than there is", 19, "\xFF"}, {"no channels", 21, "\0"s}, {"33 bits", 27, "\x21"},
        {"frames beyond the data", 25, "\x09"}, {"rate of zero", 28, std::string(10, '\0')}, {"no SSND", 38, "X"},
        {"SSND offset beyond the data", 49, "\xFF"},
    };
    for (const auto& [what, at, bytes] : rows) {
        std::vector<uint8_t> file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + long(at));
        EXPECT_FALSE(decodeaiff(file, sound)) << what;
    }
}

TEST(Aiff, TheBellSoundOfTheBundleDecodes)
{
    std::ifstream file(platform::resource_directory() + "/sysbeep.aif", std::ios::binary);
    ASSERT_TRUE(file) << "the build makes share/sprecho/sysbeep.aif";
    AiffSound sound;
    ASSERT_TRUE(decodeaiff({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()}, sound));
    EXPECT_EQ(std::tuple(sound.channels, sound.rate, sound.samples.size()), std::tuple(1, 44100, 6615ul));  // 0.15 s
    EXPECT_EQ(sound.samples.back(), 0) << "ends in silence, without a click";
    const auto [low, high] = std::minmax_element(sound.samples.begin(), sound.samples.end());
    EXPECT_GT(std::max(-*low, int(*high)), 8000);
    EXPECT_TRUE(*low > -32768 && *high < 32767) << "not clipped";
}
