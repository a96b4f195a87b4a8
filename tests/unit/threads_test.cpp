#include <gtest/gtest.h>

#include "startup/tables.h"
#include "startup/threads.h"
#include "util/clock.h"
#include "util/diagnostics.h"

#include <pthread.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

// Threads take numbers in the order they start, the program thread with
// its full stack (that it is 2 in a fresh process shows in the program's
// start-up lines); threads the runtime did not start are 0 and the main
// thread is 1. The hand-off slot is free again after a failure; an ended
// thread unwinds and never returns.
TEST(Threads, NumbersStacksHandOffsAndEnding)
{
    std::atomic<int64_t> outside{-1}, marked{-1};
    std::thread([&] {
        outside = threadnumber();
        markmainthread();
        marked = threadnumber();
        EXPECT_FALSE(endcurrentthread());
    }).join();
    EXPECT_EQ(std::pair(outside.load(), marked.load()), std::pair(int64_t{0}, int64_t{1}));
    std::atomic<int64_t> numbers[3] = {};
    std::atomic<size_t> stacks[3] = {}, count = 0;  // program thread, service task, ended thread
    const auto note = [&](int which) {
        pthread_attr_t attributes;
        size_t size = 0;
        pthread_getattr_np(pthread_self(), &attributes);
        pthread_attr_getstacksize(&attributes, &size);
        pthread_attr_destroy(&attributes);
        stacks[which] = size;
        numbers[which] = threadnumber();
        ++count;
    };
    const auto started = [&](size_t n) {  // waits up to ten seconds for n threads
        for (int i = 0; i < 10000 && count < n; ++i)
            sleep_ms(1);
        return count == n;
    };
    startprocess([&] { note(0); }, 0x40000000);
    ASSERT_TRUE(started(1));
    startbackgroundtask([&] { note(1); });
    ASSERT_TRUE(started(2));
    DiagCapture out;
    startprocess([&] { note(2); }, INT64_MAX);
    EXPECT_TRUE(out.lines().size() == 1 && out.lines()[0].starts_with("startprocess: Thread could not be started: "))
        << testing::PrintToString(out.lines());
    std::atomic<bool> returned{false};
    startprocess([&] {
        const std::shared_ptr<void> sentinel(nullptr, [&](void*) { note(2); });  // notes the thread while unwinding
        endcurrentthread();
        returned = true;
    }, -5);  // default stack
    ASSERT_TRUE(started(3));
    EXPECT_FALSE(returned);
    EXPECT_TRUE(numbers[0] >= 2 && numbers[1] > numbers[0] && numbers[2] > numbers[1])
        << numbers[0] << " " << numbers[1] << " " << numbers[2];
    EXPECT_TRUE(stacks[0] >= 0x40000000 && stacks[1] >= 8 << 20 && stacks[2] > 0)
        << stacks[0] << " " << stacks[1] << " " << stacks[2];
}

// From zeroed tables: case pairs only for A-Z and the Latin-1 letters with
// both cases in the character set, hex values for both digit cases.
TEST(Tables, InittermkitBuildsTheTablesBetweenItsTwoLines)
{
    std::memset(uppercasetable, 0, sizeof uppercasetable);
    std::memset(lowercasetable, 0, sizeof lowercasetable);
    std::memset(hexdigittable, 0, sizeof hexdigittable);
    std::memset(hexvaluetable, 0, sizeof hexvaluetable);
    DiagCapture out;
    inittermkit();
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"inittermkit: Start.", "inittermkit: End."}));
    // The pair count and the round trip below prove the rest of the letters.
    for (const auto& [code, upper, lower] : {std::array{97, 65, 97}, {122, 90, 122}, {228, 196, 228}, {214, 214, 246},
                                             {215, 215, 215}, {223, 223, 223}, {247, 247, 247}, {255, 255, 255}})
        EXPECT_EQ((std::pair<int, int>(uppercasetable[code], lowercasetable[code])), std::pair(upper, lower)) << code;
    int pairs = 0;
    for (int code = 0; code < 256; pairs += uppercasetable[code] != code, ++code)
        EXPECT_TRUE(uppercasetable[code] == code || lowercasetable[uppercasetable[code]] == code) << code;
    EXPECT_EQ(pairs, 26 + 5 + 16 + 4);
    EXPECT_EQ(std::string(hexdigittable, hexdigittable + 16), "0123456789ABCDEF");
    for (int code = 0; code < 256; ++code)  // 87 is 'a' - 10
        EXPECT_EQ(hexvaluetable[code], !std::isxdigit(code) ? -1 : code <= '9' ? code - '0' : (code | 32) - 87) << code;
}
