// Decoding AIFF sound files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/platform.h"
#include "util/sound.h"

namespace {

void puttag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v >> 16);
    put16(out, v & 0xFFFF);
}

// 80-bit extended: 44100 = 0x400E AC44000000000000, 8000 = 0x400B FA00..
void putrate(std::vector<uint8_t>& out, uint16_t exponent, uint64_t mantissa)
{
    put16(out, exponent);
    put32(out, uint32_t(mantissa >> 32));
    put32(out, uint32_t(mantissa));
}

struct Layout {
    int channels = 1;
    int bits = 16;
    uint32_t frames = 0;
    std::vector<uint8_t> data;
    uint32_t offset = 0;
    bool oddchunkfirst = false;
};

std::vector<uint8_t> aiff(const Layout& layout)
{
    std::vector<uint8_t> body;
    puttag(body, "AIFF");
    if (layout.oddchunkfirst) {  // an odd-sized chunk is padded to an even size
        puttag(body, "NAME");
        put32(body, 3);
        puttag(body, "abc");  // and the pad byte
    }
    puttag(body, "COMM");
    put32(body, 18);
    put16(body, uint32_t(layout.channels));
    put32(body, layout.frames);
    put16(body, uint32_t(layout.bits));
    putrate(body, 0x400E, 0xAC44000000000000ull);
    puttag(body, "SSND");
    put32(body, uint32_t(8 + layout.offset + layout.data.size()));
    put32(body, layout.offset);
    put32(body, 0);
    body.insert(body.end(), layout.offset, 0xEE);
    body.insert(body.end(), layout.data.begin(), layout.data.end());
    std::vector<uint8_t> file;
    puttag(file, "FORM");
    put32(file, uint32_t(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace

TEST(Aiff, SampleWidthsBecomeSixteenBits)
{
    struct Row {
        int bits;
        std::vector<uint8_t> data;  // two samples, big-endian
        std::vector<int16_t> samples;
    };
    const Row rows[] = {
        {8, {0x7F, 0x80}, {0x7F00, -0x8000}},
        {16, {0x12, 0x34, 0xFF, 0xFE}, {0x1234, -2}},
        {12, {0x12, 0x30, 0x80, 0x00}, {0x1230, -0x8000}},
        {24, {0x12, 0x34, 0x56, 0x80, 0x00, 0x01}, {0x1234, -0x8000}},
        {32, {0x7F, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, {0x7FFF, -1}},
    };
    for (const Row& row : rows) {
        AiffSound sound;
        ASSERT_TRUE(decodeaiff(aiff({1, row.bits, 2, row.data}), sound)) << row.bits << " bits";
        EXPECT_EQ(sound.channels, 1);
        EXPECT_EQ(sound.rate, 44100);
        EXPECT_EQ(sound.samples, row.samples) << row.bits << " bits";
    }
}

TEST(Aiff, StereoOffsetsAndPaddedChunks)
{
    Layout layout{2, 16, 2, {0, 1, 0, 2, 0, 3, 0, 4}, 4, true};
    AiffSound sound;
    ASSERT_TRUE(decodeaiff(aiff(layout), sound));
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.samples, (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST(Aiff, EveryTruncationIsRejected)
{
    const std::vector<uint8_t> whole = aiff({1, 16, 4, {0, 1, 0, 2, 0, 3, 0, 4}});
    AiffSound sound;
    ASSERT_TRUE(decodeaiff(whole, sound));
    for (size_t size = 0; size < whole.size(); ++size) {
        // A copy of exactly `size` bytes, so a read past it is a fault the
        // sanitizers see.
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(size));
        EXPECT_FALSE(decodeaiff(cut, sound)) << size << " bytes";
    }
}

TEST(Aiff, MalformedFilesAreRejected)
{
    const Layout good{1, 16, 2, {0, 1, 0, 2}};
    struct Row {
        const char* what;
        size_t at;  // byte position in the file built from `good`
        std::vector<uint8_t> bytes;
    };
    const Row rows[] = {
        {"not a FORM", 0, {'X'}},
        {"AIFC is not plain AIFF", 11, {'C'}},
        {"COMM claims more than there is", 19, {0xFF}},
        {"no channels", 21, {0}},
        {"33 bits", 27, {33}},
        {"frames beyond the data", 25, {9}},
        {"rate of zero", 28, std::vector<uint8_t>(10, 0)},
        {"SSND offset beyond the data", 49, {0xFF}},
    };
    for (const Row& row : rows) {
        std::vector<uint8_t> file = aiff(good);
        std::copy(row.bytes.begin(), row.bytes.end(), file.begin() + long(row.at));
        AiffSound sound;
        EXPECT_FALSE(decodeaiff(file, sound)) << row.what;
    }
}

TEST(Aiff, MissingChunksAreRejected)
{
    std::vector<uint8_t> file = aiff({1, 16, 1, {0, 1}});
    AiffSound sound;
    std::vector<uint8_t> nossnd = file;
    std::copy_n("XXXX", 4, nossnd.begin() + 38);
    EXPECT_FALSE(decodeaiff(nossnd, sound));
    std::vector<uint8_t> nocomm = file;
    std::copy_n("XXXX", 4, nocomm.begin() + 12);
    EXPECT_FALSE(decodeaiff(nocomm, sound));
}

TEST(Aiff, TheBellSoundOfTheBundleDecodes)
{
    std::ifstream file(platform::resource_directory() + "/sysbeep.aif", std::ios::binary);
    ASSERT_TRUE(file) << "the build makes share/sprecho/sysbeep.aif";
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    AiffSound sound;
    ASSERT_TRUE(decodeaiff(bytes, sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.rate, 44100);
    EXPECT_EQ(sound.samples.size(), 6615u);  // 0.15 s
    EXPECT_EQ(sound.samples.back(), 0) << "ends in silence, without a click";
    int16_t peak = 0;
    for (const int16_t s : sound.samples)
        peak = std::max<int16_t>(peak, int16_t(std::abs(s)));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767) << "not clipped";
}
