#include "util/clock.h"

#include <chrono>
#include <thread>

namespace {
// 2001-01-01 00:00:00 UTC in Unix seconds.
constexpr int64_t epoch_2001_unix_seconds = 978307200;
}

double absolute_seconds()
{
    using namespace std::chrono;
    auto since_unix = duration<double>(system_clock::now().time_since_epoch()).count();
    return since_unix - static_cast<double>(epoch_2001_unix_seconds);
}

int64_t absolute_ms()
{
    return absolute_us() / 1000;
}

int64_t absolute_us()
{
    using namespace std::chrono;
    auto us = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    return us - epoch_2001_unix_seconds * 1000000;
}

void sleep_ms(int64_t milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
