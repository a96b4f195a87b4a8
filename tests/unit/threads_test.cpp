#include <gtest/gtest.h>

#include "startup/threads.h"
#include "util/clock.h"
#include "util/diagnostics.h"

#include <pthread.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

// The program thread, started first, must be 2; the one hand-off slot must
// lose no function of concurrent callers and be free again after a failure.
TEST(Threads, NumbersStacksHandOffsAndEnding)
{
    EXPECT_EQ(threadnumber(), 0);
    markmainthread();
    EXPECT_EQ(threadnumber(), 1);
    EXPECT_FALSE(endcurrentthread());
    int64_t foreign = -1;
    std::thread([&] { foreign = threadnumber(); }).join();
    EXPECT_EQ(foreign, 0);

    std::mutex lock;
    std::map<int64_t, size_t> stacks;  // thread number -> its stack size
    const auto note = [&] {
        pthread_attr_t attributes;
        size_t size = 0;
        pthread_getattr_np(pthread_self(), &attributes);
        pthread_attr_getstacksize(&attributes, &size);
        pthread_attr_destroy(&attributes);
        std::lock_guard<std::mutex> hold(lock);
        stacks[threadnumber()] = size;
    };
    const auto started = [&](size_t n) {  // waits up to ten seconds for n threads
        for (int i = 0; i < 10000; ++i, sleep_ms(1)) {
            std::lock_guard<std::mutex> hold(lock);
            if (stacks.size() >= n)
                return stacks.size() == n;
        }
        return false;
    };
    startprocess(note, 0x40000000);
    std::vector<std::thread> callers;
    for (int i = 0; i < 3; ++i)
        callers.emplace_back([&] { startprocess(note, 0); });
    for (std::thread& caller : callers)
        caller.join();
    ASSERT_TRUE(started(4));
    startbackgroundtask(note);
    ASSERT_TRUE(started(5));

    DiagCapture out;
    startprocess(note, INT64_MAX);
    ASSERT_EQ(out.lines().size(), 1u);
    EXPECT_TRUE(out.lines()[0].starts_with("startprocess: Thread could not be started: ")) << out.lines()[0];
    struct Sentinel {
        std::function<void()> onexit;
        ~Sentinel() { onexit(); }
    };
    std::atomic<bool> returned{false};
    startprocess([&] {
        Sentinel sentinel{note};
        endcurrentthread();
        returned = true;  // before the sentinel notes the thread, had it returned
    }, -5);  // default stack
    ASSERT_TRUE(started(6));
    EXPECT_FALSE(returned);

    std::vector<int64_t> numbers;
    for (const auto& [number, size] : stacks)
        numbers.push_back(number);
    EXPECT_EQ(numbers, (std::vector<int64_t>{2, 3, 4, 5, 6, 7}));
    EXPECT_GE(stacks[2], size_t{0x40000000});
    EXPECT_GE(stacks[6], size_t{8 << 20}) << "service task";
}
