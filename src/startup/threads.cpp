#include "startup/threads.h"

#include "platform/platform.h"
#include "util/clock.h"
#include "util/diagnostics.h"

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits.h>
#include <memory>

namespace {

// Thrown by endcurrentthread and caught only by runtoend: it unwinds the
// thread's stack (running destructors) back to the entry.
struct ThreadEnd {};

thread_local int64_t ownnumber = 0;
thread_local bool startedhere = false;
std::atomic<int64_t> nextnumber{2};

// The one-slot mailbox of startprocess: a caller owns the slot from setting
// `handoffbusy` until the new thread has taken the function and cleared it.
std::atomic<bool> handoffbusy{false};
t_Function handofffunction = [] {};
int64_t handoffstacksize = 0;

// Service tasks get a stack of their own of this size.
constexpr int64_t backgroundstacksize = 8 * 1024 * 1024;

// Numbers are taken when a thread starts running. The program-thread entry
// takes its number before it frees the hand-off slot, so threads started
// one after another with startprocess are numbered in that order.
void takenumber()
{
    ownnumber = nextnumber.fetch_add(1);
    startedhere = true;
}

void runtoend(const t_Function& function)
{
    try {
        function();
    } catch (const ThreadEnd&) {
        // endcurrentthread: the stack is unwound, the thread ends here.
    }
}

void* programentry(void*)
{
    takenumber();
    const t_Function function = std::move(handofffunction);
    handofffunction = [] {};
    handoffbusy.store(false, std::memory_order_release);
    runtoend(function);
    return nullptr;
}

void* backgroundentry(void* argument)
{
    takenumber();
    const std::unique_ptr<t_Function> function(static_cast<t_Function*>(argument));
    runtoend(*function);
    return nullptr;
}

// The size pthreads accepts nearest to `requested`: at least the system
// minimum, a whole number of pages. Zero or less keeps the default.
size_t usablestacksize(int64_t requested)
{
    if (requested <= 0)
        return 0;
    const auto page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    uint64_t size = std::max<uint64_t>(static_cast<uint64_t>(requested), PTHREAD_STACK_MIN);
    size = (size + page - 1) / page * page;
    return static_cast<size_t>(size);
}

// Starts a detached thread; answers 0 or the error number.
int createthread(void* (*entry)(void*), void* argument, int64_t stacksize)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    int error = 0;
    if (const size_t size = usablestacksize(stacksize); size != 0)
        error = pthread_attr_setstacksize(&attributes, size);
    pthread_t thread;
    if (error == 0)
        error = pthread_create(&thread, &attributes, entry, argument);
    pthread_attr_destroy(&attributes);
    return error;
}

void reportfailure(const char* operation, int error)
{
    diag_line(std::string(operation) + ": Thread could not be started: " + std::strerror(error) +
              ".");
}

void createprogramthread()
{
    const int error = createthread(programentry, nullptr, handoffstacksize);
    if (error == 0)
        return;
    handofffunction = [] {};
    handoffbusy.store(false, std::memory_order_release);
    reportfailure("startprocess", error);
}

}  // namespace

void startprocess(t_Function function, int64_t stacksize)
{
    bool expected = false;
    while (!handoffbusy.compare_exchange_weak(expected, true, std::memory_order_acquire)) {
        expected = false;
        sleep_ms(1);
    }
    handoffstacksize = stacksize;
    handofffunction = function ? std::move(function) : [] {};
    sleep_ms(10);
    if (!platform::available() || platform::on_main_thread())
        createprogramthread();
    else
        platform::run_on_main(createprogramthread);
}

void startbackgroundtask(t_Function function)
{
    auto* owned = new t_Function(function ? std::move(function) : [] {});
    const int error = createthread(backgroundentry, owned, backgroundstacksize);
    if (error == 0)
        return;
    delete owned;
    reportfailure("startbackgroundtask", error);
}

int64_t threadnumber()
{
    return ownnumber;
}

void markmainthread()
{
    ownnumber = 1;
}

void namethread(const std::string& name)
{
    // Linux keeps 15 bytes; a cut must not split a UTF-8 sequence.
    size_t size = std::min<size_t>(name.size(), 15);
    while (size < name.size() && size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80)
        --size;
    pthread_setname_np(pthread_self(), name.substr(0, size).c_str());
}

bool endcurrentthread()
{
    if (!startedhere)
        return false;
    throw ThreadEnd{};
}
