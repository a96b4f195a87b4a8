// The virtual printer on the real desktop, offscreen: its text and ruler,
// the hand-off from the program thread, the service task and a missing text
// view.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <algorithm>
#include <string>
#include <vector>

#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "platform/qt/app_delegate.h"
#include "platform/qt/handles.h"
#include "platform/qt/text_windows.h"
#include "support/program_thread.h"
#include "util/diagnostics.h"

namespace {

using Lines = std::vector<std::string>;

const std::string startline = "p_PrinterAutoUpdateProcess: Start as thread #";

std::string rulertext()
{
    return appdelegate().VirtualPrinterRuler->text().toStdString();
}

std::vector<uint8_t> printerbuffer()
{
    std::lock_guard lock(printerbufferlock);
    return printeroutputbuffer;
}

void leaveforservice(const std::string& bytes)
{
    {
        std::lock_guard lock(printerbufferlock);
        printeroutputbuffer.assign(bytes.begin(), bytes.end());
    }
    printerpending = true;
}

// The lines of everything but the service task, which may start up
// while a capture is open.
Lines operationlines(const DiagCapture& capture)
{
    Lines found;
    for (const std::string& line : capture.lines())
        if (!line.starts_with("p_PrinterAutoUpdateProcess:"))
            found.push_back(line);
    return found;
}

Lines startlines(const DiagCapture& capture)
{
    Lines found;
    for (const std::string& line : capture.lines())
        if (line.starts_with(startline))
            found.push_back(line);
    return found;
}

// Takes the printer's text view away for the life of the object, as an
// interface without a printer window would have it.
class DetachedPrinterView {
public:
    DetachedPrinterView() : view_(appdelegate().VirtualPrinterTextView)
    {
        appdelegate().VirtualPrinterTextView = nullptr;
    }
    ~DetachedPrinterView() { appdelegate().VirtualPrinterTextView = view_; }
    DetachedPrinterView(const DetachedPrinterView&) = delete;
    DetachedPrinterView& operator=(const DetachedPrinterView&) = delete;

private:
    TextView* view_;
};

}  // namespace

TEST(VirtualPrinter, InitClearsTextAndBufferAndSetsTheDefaultRuler)
{
    p_SetPrinter("alter Text\r");
    p_SetRuler("alt");
    leaveforservice("Rest");
    printerpending = false;

    p_InitPrinter();
    EXPECT_EQ(p_GetPrinter(), "");
    EXPECT_EQ(rulertext(), rulerstring(160, false, true));
    EXPECT_EQ(rulertext().substr(0, 11), "L...!....1.");
    EXPECT_TRUE(printerbuffer().empty());
    EXPECT_TRUE(totextview(windowtextview(9))->toPlainText().isEmpty()) << "shown text too";
}

TEST(VirtualPrinter, TextSetOnTheProgramThreadComesBackByteForByte)
{
    const std::vector<std::string> texts = {
        "A",
        "Protokoll vom 03.03.2024\rPatient: Grüß dich\r\rSprecho: Na?\r",
        "CR LF\r\nbleibt\r\n",
        std::string("kein UTF-8: \xFF\xC3", 15),
        "",
    };
    std::vector<std::string> read;
    ASSERT_TRUE(run_on_program_thread([&] {
        p_InitPrinter();
        for (const std::string& text : texts) {
            p_SetPrinter(text);
            read.push_back(p_GetPrinter());
        }
    }));
    EXPECT_EQ(read, texts);
}

TEST(VirtualPrinter, ASecondInitStartsNoSecondServiceTask)
{
    DiagCapture capture(false);
    ASSERT_TRUE(run_on_program_thread([] {
        p_InitPrinter();
        p_SetPrinter("x");
        p_InitPrinter();
    }));
    EXPECT_TRUE(pump_until([&] { return !startlines(capture).empty(); }, 2000));
    p_InitPrinter();  // and once more from the main thread
    pump_for(100);
    const Lines starts = startlines(capture);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_GE(std::stoll(starts[0].substr(startline.size())), 3) << starts[0];
    EXPECT_TRUE(printerrunning);
    EXPECT_EQ(p_GetPrinter(), "") << "the second init cleared the text again";
}

TEST(VirtualPrinter, ServiceTaskShowsTheBufferDecodingWhatIsNoUtf8ByteByByte)
{
    p_InitPrinter();
    // bytes left in the buffer, text the printer then shows
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"Grüße\r", "Grüße\r"},
        {"Gr\xFC\xDF" "e\r", "Grüße\r"},              // ISO 8859-1
        {"\x1B" "20AC\x1D \xE4", "€ ä"},               // an escaped character
        {"", ""},
    };
    for (const auto& [bytes, shown] : rows) {
        p_SetPrinter("vorher");
        leaveforservice(bytes);
        EXPECT_TRUE(pump_until([&] { return !printerpending && p_GetPrinter() == shown; }, 2000))
            << "buffer " << testing::PrintToString(bytes) << " shows "
            << testing::PrintToString(p_GetPrinter());
    }
}

TEST(VirtualPrinter, ServiceTaskFlushesAtMostOncePer101Milliseconds)
{
    p_InitPrinter();
    leaveforservice("erste");
    ASSERT_TRUE(
        pump_until([] { return p_GetPrinter() == "erste" && printerlastflush != 0; }, 2000));
    const int64_t first = printerlastflush;
    leaveforservice("zweite");
    ASSERT_TRUE(pump_until([] { return p_GetPrinter() == "zweite"; }, 2000));
    EXPECT_GE(printerlastflush - first, 101);
    EXPECT_FALSE(printerpending);
}

TEST(VirtualPrinter, WithoutTheTextViewEachOperationReportsOncePerCall)
{
    const Lines expected = {
        "p_SetPrinter: Virtual printer window is nil, resource undefined.",
        "p_GetPrinter: Virtual printer window is nil, resource undefined.",
        "p_SetRuler: Virtual printer window is nil, resource undefined.",
        "p_InitPrinter: Virtual printer window is nil, resource undefined.",
    };
    const auto calls = [] {
        p_SetPrinter("weg");
        EXPECT_EQ(p_GetPrinter(), "");
        p_SetRuler("weg");
        p_InitPrinter();
    };
    {
        DetachedPrinterView detached;
        DiagCapture capture(false);
        calls();
        EXPECT_EQ(operationlines(capture), expected) << "on the main thread";
        pump_for(100);
        EXPECT_TRUE(startlines(capture).empty()) << "no service task without the view";
        EXPECT_FALSE(printerrunning);
    }
    p_InitPrinter();
    p_SetPrinter("bleibt");
    {
        DetachedPrinterView detached;
        DiagCapture capture;
        ASSERT_TRUE(run_on_program_thread(calls));
        EXPECT_EQ(operationlines(capture), expected) << "on the program thread";
    }
    EXPECT_EQ(p_GetPrinter(), "bleibt");
    EXPECT_EQ(rulertext(), rulerstring(160, false, true));
}
