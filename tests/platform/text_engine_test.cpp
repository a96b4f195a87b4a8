// The text engine on the program's real screen: window 0 set up as the
// conversation does, with the bundled font, printed to and scrolled.
#include <gtest/gtest.h>

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

// How many pixels of the 16 x 32 cell show `colour` in window 0's image.
int64_t cellcount(int64_t column, int64_t line, uint32_t colour)
{
    const auto image = t_WindowImage(0);
    int64_t count = 0;
    for (int64_t y = (line - 1) * 32; image && y < line * 32; ++y)
        for (int64_t x = (column - 1) * 16; x < column * 16; ++x)
            count += image->Pixels[y * image->Width + x] == colour;
    return count;
}

// Colours and inverse reach the window's image; a full screen scrolls text
// and glyph pixels together, so reprinting a moved line changes no pixel.
TEST(TextOnScreen, PrintingAndScrollingOnTheRealWindow)
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
    EXPECT_EQ(t_GetScreen(0, "\r"), "Guten Tag!\rGelb\rBalken");
    constexpr uint32_t green = 0xFF00FF00, yellow = 0xFFFFFF00;
    EXPECT_GT(cellcount(1, 2, yellow), 0);
    EXPECT_EQ(cellcount(15, 3, green), 16 * 32) << "inverse blank";

    ASSERT_TRUE(run_on_program_thread([] {
        t_Print(0, "\r");
        for (int line = 1; line <= 26; ++line)
            t_Print(0, "Zeile " + std::to_string(line) + "\r");
        t_CursorHome(0);
    }));
    EXPECT_EQ(screen_line(0, 1).substr(0, 8), "Zeile 3 ");
    const uint8_t* block = videomemory + windowtable[0].MemoryStart;
    const std::vector<uint8_t> before(block, block + 32 * 1280 * 3);
    ASSERT_TRUE(run_on_program_thread([] { t_Print(0, "Zeile 3 \r"); }));
    EXPECT_EQ(std::vector<uint8_t>(block, block + 32 * 1280 * 3), before);
}

}  // namespace
