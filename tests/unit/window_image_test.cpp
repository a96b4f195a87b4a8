#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "display/window_image.h"
#include "display/window_refresh.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t blockstart = 0x100000;

class Image : public ::testing::Test {
protected:
    void SetUp() override { memoryready = true; }

    // A visible window 2 of the given layout whose pixel block holds `bytes`.
    void setwindow(int64_t depth, int64_t width, int64_t height, const std::vector<uint8_t>& bytes)
    {
        t_Window& w = windowtable[2];
        w.Initialized = true;
        w.Visible = true;
        w.BitDepth = depth;
        w.Width = width;
        w.Height = height;
        w.MemoryStart = blockstart;
        w.MemoryEnd = blockstart + static_cast<int64_t>(bytes.size()) - 1;
        if (!bytes.empty())
            std::copy(bytes.begin(), bytes.end(), videomemory + blockstart);
    }
};

// The pixel formats, one row per depth: bytes in video memory and the
// pixels they must show.
TEST_F(Image, EachDepthShowsItsPixels)
{
    struct Row {
        int64_t depth;
        int64_t width;
        std::vector<uint8_t> bytes;
        std::vector<uint32_t> pixels;
    };
    const Row rows[] = {
        // Most significant bit leftmost: set is palette 15, clear palette 0.
        {1, 16, {0x80, 0x01},
         {0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
          0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
          0xFF000000, 0xFFFFFFFF}},
        // High nibble first, each a palette entry.
        {4, 4, {0x1F, 0xA5}, {0xFFFF0000, 0xFFFFFFFF, 0xFFA8A8A8, 0xFF545454}},
        {8, 3, {0x00, 0x80, 0xFF}, {0xFF000000, 0xFF808080, 0xFFFFFFFF}},
        // Only the second byte of a pixel counts.
        {16, 2, {0x00, 0x80, 0xAB, 0x11}, {0xFF808080, 0xFF111111}},
        {24, 2, {0x11, 0x22, 0x33, 0xFE, 0xDC, 0xBA}, {0xFF112233, 0xFFFEDCBA}},
        // The first byte is never alpha.
        {32, 2, {0x00, 0x11, 0x22, 0x33, 0x7F, 0x44, 0x55, 0x66}, {0xFF112233, 0xFF445566}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("depth " + std::to_string(row.depth));
        setwindow(row.depth, row.width, 1, row.bytes);
        const auto image = t_WindowImage(2);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Width, row.width);
        EXPECT_EQ(image->Height, 1);
        EXPECT_EQ(std::vector<uint32_t>(image->Pixels.begin(), image->Pixels.end()), row.pixels);
    }
}

TEST_F(Image, FourBitsShowEverySixteenPaletteEntries)
{
    setwindow(4, 16, 1, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF});
    const auto image = t_WindowImage(2);
    ASSERT_TRUE(image);
    for (unsigned n = 0; n < 16; ++n) {
        const t_RGBColor c = palettecolor(n);
        EXPECT_EQ(image->Pixels[n], 0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue) << n;
    }
}

// Whole blocks of random bytes, in sizes whose pixel counts leave every
// remainder for the vector paths, against a pixel-by-pixel reading.
TEST_F(Image, WholeBlocksMatchPixelByPixelReading)
{
    std::mt19937 random(7);
    const int64_t depths[] = {1, 4, 8, 16, 24, 32};
    const std::pair<int64_t, int64_t> sizes[] = {{8, 1}, {8, 3}, {24, 5}, {40, 7}, {1280, 3}};
    for (const int64_t depth : depths) {
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(std::to_string(depth) + " bits, " + std::to_string(width) + " x " +
                         std::to_string(height));
            std::vector<uint8_t> bytes(static_cast<size_t>(width * height * depth / 8));
            for (uint8_t& b : bytes)
                b = static_cast<uint8_t>(random());
            setwindow(depth, width, height, bytes);
            const auto image = t_WindowImage(2);
            ASSERT_TRUE(image);
            for (int64_t p = 0; p < width * height; ++p) {
                uint32_t expected = 0;
                const int64_t c = p % width;
                if (depth == 1) {
                    expected = (bytes[p / 8] >> (7 - c % 8)) & 1 ? 0xFFFFFFFF : 0xFF000000;
                } else if (depth == 4) {
                    const t_RGBColor e = palettecolor(c % 2 ? bytes[p / 2] & 15 : bytes[p / 2] >> 4);
                    expected = 0xFF000000u | e.Red << 16 | e.Green << 8 | e.Blue;
                } else if (depth <= 16) {
                    expected = 0xFF000000u | bytes[p * depth / 8 + depth / 8 - 1] * 0x010101u;
                } else {
                    const uint8_t* px = &bytes[p * depth / 8 + (depth == 32)];
                    expected = 0xFF000000u | px[0] << 16 | px[1] << 8 | px[2];
                }
                ASSERT_EQ(image->Pixels[p], expected) << "pixel " << p;
            }
        }
    }
}

TEST_F(Image, StampsDurationAndFinishTime)
{
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    const int64_t before = absolute_ms();
    ASSERT_TRUE(t_WindowImage(2));
    const int64_t after = absolute_ms();
    EXPECT_GE(windowtable[2].UpdateFinished, before);
    EXPECT_LE(windowtable[2].UpdateFinished, after);
    EXPECT_GE(windowtable[2].UpdateDuration, 0);
    EXPECT_LE(windowtable[2].UpdateDuration, (after - before + 1) * 1000);
}

TEST_F(Image, NoImageWithoutMessageBeforeMemoryOrWhenHidden)
{
    DiagCapture out;
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    windowtable[2].Visible = false;
    EXPECT_FALSE(t_WindowImage(2));
    windowtable[2].Visible = true;
    memoryready = false;
    EXPECT_FALSE(t_WindowImage(2));
    EXPECT_EQ(out.text(), "");
    EXPECT_EQ(windowtable[2].UpdateFinished, 0);
}

TEST_F(Image, WindowNotSetUpIsReported)
{
    DiagCapture out;
    EXPECT_FALSE(t_WindowImage(3));
    EXPECT_FALSE(t_WindowImage(8));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t_WindowImage: Graphic window #3 not initialized.",
                                                     "t_WindowImage: Window is not a graphic window."}));
}

TEST_F(Image, EmptyWindowGivesNoImageButIsStamped)
{
    setwindow(24, 2, 0, {});
    const int64_t before = absolute_ms();
    EXPECT_FALSE(t_WindowImage(2));
    EXPECT_GE(windowtable[2].UpdateFinished, before);
}

TEST_F(Image, IllegalDepthIsReportedForEveryPixel)
{
    DiagCapture out;
    setwindow(12, 2, 2, {0, 0, 0, 0, 0, 0});
    const int64_t before = absolute_ms();
    EXPECT_FALSE(t_WindowImage(2));
    EXPECT_EQ(out.lines(), std::vector<std::string>(4, "t_WindowImage: Illegal bit depth."));
    EXPECT_GE(windowtable[2].UpdateFinished, before);
}

TEST_F(Image, BlockReachingBeyondVideoMemoryIsNotRead)
{
    setwindow(32, 8, 1, std::vector<uint8_t>(32));
    windowtable[2].MemoryStart = videomemorysize - 16;
    EXPECT_FALSE(t_WindowImage(2));
    windowtable[2].MemoryStart = -4;
    EXPECT_FALSE(t_WindowImage(2));
}

// ---- The views' drawing pass --------------------------------------------------

TEST_F(Image, ViewZeroHoldsVerticalBlankFalseWhileItDraws)
{
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    windowtable[0] = windowtable[2];
    const auto image = viewbegindraw(0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixels[0], 0xFF010203u);
    EXPECT_FALSE(windowtable[0].VerticalBlank);
    viewenddraw(0);
    EXPECT_TRUE(windowtable[0].VerticalBlank);

    // Other views leave their window's flag alone.
    windowtable[2].VerticalBlank = true;
    EXPECT_TRUE(viewbegindraw(2));
    EXPECT_TRUE(windowtable[2].VerticalBlank);
    windowtable[2].VerticalBlank = false;
    viewenddraw(2);
    EXPECT_FALSE(windowtable[2].VerticalBlank);
}

TEST_F(Image, ViewsDrawNothingBeforeTheMemoryIsReady)
{
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    windowtable[0] = windowtable[2];
    memoryready = false;
    EXPECT_FALSE(viewbegindraw(0));
    EXPECT_TRUE(windowtable[0].VerticalBlank);
    EXPECT_FALSE(viewwantsupdatelayer(0));
}

TEST_F(Image, LayerPathOnlyForSetUpQuickWindows)
{
    setwindow(24, 2, 1, {1, 2, 3, 4, 5, 6});
    windowtable[2].QuickUpdate = true;
    EXPECT_TRUE(viewwantsupdatelayer(2));
    windowtable[2].QuickUpdate = false;
    EXPECT_FALSE(viewwantsupdatelayer(2));
    EXPECT_FALSE(viewwantsupdatelayer(5));  // not set up
    EXPECT_FALSE(viewwantsupdatelayer(8));
}

// ---- Refresh operations without a desktop --------------------------------------

TEST(Refresh, ThreadEndsAtOnceBeforeTheMemoryIsReady)
{
    DiagCapture out;
    memoryready = false;
    t_WindowAutoUpdateProcess();
    EXPECT_FALSE(refreshrunning);
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t_WindowAutoUpdateProcess: Start.",
                                                     "t_WindowAutoUpdateProcess: End."}));
}

TEST(Refresh, UpdateOfANumberAboveSevenIsRefused)
{
    DiagCapture out;
    memoryready = false;
    t_WindowUpdate(8, true);  // silent before the memory is ready
    memoryready = true;
    t_WindowUpdate(8, true);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"t_WindowUpdate: Window is not a graphic window."}));
}

}  // namespace
