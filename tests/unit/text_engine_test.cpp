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

// The guard differs from byte to byte: a block move that overruns a block
// by copying guard bytes shows, which it would not with one repeated value.
uint8_t guardbyte(int64_t index)
{
    return static_cast<uint8_t>((static_cast<uint64_t>(index) * 2654435761u) >> 13);
}

// Everything the engine can be made to do, including the awkward cases: all
// codes in every display mode, areas of one line and one column, t_Htab
// beyond the area, cursors and areas set by hand outside the grid.
void exercise(uint8_t n)
{
    t_Window& w = windowtable[n];
    const int64_t tw = w.TextWidth, th = w.TextHeight;
    Text all;
    for (int c = 0; c < 256; ++c)
        all.Elements.push_back(static_cast<uint8_t>(c));
    for (const int64_t mode : {0, 1, 2, 3, 4, 99}) {
        t_DisplayMode(n, mode);
        t_Print(n, all);
        t_Print(n, std::string("\u00e4\u20ac\U0001F600\xff"));
    }
    for (int c = 0; c < 256; ++c)
        t_PrintChar(n, static_cast<uint8_t>(c));
    t_DisplayMode(n, 0);
    const int64_t areas[][4] = {{1, 1, tw, th}, {2, 2, tw - 1, th - 1}, {1, th, tw, th},
                                {tw, 1, tw, th}, {1, 1, 1, 1}, {3, 1, 2, th}};
    for (const auto& a : areas) {
        t_Area(n, a[0], a[1], a[2], a[3]);
        t_ScrollUp(n);
        t_ScrollDown(n);
        t_CursorEnd(n);
        t_Print(n, "xyz\r\n\b\x1e\x1c\x1bi\x1bk\x1b" "f!\x1b" "e?");
        t_Htab(n, tw);
        t_ClearEndOfLine(n);
        t_ClearEndOfWindow(n);
        t_Header(n, "left side", "right side");
        t_InvertRect(n, 1, 1, tw, th);
        t_CursorOn(n);
        t_CursorOff(n);
    }
    // Cursor and area fields set by hand: cursors beyond the grid, crossed
    // lines, columns wider than the grid, lines below it.
    const int64_t bad[][6] = {{tw + 1, 1, 1, 1, tw, th}, {1, th + 1, 1, 1, tw, th},
                              {-5, 2, 1, 1, tw, th},     {1, 3, 1, 3, tw, 2},
                              {1, 1, 1, 1, tw + 3, th},  {0, 0, 0, 0, tw, th + 2}};
    for (const auto& a : bad) {
        w.TextFirstColumn = a[2];
        w.TextFirstLine = a[3];
        w.TextLastColumn = a[4];
        w.TextLastLine = a[5];
        const auto fromcursor = [&](auto action) {
            w.TextHpos = a[0];
            w.TextVpos = a[1];
            action();
        };
        fromcursor([n] { t_ScrollUp(n); t_ScrollDown(n); });
        fromcursor([n] { t_Print(n, "wrap around the edge\r"); });
        fromcursor([n] { t_ClearEndOfLine(n); t_CursorDraw(n); });
        fromcursor([n] { t_ClearEndOfWindow(n); t_Header(n, "l", "r"); });
    }
}

TEST(TextEngine, WritesOnlyInsideTheWindowsBlocksAtEveryDepth)
{
    for (const int64_t depth : {1, 4, 8, 16, 24, 32}) {
        for (int64_t i = 0; i < videomemorysize; ++i)
            videomemory[i] = guardbyte(i);
        // 9 columns of 6 pixels and 2 spare, 4 lines of 5 and 3 spare.
        sethandwindow({.depth = depth, .width = 56, .height = 23, .padded = false}, handfont(6, 5));
        {
            DiagCapture quiet;
            exercise(0);
        }
        const t_Window& w = windowtable[0];
        int64_t outside = 0;
        for (int64_t i = 0; i < videomemorysize; ++i) {
            const bool inblock = (i >= w.MemoryStart && i <= w.MemoryEnd) ||
                                 (i >= w.TextMemoryStart && i <= w.TextMemoryEnd);
            if (!inblock && videomemory[i] != guardbyte(i) && outside++ < 5)
                ADD_FAILURE() << depth << " bits: byte " << i << " outside the blocks was written";
        }
        EXPECT_EQ(outside, 0) << depth << " bits";
    }
}

// At 16 and 32 bits glyphs leave one byte of every pixel alone; blanking
// the line a scroll frees must leave it alone too.
TEST(TextEngine, BlankingKeepsTheBytesGlyphsDoNotWrite)
{
    for (const int64_t depth : {16, 32}) {
        sethandwindow({.depth = depth, .width = 40, .height = 16}, handfont(4, 4));
        const t_Window& w = windowtable[0];
        const int64_t bytes = depth / 8;
        for (int64_t i = w.MemoryStart; i <= w.MemoryEnd; i += bytes)
            videomemory[i] = static_cast<uint8_t>(i * 7);
        t_Print(0, "some text\r");
        t_ScrollUp(0);
        for (int64_t i = w.MemoryStart + 40 * 12 * bytes; i <= w.MemoryEnd; i += bytes)
            ASSERT_EQ(videomemory[i], static_cast<uint8_t>(i * 7)) << depth << " bits, byte " << i;
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
    EXPECT_TRUE(outputpausecheck(19, false));
    EXPECT_EQ(queuedkeys(), 0u);
    EXPECT_FALSE(t_KeyEventAvailable);
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
        EXPECT_EQ(queuedkeys(), 0u) << menu;
        EXPECT_FALSE(t_KeyEventAvailable) << menu;
    }
}

}  // namespace
