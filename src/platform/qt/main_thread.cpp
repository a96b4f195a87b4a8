// Handing work to the main thread.
//
// The main thread never waits for another thread; other threads queue a
// call on the application object and poll a flag every millisecond. The
// queued call and its waiter agree through one atomic state, so a waiter
// that gives up (the application is quitting) can never have its work run
// later against a stack frame that is gone.
#include "platform/qt/main_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <memory>
#include <mutex>

#include "platform/platform.h"
#include "startup/threads.h"
#include "util/clock.h"

namespace {

std::mutex applicationlock;  // held while queueing, so teardown cannot race it
QCoreApplication* application = nullptr;  // guarded by applicationlock
std::atomic<bool> alive{false};
thread_local bool ismain = false;

enum HandoffState : int { pending, running, finished, abandoned };

struct Handoff {
    std::atomic<int> state{pending};
    const std::function<void()>* work = nullptr;
};

bool enqueue(std::function<void()> work)
{
    std::lock_guard lock(applicationlock);
    if (application == nullptr)
        return false;
    QMetaObject::invokeMethod(application, std::move(work), Qt::QueuedConnection);
    return true;
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

void attachmainthread(QCoreApplication* app)
{
    ismain = true;
    markmainthread();
    {
        std::lock_guard lock(applicationlock);
        application = app;
    }
    alive.store(true);
}

void detachmainthread()
{
    alive.store(false);
    std::lock_guard lock(applicationlock);
    application = nullptr;
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
