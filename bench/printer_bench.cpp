// Appending one line to the conversation log the way the conversation does
// it: logappend, which writes the line to the log file and then does
// p_SetPrinter(p_GetPrinter() + line), from the program thread while the
// main thread turns the desktop's event loop. The figure that matters is
// "x_empty": the cost on a log of 10,000 lines as a multiple of the cost on
// an empty log (the target is at most 3). The append on the main thread
// itself, without the hand-offs, shows what the text view and the copies
// of the log cost; there "x_memcpy" compares it with one copy of the log.
//
// The desktop is the real one, offscreen unless QT_QPA_PLATFORM says
// otherwise, with the printer window shown and scrolled to its end.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "conversation/conversation.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "startup/threads.h"
#include "util/clock.h"

namespace {

const std::string logline = "Patient: Ich weiß nicht, was ich heute sagen soll.\r";

std::string logoflines(int64_t count)
{
    std::string log;
    for (int64_t i = 0; i < count; ++i)
        log += logline;
    return log;
}

double appendseconds()
{
    const auto start = std::chrono::steady_clock::now();
    logappend(logline);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// The program thread of the benchmark: appends one line whenever asked and
// wakes the main thread's event loop when it is done.
std::atomic<bool> appendasked{false};
std::atomic<bool> appenddone{false};
std::atomic<double> appendtook{0};

void programloop()
{
    for (;;) {
        while (!appendasked.exchange(false))
            sleep_ms(1);
        appendtook = appendseconds();
        appenddone = true;
        platform::post_to_main([] {});
    }
}

void ensureprinter()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    ensuredesktop();
    // The log file lives in a folder of its own, removed at the end.
    static std::string folder = (std::filesystem::temp_directory_path() / "sprecho-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) != nullptr) {
        openlogfile(conversationlog, folder, "bench");
        std::atexit([] {
            closelogfile(conversationlog);
            std::filesystem::remove_all(folder);
        });
    }
    p_InitPrinter();
    platform::order_window_front(platformwindow(9));
    startprocess(programloop, 64 * 1024 * 1024);
}

// Lets the main thread finish what earlier work left queued (layout,
// painting), so it is not charged to the next append.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double timedprogramappend()
{
    appenddone = false;
    appendasked = true;
    while (!appenddone)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return appendtook;
}

// Mean seconds of the empty-log case per variant, for the ratio.
double emptymean[2] = {0, 0};

template <typename Append>
void appendbenchmark(benchmark::State& state, int variant, Append append)
{
    ensureprinter();
    const int64_t lines = state.range(0);
    p_SetPrinter(lines > 0 ? logoflines(lines) : std::string());
    settle();
    double total = 0;
    for (auto _ : state) {
        // The empty log starts empty every time; the long one keeps growing
        // by one line per round, which a few hundred rounds do not change.
        if (lines == 0)
            p_SetPrinter(std::string());
        settle();
        const double took = append();
        state.SetIterationTime(took);
        total += took;
    }
    const double mean = total / double(state.iterations());
    state.counters["us"] = mean * 1e6;
    // The pattern copies the whole log a few times over (read, concatenate,
    // compare, keep): against one plain copy of it that is the floor.
    if (lines > 0)
        state.counters["x_memcpy"] = mean / memcpyseconds(p_GetPrinter().size());
    if (lines == 0)
        emptymean[variant] = mean;
    else if (emptymean[variant] > 0)
        state.counters["x_empty"] = mean / emptymean[variant];
}

void BM_LogAppendFromProgramThread(benchmark::State& state)
{
    appendbenchmark(state, 0, timedprogramappend);
}

void BM_LogAppendOnMainThread(benchmark::State& state)
{
    appendbenchmark(state, 1, appendseconds);
}

// The log file's share of an append: one finished line handed to the
// kernel with write(2).
void BM_LogFileLine(benchmark::State& state)
{
    std::string folder = (std::filesystem::temp_directory_path() / "sprecho-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    LogFile log;
    openlogfile(log, folder, "line");
    for (auto _ : state)
        appendlogfile(log, logline);
    closelogfile(log);
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_LogFileLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogAppendFromProgramThread)->ArgName("lines")->Arg(0)->Arg(10000)
    ->Iterations(300)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogAppendOnMainThread)->ArgName("lines")->Arg(0)->Arg(10000)
    ->Iterations(300)->UseManualTime()->Unit(benchmark::kMicrosecond);
