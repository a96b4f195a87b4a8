#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "hand_window.h"
#include "input/key_events.h"
#include "menus/menu_events.h"
#include "support/queues.h"
#include "support/screen.h"
#include "text/screen_readback.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_table.h"

namespace {

// ---- Nothing is written outside the window's blocks ------------------------------

// The guard differs from byte to byte: a block move that overruns a block
// by copying guard bytes shows, which it would not with one repeated value.
uint8_t guardbyte(int64_t index)
{
    return static_cast<uint8_t>((static_cast<uint64_t>(index) * 2654435761u) >> 13);
}

// Everything the engine can be made to do, including the awkward cases: all
// codes in every display mode, areas of one line and one column, cursors on
// and beyond the edges, t_Htab beyond the area, and records whose area was
// crossed or widened by hand.
void exercise(uint8_t n)
{
    t_Window& w = windowtable[n];
    const int64_t tw = w.TextWidth;
    const int64_t th = w.TextHeight;
    Text all;
    for (int c = 0; c < 256; ++c)
        all.Elements.push_back(static_cast<uint8_t>(c));
    for (const int64_t mode : {0, 1, 2, 3, 4, 99}) {
        t_DisplayMode(n, mode);
        t_Print(n, all);
        t_Print(n, std::string("\u00e4\u20ac\U0001F600\xff"));
        for (int c = 0; c < 256; ++c)
            t_PrintChar(n, static_cast<uint8_t>(c));
    }
    t_DisplayMode(n, 0);
    const int64_t areas[][4] = {{1, 1, tw, th}, {2, 2, tw - 1, th - 1}, {1, th, tw, th},
                                {tw, 1, tw, th}, {1, 1, 1, 1}, {3, 1, 2, th}};
    for (const auto& a : areas) {
        t_Area(n, a[0], a[1], a[2], a[3]);
        for (int i = 0; i < 3; ++i) {
            t_ScrollUp(n);
            t_ScrollDown(n);
        }
        t_CursorEnd(n);
        t_Print(n, "xyz\r\n\b\x1e\x1c");
        t_Htab(n, tw);
        t_ClearEndOfLine(n);
        t_ClearEndOfWindow(n);
        t_Print(n, "\x1bi\x1bk\x1b" "f!\x1b" "e?");
        t_Header(n, "left side", "right side");
        t_InvertRect(n, 1, 1, tw, th);
        t_CursorOn(n);
        t_CursorOff(n);
        t_PrintControl(n, 12);
    }
    t_FullArea(n);
    // Cursor fields set by hand outside the grid.
    const std::pair<int64_t, int64_t> cursors[] = {{tw + 1, 1}, {1, th + 1}, {0, 0}, {-5, 2}};
    for (const auto& [x, y] : cursors) {
        w.TextHpos = x;
        w.TextVpos = y;
        t_Print(n, "ab");
        w.TextHpos = x;
        w.TextVpos = y;
        t_ClearEndOfLine(n);
        t_CursorDraw(n);
    }
    // Areas changed by hand: crossed lines (no line at all), columns wider
    // than the grid, lines below it.
    const int64_t bad[][4] = {{1, 3, tw, 2}, {1, 1, tw + 3, th}, {1, 2, tw, th + 2}, {0, 0, tw, th}};
    for (const auto& a : bad) {
        w.TextFirstColumn = a[0];
        w.TextFirstLine = a[1];
        w.TextLastColumn = a[2];
        w.TextLastLine = a[3];
        w.TextHpos = a[0];
        w.TextVpos = a[1];
        t_ScrollUp(n);
        t_ScrollDown(n);
        t_Print(n, "wrap around the edge\r");
        t_ClearEndOfWindow(n);
        t_Header(n, "l", "r");
    }
    t_FullArea(n);
}

TEST(TextEngine, WritesOnlyInsideTheWindowsBlocksAtEveryDepth)
{
    for (const int64_t depth : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(std::to_string(depth) + " bits");
        for (int64_t i = 0; i < videomemorysize; ++i)
            videomemory[i] = guardbyte(i);
        HandWindow layout;
        layout.depth = depth;
        layout.width = 56;   // 9 columns of 6 pixels and 2 spare
        layout.height = 23;  // 4 lines of 5 pixels and 3 spare
        layout.padded = false;
        sethandwindow(layout, handfont(6, 5));
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
                ADD_FAILURE() << "byte " << i << " outside the blocks was written";
        }
        EXPECT_EQ(outside, 0);
    }
}

// At 16 and 32 bits the glyph drawing leaves one byte of every pixel alone;
// blanking the line a scroll frees must leave it alone too.
TEST(TextEngine, BlankingKeepsTheBytesGlyphsDoNotWrite)
{
    for (const int64_t depth : {16, 32}) {
        SCOPED_TRACE(std::to_string(depth) + " bits");
        HandWindow layout;
        layout.depth = depth;
        layout.width = 40;
        layout.height = 16;
        sethandwindow(layout, handfont(4, 4));
        const t_Window& w = windowtable[0];
        const int64_t bytes = depth / 8;
        for (int64_t i = w.MemoryStart; i <= w.MemoryEnd; i += bytes)
            videomemory[i] = static_cast<uint8_t>(i * 7);
        t_Print(0, "some text\r");
        t_ScrollUp(0);
        const int64_t lastline = w.MemoryStart + 40 * 12 * bytes;
        for (int64_t i = lastline; i <= w.MemoryEnd; i += bytes)
            ASSERT_EQ(videomemory[i], static_cast<uint8_t>(i * 7)) << "byte " << i;
    }
}

TEST(TextEngine, DisplayModeOfAWindowNotSetUpGivesNothing)
{
    DiagCapture out;
    memoryready = true;
    const t_DisplayModeResult r = t_ApplyDisplayMode(4, 'A');
    EXPECT_EQ(r.code, -2);
    EXPECT_FALSE(r.inverse);
    EXPECT_EQ(r.colour, 0xF0);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"t_ApplyDisplayMode: Window #4 not initialized."}));
}

// ---- The output pause (control-S) -----------------------------------------------

void queuemenu()
{
    std::lock_guard<std::mutex> lock(t_MenuEventsLock);
    t_MenuEvents.push_back(t_MenuEvent{});
}

size_t queuedkeys()
{
    std::lock_guard<std::mutex> lock(t_KeyEventsLock);
    return t_KeyEvents.size();
}

double secondssince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(OutputPause, OnlyThePauseKeyAsTheLatestKeyPauses)
{
    EXPECT_FALSE(outputpausecheck(19, false));  // nothing queued
    queuekeyvalue(19);
    queuekeyvalue(65);
    EXPECT_FALSE(outputpausecheck(19, false));  // typed after the pause key
    EXPECT_EQ(queuedkeys(), 2u);
    queuekeyvalue(19);
    EXPECT_TRUE(outputpausecheck(19, false));  // the queue is emptied
    EXPECT_EQ(queuedkeys(), 0u);
    EXPECT_FALSE(t_KeyEventAvailable);
}

TEST(OutputPause, TheKeyThatEndsThePauseIsConsumed)
{
    queuekeyvalue(19);
    const auto start = std::chrono::steady_clock::now();
    std::thread typist([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        queuekeyvalue(65);
    });
    EXPECT_TRUE(outputpausecheck(19, true));
    typist.join();
    EXPECT_GE(secondssince(start), 0.05);
    EXPECT_EQ(queuedkeys(), 0u);
    EXPECT_FALSE(t_KeyEventAvailable);
}

TEST(OutputPause, AMenuChoiceEndsThePauseToo)
{
    queuekeyvalue(19);
    std::thread chooser([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        queuemenu();
    });
    EXPECT_TRUE(outputpausecheck(19, true));
    chooser.join();
    EXPECT_EQ(queuedkeys(), 0u);
}

TEST(OutputPause, PrintingPausesBeforeACarriageReturn)
{
    HandWindow layout;
    layout.width = 40;
    layout.height = 16;
    sethandwindow(layout, handfont(4, 4));
    queuekeyvalue(19);
    std::thread typist([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        EXPECT_EQ(screen_trimmed(0), "A\n");  // paused before the line ended
        queuekeyvalue(32);
    });
    const auto start = std::chrono::steady_clock::now();
    t_Print(0, "A\rB");
    typist.join();
    EXPECT_GE(secondssince(start), 0.05);
    EXPECT_EQ(screen_trimmed(0), "A\nB\n");
    EXPECT_EQ(queuedkeys(), 0u);
}

}  // namespace
