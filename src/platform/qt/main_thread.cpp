// Handing work to the main thread.
//
// The main thread never waits for another thread; other threads queue a
// call and poll a flag every millisecond. The calls travel in a queue of
// our own under a std::mutex, and an eventfd watched by a socket notifier
// on the main thread only wakes the event loop. Passing the calls through
// Qt's own event queue would work as well, but its locks are invisible to
// the thread sanitizer, which then reports every hand-off as a race; this
// way the hand-over is an ordinary mutex that the tools understand.
//
// The queued call and its waiter agree through one atomic state, so a
// waiter that gives up (the application is quitting) can never have its
// work run later against a stack frame that is gone.
#include "platform/qt/main_thread.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/platform.h"
#include "startup/threads.h"
#include "util/clock.h"

namespace {

std::mutex queuelock;
std::deque<std::function<void()>> queue;  // guarded by queuelock
bool accepting = false;                    // guarded by queuelock
int wakeup = -1;                           // eventfd; set once at attach
QSocketNotifier* notifier = nullptr;       // main thread only
std::atomic<bool> alive{false};
thread_local bool ismain = false;

enum HandoffState : int { pending, running, finished, abandoned };

struct Handoff {
    std::atomic<int> state{pending};
    const std::function<void()>* work = nullptr;
};

bool enqueue(std::function<void()> work)
{
    {
        std::lock_guard lock(queuelock);
        if (!accepting)
            return false;
        queue.push_back(std::move(work));
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(wakeup, &one, sizeof one);
    return true;
}

// Runs every queued call, in order; calls queued meanwhile run too.
void drainqueue()
{
    uint64_t count = 0;
    [[maybe_unused]] ssize_t got = read(wakeup, &count, sizeof count);
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard lock(queuelock);
            if (queue.empty())
                return;
            work = std::move(queue.front());
            queue.pop_front();
        }
        work();
    }
}

void runhandoff(Handoff& handoff)
{
    int expected = pending;
    if (!handoff.state.compare_exchange_strong(expected, running))
        return;  // the waiter gave up
    (*handoff.work)();
    handoff.state.store(finished);
}

// Waits until the queued work has run, or gives up when the application
// goes away before the work started.
void waitfor(Handoff& handoff)
{
    while (handoff.state.load() != finished) {
        if (!alive.load()) {
            int expected = pending;
            if (handoff.state.compare_exchange_strong(expected, abandoned))
                return;
        }
        sleep_ms(1);
    }
}

}  // namespace

void attachmainthread(QCoreApplication* application)
{
    ismain = true;
    markmainthread();
    if (wakeup < 0)
        wakeup = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    notifier = new QSocketNotifier(wakeup, QSocketNotifier::Read, application);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { drainqueue(); });
    {
        std::lock_guard lock(queuelock);
        accepting = true;
    }
    alive.store(true);
}

void detachmainthread()
{
    alive.store(false);
    std::lock_guard lock(queuelock);
    accepting = false;
    queue.clear();
}

namespace platform {

bool available()
{
    return alive.load();
}

bool on_main_thread()
{
    return ismain;
}

void run_on_main(const std::function<void()>& work)
{
    if (!alive.load())
        return;
    if (ismain) {
        work();
        return;
    }
    auto handoff = std::make_shared<Handoff>();
    handoff->work = &work;
    if (enqueue([handoff] { runhandoff(*handoff); }))
        waitfor(*handoff);
}

void post_to_main(std::function<void()> work)
{
    enqueue(std::move(work));
}

}  // namespace platform
