#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "display/window_image.h"
#include "hand_window.h"
#include "display/window_refresh.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

// A visible window 2 of the given layout whose pixel block holds `bytes`.
void setwindow(int64_t depth, int64_t width, int64_t height, const std::vector<uint8_t>& bytes)
{
    sethandwindow({.number = 2, .depth = depth, .width = width, .height = height}, handfont(1, 1));
    std::copy(bytes.begin(), bytes.end(), videomemory + windowtable[2].MemoryStart);
}

// One row per depth: bytes in video memory and the pixels they must show.
// 1 bit: most significant bit leftmost, set is palette 15; 4 bits: high
// nibble first; 16 bits: only the second byte counts; 32: the first is no alpha.
TEST(Image, EachDepthShowsItsPixels)
{
    constexpr uint32_t k = 0xFF000000, w = 0xFFFFFFFF;
    const std::tuple<int64_t, std::vector<uint8_t>, std::vector<uint32_t>> rows[] = {
        {1, {0x80, 0x01}, {w, k, k, k, k, k, k, k, k, k, k, k, k, k, k, w}},
        {4, {0x1F, 0xA5}, {0xFFFF0000, w, 0xFFA8A8A8, 0xFF545454}},
        {4, {0x1F, 0xA5}, {0xFFFF0000, w, 0xFFA8A8A8}},  // an odd width set by hand ends in a high nibble
        {8, {0x00, 0x80, 0xFF}, {k, 0xFF808080, w}},
        {16, {0x00, 0x80, 0xAB, 0x11}, {0xFF808080, 0xFF111111}},
        {24, {0x11, 0x22, 0x33, 0xFE, 0xDC, 0xBA}, {0xFF112233, 0xFFFEDCBA}},
        {32, {0x00, 0x11, 0x22, 0x33, 0x7F, 0x44, 0x55, 0x66}, {0xFF112233, 0xFF445566}},
    };
    for (const auto& [depth, bytes, pixels] : rows) {
        setwindow(depth, static_cast<int64_t>(pixels.size()), 1, bytes);
        const auto image = t_WindowImage(2);
        ASSERT_TRUE(image) << depth;
        EXPECT_EQ(std::make_pair(image->Width, image->Height), std::make_pair(int64_t(pixels.size()), int64_t{1}));
        EXPECT_EQ(std::vector<uint32_t>(image->Pixels.begin(), image->Pixels.end()), pixels) << depth;
    }
}

// Random blocks whose pixel counts leave every remainder for the vector
// paths, against a pixel-by-pixel reading.
TEST(Image, WholeBlocksMatchPixelByPixelReading)
{
    std::mt19937 random(7);
    const std::pair<int64_t, int64_t> sizes[] = {{8, 1}, {8, 3}, {24, 5}, {40, 7}, {1280, 3}};
    for (const int64_t depth : {1, 4, 8, 16, 24, 32}) {
        for (const auto& [width, height] : sizes) {
            std::vector<uint8_t> b(static_cast<size_t>(width * height * depth / 8));
            std::generate(b.begin(), b.end(), [&] { return static_cast<uint8_t>(random()); });
            setwindow(depth, width, height, b);
            const auto image = t_WindowImage(2);
            ASSERT_TRUE(image);
            const auto image4 = [](unsigned n) {
                const t_RGBColor c = palettecolor(n);
                return 0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue;
            };
            for (int64_t p = 0; p < width * height; ++p) {
                const uint8_t* px = &b[p * depth / 8 + depth / 32];  // 32 bits: alpha skipped
                const uint32_t expected =
                    depth == 1    ? (b[p / 8] >> (7 - p % 8) & 1 ? 0xFFFFFFFF : 0xFF000000)
                    : depth == 4  ? image4(p % 2 ? b[p / 2] & 15 : b[p / 2] >> 4)
                    : depth <= 16 ? 0xFF000000u | px[depth / 8 - 1] * 0x010101u
                                  : 0xFF000000u | px[0] << 16 | px[1] << 8 | px[2];
                ASSERT_EQ(image->Pixels[p], expected)
                    << depth << " bits, " << width << " x " << height << ", pixel " << p;
            }
        }
    }
}

// The row form converts the rows asked for and keeps the others as they
// were converted; an image of another block is made afresh from every row.
TEST(Image, RowFormConvertsOnlyTheRowsAskedFor)
{
    for (const int64_t depth : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(depth);
        const int64_t width = 16, height = 4, rowbytes = width * depth / 8;
        std::vector<uint8_t> bytes(static_cast<size_t>(rowbytes * height));
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<uint8_t>(i * 37);
        setwindow(depth, width, height, bytes);
        std::shared_ptr<WindowImage> kept;
        ASSERT_TRUE(t_WindowImageRows(2, kept, RowSet{}));
        const WindowImage before = *kept;
        for (const int64_t row : {1, 3})
            for (int64_t i = 0; i < rowbytes; ++i)
                videomemory[windowtable[2].MemoryStart + row * rowbytes + i] ^= 0x5A;
        const auto after = t_WindowImage(2);
        RowSet one;
        one.add(1, 1);
        ASSERT_TRUE(t_WindowImageRows(2, kept, one));
        for (int64_t row = 0; row < height; ++row) {
            const auto& expected = row == 1 ? after->Pixels : before.Pixels;
            EXPECT_TRUE(std::equal(expected.begin() + row * width, expected.begin() + (row + 1) * width,
                                   kept->Pixels.begin() + row * width))
                << "row " << row;
        }
        std::copy_n(videomemory + windowtable[2].MemoryStart, bytes.size(), videomemory + 0x300000);
        windowtable[2].MemoryStart = 0x300000;
        ASSERT_TRUE(t_WindowImageRows(2, kept, RowSet{}));
        EXPECT_TRUE(kept->Pixels == after->Pixels) << "a moved block is converted whole";
    }
}

// No image: silently while hidden or before the memory is ready, with a
// line for windows not set up and, per pixel, for an illegal depth. Failed
// drawings are still stamped; blocks beyond video memory are not read.
TEST(Image, FailuresGiveNoImage)
{
    DiagCapture out;
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    windowtable[2].Visible = false;
    EXPECT_FALSE(t_WindowImage(2));
    windowtable[2].Visible = true;
    memoryready = false;
    EXPECT_FALSE(t_WindowImage(2));
    memoryready = true;
    EXPECT_FALSE(t_WindowImage(3));
    EXPECT_FALSE(t_WindowImage(8));
    const int64_t before = absolute_ms();
    setwindow(12, 2, 2, {0, 0, 0, 0, 0, 0});
    EXPECT_FALSE(t_WindowImage(2));
    EXPECT_EQ(out.lines(), (Lines{"t_WindowImage: Graphic window #3 not initialized.",
                                  "t_WindowImage: Window is not a graphic window.",
                                  "t_WindowImage: Illegal bit depth.", "t_WindowImage: Illegal bit depth.",
                                  "t_WindowImage: Illegal bit depth.", "t_WindowImage: Illegal bit depth."}));
    EXPECT_GE(windowtable[2].UpdateFinished, before);
    setwindow(32, 8, 1, std::vector<uint8_t>(32));
    for (const int64_t start : {videomemorysize - 16, int64_t{-4}}) {
        windowtable[2].MemoryStart = start;
        EXPECT_FALSE(t_WindowImage(2)) << start;
    }
}

// View 0 holds VerticalBlank false while it draws (the refresh thread marks
// no window meanwhile); other views leave their window's flag alone, and
// nothing draws before the memory is ready.
TEST(Image, ViewZeroHoldsVerticalBlankFalseWhileItDraws)
{
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    windowtable[0] = windowtable[2];
    const auto image = viewbegindraw(0);
    EXPECT_TRUE(image && image->Pixels[0] == 0xFF010203u && !windowtable[0].VerticalBlank);
    viewenddraw(0);
    EXPECT_TRUE(windowtable[0].VerticalBlank);
    windowtable[2].VerticalBlank = false;
    EXPECT_TRUE(viewbegindraw(2));
    viewenddraw(2);
    EXPECT_FALSE(windowtable[2].VerticalBlank);

    memoryready = false;
    EXPECT_FALSE(viewbegindraw(0));
    EXPECT_TRUE(windowtable[0].VerticalBlank);
}

// Without video memory the refresh thread has nothing to mark and ends.
TEST(Refresh, ThreadEndsAtOnceBeforeTheMemoryIsReady)
{
    DiagCapture out;
    memoryready = false;
    t_WindowAutoUpdateProcess();
    EXPECT_FALSE(refreshrunning);
    EXPECT_EQ(out.lines(), (Lines{"t_WindowAutoUpdateProcess: Start.", "t_WindowAutoUpdateProcess: End."}));
}

}  // namespace
