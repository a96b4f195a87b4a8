#include <gtest/gtest.h>

#include "startup/threads.h"
#include "util/clock.h"
#include "util/diagnostics.h"

#include <pthread.h>

#include <atomic>
#include <climits>
#include <mutex>
#include <thread>

namespace {

// Polls `done` every millisecond for up to ten seconds.
bool waitfor(const std::function<bool()>& done)
{
    for (int i = 0; i < 10000 && !done(); ++i)
        sleep_ms(1);
    return done();
}

size_t ownstacksize()
{
    pthread_attr_t attributes;
    size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        pthread_attr_getstacksize(&attributes, &size);
        pthread_attr_destroy(&attributes);
    }
    return size;
}

}  // namespace

TEST(Threads, NumbersFollowTheOrderOfStart)
{
    EXPECT_EQ(threadnumber(), 0);
    markmainthread();
    EXPECT_EQ(threadnumber(), 1);
    int64_t foreign = -1;
    std::thread([&] { foreign = threadnumber(); }).join();
    EXPECT_EQ(foreign, 0);

    std::mutex lock;
    std::vector<int64_t> seen;
    for (int i = 0; i < 4; ++i)
        startprocess([&] {
            std::lock_guard<std::mutex> hold(lock);
            seen.push_back(threadnumber());
        }, 0);
    ASSERT_TRUE(waitfor([&] {
        std::lock_guard<std::mutex> hold(lock);
        return seen.size() == 4;
    }));
    EXPECT_EQ(seen, (std::vector<int64_t>{2, 3, 4, 5}));
    std::atomic<int64_t> background{0};
    startbackgroundtask([&] { background = threadnumber(); });
    ASSERT_TRUE(waitfor([&] { return background != 0; }));
    EXPECT_EQ(background, 6);
}

TEST(Threads, StackSizesAreHonoured)
{
    std::atomic<size_t> program{0};
    std::atomic<size_t> service{0};
    startprocess([&] { program = ownstacksize(); }, 0x40000000);
    startbackgroundtask([&] { service = ownstacksize(); });
    ASSERT_TRUE(waitfor([&] { return program != 0 && service != 0; }));
    EXPECT_GE(program, size_t{0x40000000});
    EXPECT_GE(service, size_t{8 << 20});

    std::atomic<bool> deep{false};  // far deeper than a default 8 MiB stack allows
    startprocess([&] {
        std::function<int(int)> down = [&](int n) {
            volatile char frame[4096];
            frame[0] = static_cast<char>(n);
            return n == 0 ? 0 : down(n - 1) + frame[0] % 2;
        };
        down(16 * 1024);  // 64 MiB of frames
        deep = true;
    }, 256 << 20);
    EXPECT_TRUE(waitfor([&] { return deep.load(); }));
}

TEST(Threads, HandOffsLoseNoFunctionAndSurviveAFailedStart)
{
    std::atomic<int> ran{0};
    std::vector<std::thread> callers;
    for (int i = 0; i < 4; ++i)
        callers.emplace_back([&] { startprocess([&] { ++ran; }, 0); });
    for (std::thread& caller : callers)
        caller.join();
    EXPECT_TRUE(waitfor([&] { return ran == 4; }));

    DiagCapture out;
    startprocess([&] { ran = 100; }, INT64_MAX);
    const std::vector<std::string> lines = out.lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("startprocess: Thread could not be started: ")) << lines[0];
    startprocess([&] { ++ran; }, -5);  // the slot is free again; default stack
    EXPECT_TRUE(waitfor([&] { return ran == 5; }));
}

TEST(Threads, EndcurrentthreadUnwindsToTheEntry)
{
    struct Sentinel {
        std::atomic<bool>& flag;
        ~Sentinel() { flag = true; }
    };
    std::atomic<bool> unwound[2] = {false, false};
    std::atomic<bool> after{false};
    startprocess([&] {
        Sentinel sentinel{unwound[0]};
        endcurrentthread();
        after = true;
    }, 0);
    startbackgroundtask([&] {
        {
            Sentinel sentinel{unwound[1]};
            endcurrentthread();
        }
        after = true;
    });
    ASSERT_TRUE(waitfor([&] { return unwound[0] && unwound[1]; }));
    sleep_ms(20);
    EXPECT_FALSE(after);

    EXPECT_FALSE(endcurrentthread());  // not a runtime thread: nothing happens
    markmainthread();
    EXPECT_FALSE(endcurrentthread());
}

TEST(Threads, NamesAreCutToFifteenBytesOnACharacterBoundary)
{
    const std::string ae = "\xC3\x84";
    const std::pair<std::string, std::string> rows[] = {
        {"t_EventMouse", "t_EventMouse"}, {"t_WindowAutoUpdate", "t_WindowAutoUpd"},
        {std::string(8, 'x') + ae + ae + ae + ae, std::string(8, 'x') + ae + ae + ae}, {"", ""},
    };
    for (const auto& [name, kept] : rows) {
        char named[32] = {};
        std::thread([&] {
            namethread(name);
            pthread_getname_np(pthread_self(), named, sizeof named);
        }).join();
        EXPECT_EQ(std::string(named), kept);
    }
}
