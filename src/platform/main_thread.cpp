// Handing work to the main thread.
//
// The main thread never waits for another thread; other threads queue a
// call and sleep until it has run. The calls travel in a queue of our own
// under a std::mutex, and an eventfd only wakes the front-end's event loop.
// Passing the calls through a toolkit's own event queue would work as well,
// but its locks are invisible to the thread sanitizer, which then reports
// every hand-off as a race; this way the hand-over is an ordinary mutex and
// condition variable that the tools understand.
//
// The queued call and its waiter agree through one state under the same
// mutex, so a waiter that gives up (the front-end is going away) can never
// have its work run later against a stack frame that is gone.
#include "platform/main_thread.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/entry_points.h"
#include "platform/platform.h"

namespace {

enum class HandoffState { pending, running, finished, abandoned };

struct Handoff {
    HandoffState state = HandoffState::pending;  // guarded by queuelock
    const std::function<void()>* work = nullptr;
};

std::mutex queuelock;
std::condition_variable handoffchanged;    // a hand-off finished, or detach
std::deque<std::function<void()>> queue;   // guarded by queuelock
bool accepting = false;                    // guarded by queuelock
int wakeup = -1;                           // eventfd; set once at the first attach
thread_local bool ismain = false;

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

void runhandoff(Handoff& handoff)
{
    {
        std::lock_guard lock(queuelock);
        if (handoff.state != HandoffState::pending)
            return;  // the waiter gave up
        handoff.state = HandoffState::running;
    }
    (*handoff.work)();
    {
        std::lock_guard lock(queuelock);
        handoff.state = HandoffState::finished;
    }
    handoffchanged.notify_all();
}

// Sleeps until the queued work has run, or gives up when the front-end goes
// away before the work started. Work that has started is waited for: it
// runs on the main thread and finishes.
void waitfor(Handoff& handoff)
{
    std::unique_lock lock(queuelock);
    handoffchanged.wait(lock, [&] {
        return handoff.state == HandoffState::finished ||
               (!accepting && handoff.state == HandoffState::pending);
    });
    if (handoff.state == HandoffState::pending)
        handoff.state = HandoffState::abandoned;
}

}  // namespace

void attachmainthread()
{
    ismain = true;
    markmainthread();
    if (wakeup < 0)
        wakeup = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    std::lock_guard lock(queuelock);
    accepting = true;
}

void detachmainthread()
{
    {
        std::lock_guard lock(queuelock);
        accepting = false;
        queue.clear();
    }
    handoffchanged.notify_all();
}

int mainthreadwakeup()
{
    return wakeup;
}

void runmainthreadqueue()
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

namespace platform {

bool available()
{
    std::lock_guard lock(queuelock);
    return accepting;
}

bool on_main_thread()
{
    return ismain;
}

void run_on_main(const std::function<void()>& work)
{
    if (ismain) {
        if (available())
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
