// The printable form of the runtime's graphic characters, and the printer
// and the panels in a process without a desktop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/file_panels.h"
#include "menus/menu_events.h"
#include "menus/virtual_printer.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

using Lines = std::vector<std::string>;

TEST(PrintableText, GraphicCodesBecomeLookAlikes)
{
    // code, what it becomes
    const std::vector<std::pair<char32_t, std::string>> table = {
        {127, "#"}, {128, "*"}, {129, "#"}, {130, "<"}, {131, "="}, {132, ">"},
        {133, "O"}, {134, "+"}, {137, "+"}, {138, "|"}, {139, "|"}, {140, "-"},
        {141, "-"}, {142, "+"}, {147, "+"}, {153, "+"}, {154, "-"}, {155, "-"},
        {156, "|"}, {157, "|"}, {158, "+"}, {159, "="}, {160, "\u02FD"},
        // outside the range: unchanged
        {126, "~"}, {161, "\u00A1"}, {228, "\u00E4"}, {0x20AC, "\u20AC"}, {13, "\r"},
    };
    for (const auto& [code, shown] : table)
        EXPECT_EQ(t_PrintableText(unicode::encode(code)), shown) << "code " << int(code);
}

TEST(PrintableText, OnlyTheGraphicCodesOfALineChange)
{
    const std::string line = "\u0086\u008C\u008C\u0087 Gr\u00FC\u00DFe \u008A\r\u0088\u008C\u0089";
    EXPECT_EQ(t_PrintableText(line), "+--+ Grüße |\r+-+");
    EXPECT_EQ(t_PrintableText(""), "");
    // Bytes that are no UTF-8 pass as they stand, also right after C2.
    EXPECT_EQ(t_PrintableText("a\xC2\x7F\xFF\xC2"), "a\xC2#\xFF\xC2");
    EXPECT_EQ(t_PrintableText("\xC2\xA1\xC3\x8A"), "\xC2\xA1\xC3\x8A");
}

TEST(WithoutDesktop, PrinterOperationsReportTheMissingWindowOncePerCall)
{
    DiagCapture capture;
    p_InitPrinter();
    p_SetPrinter("A");
    EXPECT_EQ(p_GetPrinter(), "");
    p_SetRuler("L...R");
    EXPECT_EQ(capture.lines(),
              (Lines{"p_InitPrinter: Virtual printer window is nil, resource undefined.",
                     "p_SetPrinter: Virtual printer window is nil, resource undefined.",
                     "p_GetPrinter: Virtual printer window is nil, resource undefined.",
                     "p_SetRuler: Virtual printer window is nil, resource undefined."}));
    EXPECT_FALSE(printerrunning) << "no service task without the printer";
}

TEST(WithoutDesktop, PanelsGiveTheEmptyResult)
{
    const int64_t start = absolute_ms();
    EXPECT_EQ(openfile("Laden", "", "txt", true, false), "");
    EXPECT_EQ(savefile("log.txt", "Sichern", "", ""), "");
    EXPECT_LT(absolute_ms() - start, 1000) << "nobody is waited for";
}
