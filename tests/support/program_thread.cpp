#include "support/program_thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "startup/threads.h"

bool pump_until(const std::function<bool()>& done, int timeout_ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeout_ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void pump_for(int ms)
{
    pump_until([] { return false; }, ms);
}

namespace {

// Sets its flag when destroyed, also while the thread's stack unwinds
// because the work ended the thread.
struct FinishedMark {
    std::shared_ptr<std::atomic<bool>> finished;
    ~FinishedMark() { finished->store(true); }
};

}  // namespace

bool run_on_program_thread(const std::function<void()>& work, int timeout_ms)
{
    auto finished = std::make_shared<std::atomic<bool>>(false);
    startprocess([work, finished] { const FinishedMark mark{finished}; work(); }, 64 * 1024 * 1024);
    return pump_until([&] { return finished->load(); }, timeout_ms);
}
