#include "util/wakeup.h"

#include <cerrno>
#include <climits>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The futex word is the counter itself: a lock-free std::atomic<uint32_t>
// has the layout of a plain uint32_t.
uint32_t* word(std::atomic<uint32_t>& count)
{
    return reinterpret_cast<uint32_t*>(&count);
}

}  // namespace

void Wakeup::ring() noexcept
{
    const int saved = errno;
    count_.fetch_add(1);
    // Sequentially consistent with the sleeper's increment of sleepers_:
    // either this load sees the sleeper, or the sleeper's futex call sees
    // the new count and does not sleep.
    if (sleepers_.load() != 0)
        syscall(SYS_futex, word(count_), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
    errno = saved;
}

void Wakeup::sleep(uint32_t seen, int64_t timeout_us) noexcept
{
    timespec timeout{};
    if (timeout_us >= 0) {
        timeout.tv_sec = static_cast<time_t>(timeout_us / 1000000);
        timeout.tv_nsec = static_cast<long>(timeout_us % 1000000 * 1000);
    }
    sleepers_.fetch_add(1);
    if (count_.load() == seen)
        syscall(SYS_futex, word(count_), FUTEX_WAIT_PRIVATE, seen, timeout_us >= 0 ? &timeout : nullptr,
                nullptr, 0);
    sleepers_.fetch_sub(1);
}
