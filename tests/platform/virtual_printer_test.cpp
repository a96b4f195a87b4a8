// The virtual printer on the real desktop, offscreen: the hand-off from the
// program thread and the service task.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "menus/virtual_printer.h"
#include "frontends/qt/app_delegate.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"

using Lines = std::vector<std::string>;

// Text crosses the hand-off from the program thread without a byte changed;
// every init clears text and resets the ruler, but only the first starts
// the service task, on a task of its own.
TEST(VirtualPrinter, TextComesBackByteForByteAndOnlyTheFirstInitStartsTheTask)
{
    const Lines texts = {"Patient: Grüß dich\r\rSprecho: Na?\r", std::string("kein UTF-8: \xFF\xC3", 15)};
    Lines read;
    DiagCapture capture;
    ASSERT_TRUE(run_on_program_thread([&] {
        p_InitPrinter();
        read.push_back(p_GetPrinter());
        for (const std::string& text : texts) {
            p_SetPrinter(text);
            read.push_back(p_GetPrinter());
        }
        p_SetRuler("alt");
        p_InitPrinter();
        read.push_back(p_GetPrinter());
    }));
    EXPECT_EQ(read, (Lines{"", texts[0], texts[1], ""}));
    ASSERT_TRUE(pump_until([&] { return !capture.lines().empty(); }, 2000));
    pump_for(100);
    const std::string start = "p_PrinterAutoUpdateProcess: Start as thread #";
    const Lines lines = capture.lines();
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_TRUE(lines[0].starts_with(start)) << lines[0];
    EXPECT_GE(std::stoll(lines[0].substr(start.size())), 3) << lines[0];
    EXPECT_EQ(appdelegate().VirtualPrinterRuler->text().toStdString(), rulerstring(160, false, true));
}

// The task shows a left buffer, decoding one that is no UTF-8 byte by byte,
// and never twice within 101 milliseconds however fast it is refilled.
TEST(VirtualPrinter, ServiceTaskShowsTheBufferAtMostOncePer101Milliseconds)
{
    p_InitPrinter();
    const std::pair<std::string, std::string> rows[] = {
        {"Grüße\r", "Grüße\r"}, {"Gr\xFC\xDF" "e\r", "Grüße\r"}, {"", ""}};
    int64_t last = 0;
    for (const auto& [bytes, shown] : rows) {
        p_SetPrinter("vorher");
        {
            std::lock_guard lock(printerbufferlock);
            printeroutputbuffer.assign(bytes.begin(), bytes.end());
            printerpending = true;
        }
        ASSERT_TRUE(pump_until([&] { return p_GetPrinter() == shown && printerlastflush != last; }, 2000))
            << testing::PrintToString(bytes) << " shows " << testing::PrintToString(p_GetPrinter());
        EXPECT_TRUE(last == 0 || printerlastflush - last >= 101) << testing::PrintToString(bytes);
        last = printerlastflush;
    }
}
