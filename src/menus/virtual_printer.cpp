#include "menus/virtual_printer.h"

#include <algorithm>

#include "platform/platform.h"
#include "startup/threads.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/strings.h"
#include "util/unicode.h"
#include "windows/window_placement.h"

namespace {

// The service task sleeps until the pending flag is raised, or until the
// gap after the last flush has passed while it is raised.
Wakeup printerbell;

}  // namespace

std::mutex printerbufferlock;
std::vector<uint8_t> printeroutputbuffer;
std::vector<uint8_t> consoleoutputbuffer;
RingingFlag printerpending{printerbell};
relaxed<int64_t> printerlastflush;
relaxed<bool> printerrunning;

namespace {

constexpr int64_t flushgapms = 101;
constexpr int64_t defaultrulerwidth = 160;

// Starts the service task unless one runs. The flag is raised here as well
// as in the task, so a second p_InitPrinter right after the first cannot
// slip in before the new thread has got going.
void startprinterservice()
{
    static std::mutex startlock;
    std::lock_guard lock(startlock);
    if (printerrunning)
        return;
    printerrunning = true;
    startbackgroundtask(p_PrinterAutoUpdateProcess);
}

// The buffer as text: UTF-8 when it is valid, else one character per byte.
std::string takeprinterbuffer()
{
    std::vector<uint8_t> bytes;
    {
        std::lock_guard lock(printerbufferlock);
        bytes = printeroutputbuffer;
    }
    if (std::optional<std::string> text = unicode::decodeutf8(bytes))
        return std::move(*text);
    return texttostring(bytes);
}

// Ten columns of ruler: "....!....k", or with full numbers the whole
// number k at the end of the block.
std::string rulerblock(int64_t k, bool fullNumbers)
{
    static const std::string marks = "....!....";
    if (!fullNumbers || k < 10)
        return marks + char('0' + k % 10);
    const std::string digits = std::to_string(k);
    const size_t keep = digits.size() < 10 ? 10 - digits.size() : 0;
    return marks.substr(0, keep) + digits;
}

}  // namespace

void p_InitPrinter()
{
    const bool found = withtextwindowview("p_InitPrinter", 9, [](PlatformTextView* view) {
        p_SetRuler(rulerstring(defaultrulerwidth, false, true));
        platform::configure_text_view(view);
        platform::set_text_view_text(view, std::string());
        platform::mark_text_view(view);
        std::lock_guard lock(printerbufferlock);
        printeroutputbuffer.clear();
    });
    if (found)
        startprinterservice();
}

void p_SetPrinter(const std::string& text)
{
    withtextwindowview("p_SetPrinter", 9, [&](PlatformTextView* view) {
        platform::set_text_view_text(view, text);
        platform::mark_text_view(view);
    });
}

std::string p_GetPrinter()
{
    std::string text;
    withtextwindowview("p_GetPrinter", 9,
                       [&](PlatformTextView* view) { text = platform::text_view_text(view); });
    return text;
}

void p_SetRuler(const std::string& text)
{
    // The ruler belongs to the text view's window: the view is what is
    // checked, as for the other printer operations.
    withtextwindowview("p_SetRuler", 9,
                       [&](PlatformTextView*) { platform::set_ruler_text(9, text); });
}

void p_PrinterAutoUpdateProcess()
{
    const int64_t thread = threadnumber();
    diag_line("p_PrinterAutoUpdateProcess: Start as thread #" + std::to_string(thread));
    if (thread >= 3)
        namethread("p_PrinterAutoUpdate");
    printerrunning = true;
    while (printerrunning) {
        const uint32_t seen = printerbell.rung();
        int64_t waitus = -1;  // until the flag is raised
        if (printerpending) {
            const int64_t gap = printerlastflush + flushgapms - absolute_ms();
            if (gap <= 0) {
                printerpending = false;
                p_SetPrinter(takeprinterbuffer());
                printerlastflush = absolute_ms();
                continue;
            }
            waitus = std::min(gap, flushgapms) * 1000;  // the clock may have been set back
        }
        printerbell.sleep(seen, waitus);
    }
    printerrunning = false;
    diag_line("p_PrinterAutoUpdateProcess: End.");
}

std::string rulerstring(int64_t width, bool fullNumbers, bool margins)
{
    // A ruler is one line of a window; a million columns is far beyond any
    // screen, and a larger width would only exhaust memory.
    width = std::min<int64_t>(width, 1'000'000);
    std::string ruler;
    if (width >= -9)
        for (int64_t k = 1; k <= width / 10 + 1; ++k)
            ruler += rulerblock(k, fullNumbers);
    if (!margins)
        return width < 1 ? std::string() : ruler.substr(0, size_t(width));
    // Columns 2 .. width-1 between the margin letters; a block number that
    // would run into the "R" gives way to a dot.
    std::string inner = width >= 3 ? ruler.substr(1, size_t(width - 2)) : std::string();
    if (width % 10 == 0 && !inner.empty() && uint8_t(inner.back()) >= '0')
        inner.back() = '.';
    return "L" + inner + "R";
}
