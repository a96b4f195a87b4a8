// Start-up to the first prompt: the real program, started as a process on
// the offscreen platform, until it prints the answer table's count line,
// the last thing it does before it shows the prompt and waits for a key.
// The target is well under one second.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <chrono>
#include <filesystem>
#include <unistd.h>

namespace {

QString programpath()
{
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    return QString::fromStdString((self.parent_path() / "sprecho").string());
}

// Seconds from starting the program to its count line; negative when it
// never came.
double startupseconds()
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains("QT_QPA_PLATFORM"))
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    const auto start = std::chrono::steady_clock::now();
    program.start(programpath(), {});
    QByteArray output;
    while (!output.contains("eingelesen.") && program.waitForReadyRead(10000))
        output += program.readAllStandardOutput();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    program.kill();
    program.waitForFinished();
    return output.contains("eingelesen.") ? took.count() : -1.0;
}

void BM_StartupToPrompt(benchmark::State& state)
{
    double total = 0;
    for (auto _ : state) {
        const double seconds = startupseconds();
        if (seconds < 0) {
            state.SkipWithError("the program did not reach its prompt");
            return;
        }
        total += seconds;
    }
    state.counters["ms"] = total / static_cast<double>(state.iterations()) * 1e3;
}

}  // namespace

BENCHMARK(BM_StartupToPrompt)->Unit(benchmark::kMillisecond)->Iterations(5);
