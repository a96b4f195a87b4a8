// A pixel block that ends with the last byte of video memory, at every
// depth: the bottom-right cell draws its last pixel there and the image
// shows it, and nothing is written past the block or the image. (With the
// overrun that scripts/check plants, each of these tests must fail under
// the address sanitizer.)
#include <gtest/gtest.h>

#include <algorithm>

#include "display/window_image.h"
#include "hand_window.h"
#include "text/glyph.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

class BlockEdge : public testing::TestWithParam<int64_t> {
protected:
    // Window 0 of 2 x 2 cells of 8 x 4 pixels, every glyph fully inked; its
    // pixel block moved to the end of video memory, black.
    void SetUp() override
    {
        t_Font font = handfont(8, 4);
        std::fill(font.Data.begin(), font.Data.end(), 255);
        sethandwindow({.depth = GetParam(), .width = 16, .height = 8}, font);
        t_Window& w = windowtable[0];
        const int64_t size = w.MemoryEnd - w.MemoryStart + 1;
        w.MemoryStart = videomemorysize - size;
        w.MemoryEnd = videomemorysize - 1;
        std::fill(videomemory + w.MemoryStart, videomemory + videomemorysize, 0);
    }
};

TEST_P(BlockEdge, TheLastCellDrawsItsLastPixelInTheLastByte)
{
    t_PrintSymbol(0, 'x', 0xF0, 2, 2);
    EXPECT_EQ(videomemory[videomemorysize - 1], 0xFF);
    const int64_t rowbytes = 16 * GetParam() / 8;
    EXPECT_EQ(videomemory[videomemorysize - rowbytes], 0) << "the first pixel of the last row is another cell's";
}

TEST_P(BlockEdge, TheImageEndsWithTheLastPixel)
{
    const int64_t lastpixel = std::max<int64_t>(GetParam() / 8, 1);  // bytes, for 1 and 4 bits the last byte's pixels
    std::fill(videomemory + videomemorysize - lastpixel, videomemory + videomemorysize, 0xFF);
    const auto image = t_WindowImage(0);
    ASSERT_TRUE(image && image->Pixels.size() == 16 * 8);
    EXPECT_EQ(std::pair(image->Pixels.back(), image->Pixels[16 * 7]), std::pair(0xFFFFFFFFu, 0xFF000000u));
}

INSTANTIATE_TEST_SUITE_P(Depths, BlockEdge, testing::Values(1, 4, 8, 16, 24, 32));

}  // namespace
