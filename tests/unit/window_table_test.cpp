#include <gtest/gtest.h>

#include "util/diagnostics.h"
#include "windows/window_table.h"

TEST(Palette, NumbersBelowSixteenGiveTheirOpaqueColour)
{
    struct Row {
        unsigned number;
        t_RGBColor colour;
    };
    const Row rows[] = {
        {0, {255, 0x00, 0x00, 0x00}},  {1, {255, 0xFF, 0x00, 0x00}},  {2, {255, 0x00, 0x00, 0x80}},
        {3, {255, 0xFF, 0x00, 0xFF}},  {4, {255, 0x00, 0x80, 0x00}},  {5, {255, 0x54, 0x54, 0x54}},
        {6, {255, 0x00, 0x00, 0xFF}},  {7, {255, 0x00, 0x80, 0xFF}},  {8, {255, 0x80, 0x40, 0x00}},
        {9, {255, 0xFF, 0x80, 0x00}},  {10, {255, 0xA8, 0xA8, 0xA8}}, {11, {255, 0xFF, 0x80, 0x80}},
        {12, {255, 0x00, 0xFF, 0x00}}, {13, {255, 0xFF, 0xFF, 0x00}}, {14, {255, 0x00, 0xFF, 0xFF}},
        {15, {255, 0xFF, 0xFF, 0xFF}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(palettecolor(row.number), row.colour) << "colour " << row.number;
}

TEST(Palette, SixteenAndAboveAreOpaqueBlack)
{
    EXPECT_EQ(palettecolor(16), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(palettecolor(0xFFFFFFFFu), (t_RGBColor{255, 0, 0, 0}));
}

TEST(WindowRecord, EmptyRecordHoldsTheStartValues)
{
    t_Window w;
    EXPECT_FALSE(w.Initialized);
    EXPECT_TRUE(w.VerticalBlank);
    EXPECT_EQ(w.RefreshRate, 30);
    EXPECT_EQ(w.MemoryStart, -1);
    EXPECT_EQ(w.MemoryEnd, -1);
    EXPECT_EQ(w.TextMemoryStart, -1);
    EXPECT_EQ(w.TextMemoryEnd, -1);
    EXPECT_EQ(w.TextRedirectOutput, 1);
    EXPECT_EQ(w.RGBColorBorder.load(), (t_RGBColor{255, 0, 0, 0}));
    EXPECT_EQ(w.Font.HeaderSize, 16);
    EXPECT_TRUE(w.Font.Data.empty());
}

class Guard : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ready = memoryready;
        saved = windowtable[3];
    }
    void TearDown() override
    {
        memoryready = saved_ready;
        windowtable[3] = saved;
    }
    bool saved_ready = false;
    t_Window saved;
};

TEST_F(Guard, RejectsNumbersOfEightAndAbove)
{
    DiagCapture out;
    memoryready = true;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 8));
    EXPECT_FALSE(textwindowguard("t_Cr", 255));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t_ColorBorder: Window is not a graphic window.",
                                                     "t_Cr: Window is not a graphic window."}));
}

TEST_F(Guard, ReportsWindowsThatAreNotSetUp)
{
    DiagCapture out;
    memoryready = false;
    windowtable[3].Initialized = true;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 3));  // memory not ready
    memoryready = true;
    windowtable[3].Initialized = false;
    EXPECT_FALSE(graphicwindowguard("t_ColorBorder", 3));  // window not set up
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t_ColorBorder: Window #3 not initialized.",
                                                     "t_ColorBorder: Window #3 not initialized."}));
}

TEST_F(Guard, TextGuardAlsoNeedsTextMemory)
{
    DiagCapture out;
    memoryready = true;
    windowtable[3].Initialized = true;
    windowtable[3].TextMemoryStart = -1;
    EXPECT_TRUE(graphicwindowguard("t_Color", 3));
    EXPECT_FALSE(textwindowguard("t_Print", 3));
    windowtable[3].TextMemoryStart = 0x1000;
    EXPECT_TRUE(textwindowguard("t_Print", 3));
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"t_Print: Window #3 not initialized."}));
}
