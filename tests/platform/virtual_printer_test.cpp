// The virtual printer on the real desktop, offscreen: the hand-off from the
// program thread, the service task and a missing text view.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <utility>

#include "menus/virtual_printer.h"
#include "platform/qt/app_delegate.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"

using Lines = std::vector<std::string>;

static void leaveforservice(const std::string& bytes, bool pending)
{
    std::lock_guard lock(printerbufferlock);
    printeroutputbuffer.assign(bytes.begin(), bytes.end());
    printerpending = pending;
}

// Text crosses the hand-off without a byte changed. Every init, from either
// thread, clears text, ruler and buffer again, but only the first starts
// the service task, on a task of its own.
TEST(VirtualPrinter, TextComesBackByteForByteAndOnlyTheFirstInitStartsTheTask)
{
    const Lines texts = {"A", "Patient: Grüß dich\r\rSprecho: Na?\r", "CR LF\r\nbleibt\r\n",
                         std::string("kein UTF-8: \xFF\xC3", 15), "", "alter Text"};
    Lines read;
    DiagCapture capture;
    ASSERT_TRUE(run_on_program_thread([&] {
        p_InitPrinter();
        read.push_back(p_GetPrinter());
        for (const std::string& text : texts) {
            p_SetPrinter(text);
            read.push_back(p_GetPrinter());
        }
        p_InitPrinter();
        read.push_back(p_GetPrinter());
    }));
    Lines expected = texts;
    expected.insert(expected.begin(), "");
    expected.push_back("");
    EXPECT_EQ(read, expected);
    ASSERT_TRUE(pump_until([&] { return !capture.lines().empty(); }, 2000));
    p_SetPrinter("alter Text\r");
    p_SetRuler("alt");
    leaveforservice("Rest", false);
    p_InitPrinter();
    pump_for(100);
    const std::string start = "p_PrinterAutoUpdateProcess: Start as thread #";
    const Lines lines = capture.lines();
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_TRUE(lines[0].starts_with(start)) << lines[0];
    EXPECT_GE(std::stoll(lines[0].substr(start.size())), 3) << lines[0];
    EXPECT_EQ(p_GetPrinter(), "");
    EXPECT_EQ(appdelegate().VirtualPrinterRuler->text().toStdString(),
              rulerstring(160, false, true));
    std::lock_guard lock(printerbufferlock);
    EXPECT_TRUE(printeroutputbuffer.empty());
}

// The task shows a left buffer, decoding one that is no UTF-8 byte by byte,
// and never twice within 101 milliseconds however fast it is refilled.
TEST(VirtualPrinter, ServiceTaskShowsTheBufferAtMostOncePer101Milliseconds)
{
    p_InitPrinter();
    const std::pair<std::string, std::string> rows[] = {
        {"Grüße\r", "Grüße\r"},
        {"Gr\xFC\xDF" "e\r", "Grüße\r"},  // ISO 8859-1
        {"\x1B" "20AC\x1D \xE4", "€ ä"},   // an escaped character
        {"", ""},
    };
    int64_t last = 0;
    for (const auto& [bytes, shown] : rows) {
        p_SetPrinter("vorher");
        leaveforservice(bytes, true);
        ASSERT_TRUE(pump_until([&] { return p_GetPrinter() == shown && printerlastflush != last; },
                               2000))
            << testing::PrintToString(bytes) << " shows " << testing::PrintToString(p_GetPrinter());
        EXPECT_FALSE(printerpending);
        EXPECT_TRUE(last == 0 || printerlastflush - last >= 101) << testing::PrintToString(bytes);
        last = printerlastflush;
    }
}

// Without the text view every operation, from either thread, reports once
// per call, touches neither text nor ruler and starts no service task.
TEST(VirtualPrinter, WithoutTheTextViewEachOperationReportsOncePerCall)
{
    p_SetPrinter("bleibt");
    p_SetRuler("Lineal");
    TextView* const view = std::exchange(appdelegate().VirtualPrinterTextView, nullptr);
    const auto calls = [] {
        p_SetPrinter("weg");
        EXPECT_EQ(p_GetPrinter(), "");
        p_SetRuler("weg");
        p_InitPrinter();
    };
    DiagCapture capture;
    calls();
    ASSERT_TRUE(run_on_program_thread(calls));
    pump_for(100);
    appdelegate().VirtualPrinterTextView = view;
    Lines expected;
    for (int thread = 0; thread < 2; ++thread)
        for (const std::string call : {"p_SetPrinter", "p_GetPrinter", "p_SetRuler", "p_InitPrinter"})
            expected.push_back(call + ": Virtual printer window is nil, resource undefined.");
    EXPECT_EQ(capture.lines(), expected);
    EXPECT_FALSE(printerrunning);
    EXPECT_EQ(p_GetPrinter(), "bleibt");
    EXPECT_EQ(appdelegate().VirtualPrinterRuler->text().toStdString(), "Lineal");
}
