#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "hand_window.h"
#include "input/key_events.h"
#include "menus/menu_events.h"
#include "support/queues.h"
#include "support/screen.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

// After full-width and narrow scrolls every cell's pixels must still be what
// its text memory says, at every depth (sub-byte cells, skipped bytes, an
// unpadded text block at 24 bits); blanking the freed line must also leave
// alone the byte of a 16- or 32-bit pixel that glyphs never write.
TEST(TextEngine, ScrolledCellsMatchTheirTextAtEveryDepth)
{
    const int64_t layouts[][3] = {{1, 4, 4}, {1, 8, 3}, {4, 4, 4}, {8, 5, 3}, {16, 3, 5}, {24, 6, 5}, {32, 4, 4}};
    for (const auto& [depth, fw, fh] : layouts) {
        sethandwindow({.depth = depth, .width = 10 * fw, .height = 4 * fh, .padded = depth != 24}, handfont(fw, fh));
        const t_Window& w = windowtable[0];
        for (int64_t i = w.MemoryStart; depth % 16 == 0 && i <= w.MemoryEnd; i += depth / 8)
            videomemory[i] = static_cast<uint8_t>(i * 7);
        t_Color(0, 15);
        t_Print(0, "0123456789abcdefghijABCDEFGHIJklmnopq");
        for (int step = 0; step < 4; ++step) {
            if (step == 2)
                t_Area(0, 2, 1, 7, 4);
            (step % 2 ? t_ScrollDown : t_ScrollUp)(0);
            int64_t c = 0, l = 0;
            EXPECT_TRUE(cellsconsistent(0, c, l)) << depth << " bits, step " << step << ": cell " << c << "," << l;
            for (int64_t i = w.MemoryStart + 30 * fh * fw * depth / 8; step == 0 && depth % 16 == 0 && i <= w.MemoryEnd;
                 i += depth / 8)
                ASSERT_EQ(videomemory[i], static_cast<uint8_t>(i * 7)) << depth << " bits, byte " << i;
        }
    }
}

// ---- The output pause (control-S) -----------------------------------------------

size_t queuedkeys()
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    return t_KeyEvents.size();
}

// Only a pause key that is the latest key pauses, and it empties the queue.
TEST(OutputPause, OnlyThePauseKeyAsTheLatestKeyPauses)
{
    EXPECT_FALSE(outputpausecheck(19, false));
    queuekeyvalue(19);
    queuekeyvalue(65);
    EXPECT_FALSE(outputpausecheck(19, false));
    EXPECT_EQ(queuedkeys(), 2u);
    queuekeyvalue(19);
    EXPECT_TRUE(outputpausecheck(19, false) && queuedkeys() == 0 && !t_KeyEventAvailable);
}

// Printing stops before a carriage return while the pause key is pending,
// until a key (which is consumed) or a menu choice arrives.
TEST(OutputPause, PrintingPausesBeforeACarriageReturn)
{
    for (const bool menu : {false, true}) {
        sethandwindow({.width = 40, .height = 16}, handfont(4, 4));
        queuekeyvalue(19);
        std::thread typist([menu] {
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            EXPECT_EQ(screen_trimmed(0), "A\n") << "paused before the line ended";
            if (menu) {
                std::lock_guard<std::mutex> lock(t_MenuEventsLock);
                t_MenuEvents.push_back(t_MenuEvent{});
            } else {
                queuekeyvalue(32);
            }
        });
        const auto start = std::chrono::steady_clock::now();
        t_Print(0, "A\rB");
        typist.join();
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
        EXPECT_EQ(screen_trimmed(0), "A\nB\n") << menu;
        EXPECT_TRUE(queuedkeys() == 0 && !t_KeyEventAvailable) << menu << ": the key is consumed";
    }
}

}  // namespace
