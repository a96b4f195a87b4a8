// The text engine on the program's real screen: window 0 set up as the
// conversation does, with the bundled font, printed to and shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/window_image.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "text/screen_readback.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

constexpr uint32_t black = 0xFF000000;
constexpr uint32_t green = 0xFF00FF00;
constexpr uint32_t yellow = 0xFFFFFF00;

// The pixels of one 16 x 32 cell.
std::vector<uint32_t> cellpixels(const WindowImage& image, int64_t column, int64_t line)
{
    std::vector<uint32_t> pixels;
    for (int64_t y = (line - 1) * 32; y < line * 32; ++y)
        for (int64_t x = (column - 1) * 16; x < column * 16; ++x)
            pixels.push_back(image.Pixels[y * image.Width + x]);
    return pixels;
}

bool holds(const std::vector<uint32_t>& pixels, uint32_t colour)
{
    return std::find(pixels.begin(), pixels.end(), colour) != pixels.end();
}

TEST(TextOnScreen, PrintedLinesShowInTheWindowImage)
{
    ASSERT_TRUE(run_on_program_thread([] {
        t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
        t_WindowVisible(0, true);
        t_Print(0, "Guten Tag!\r");
        t_Color(0, 13);
        t_Print(0, "Gelb\r");
        t_Color(0, 12);
        t_Inverse(0);
        t_Print(0, "Balken");
        t_PrintSpc(0, 14);
        t_Normal(0);
    }));
    ASSERT_TRUE(windowtable[0].Initialized);
    EXPECT_EQ(screen_trimmed(0), "Guten Tag!\nGelb\nBalken\n");
    EXPECT_EQ(t_GetScreen(0, "\r"), "Guten Tag!\rGelb\rBalken");

    const auto image = t_WindowImage(0);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->Width, 1280);
    ASSERT_EQ(image->Height, 800);
    // Every pixel is the one video memory holds.
    const uint8_t* block = videomemory + windowtable[0].MemoryStart;
    for (int64_t p = 0; p < 1280 * 800; ++p) {
        const uint32_t expected = black | block[3 * p] << 16 | block[3 * p + 1] << 8 | block[3 * p + 2];
        ASSERT_EQ(image->Pixels[p], expected) << "pixel " << p;
    }
    // Green letters on black, a yellow word, an inverse bar of solid green.
    EXPECT_TRUE(holds(cellpixels(*image, 1, 1), green));
    EXPECT_TRUE(holds(cellpixels(*image, 1, 1), black));
    EXPECT_TRUE(holds(cellpixels(*image, 1, 2), yellow));
    EXPECT_EQ(cellpixels(*image, 15, 3), std::vector<uint32_t>(16 * 32, green));
    EXPECT_EQ(cellpixels(*image, 80, 25), std::vector<uint32_t>(16 * 32, black));
}

TEST(TextOnScreen, FullScreenScrollKeepsPixelsAndText)
{
    ASSERT_TRUE(run_on_program_thread([] {
        t_InitWindow(0, 24, 80, 25, 24, "MenloBold 16x32.font");
        for (int line = 1; line <= 26; ++line)
            t_Print(0, "Zeile " + std::to_string(line) + "\r");
    }));
    EXPECT_EQ(screen_line(0, 1).substr(0, 8), "Zeile 3 ");
    EXPECT_EQ(screen_line(0, 24).substr(0, 8), "Zeile 26");
    // Line 1 now shows what line 2 showed: the glyph pixels moved with it.
    ASSERT_TRUE(run_on_program_thread([] { t_CursorHome(0); }));
    const int64_t row = 1280 * 3;
    const uint8_t* block = videomemory + windowtable[0].MemoryStart;
    std::vector<uint8_t> before(block, block + 32 * row);
    ASSERT_TRUE(run_on_program_thread([] { t_Print(0, "Zeile 3 \r"); }));
    EXPECT_EQ(std::vector<uint8_t>(block, block + 32 * row), before);
}

}  // namespace
