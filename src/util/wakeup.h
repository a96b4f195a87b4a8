// Sleeping until there is work: a bell that one thread sleeps by and any
// thread rings.
//
// A ring is an increment of one counter plus, only while a thread sleeps,
// one futex wake. Both are plain system-level steps without locks, so a
// signal handler may ring too (the video memory's write tracking does).
// A sleeper reads the counter before it looks for work and passes that
// reading to sleep: a ring that came in between ends the sleep at once, so
// no ring is ever missed.
#pragma once

#include <atomic>
#include <cstdint>

class Wakeup {
public:
    // The count to pass to sleep; read it before looking for work.
    uint32_t rung() const noexcept { return count_.load(); }
    // Ends every sleep that started with an older count. Async-signal-safe.
    void ring() noexcept;
    // Sleeps until the bell has been rung since `seen` was read, or for at
    // most `timeout_us` microseconds (forever when negative). May return
    // early; callers check for their work and sleep again.
    void sleep(uint32_t seen, int64_t timeout_us) noexcept;

private:
    static_assert(std::atomic<uint32_t>::is_always_lock_free);
    std::atomic<uint32_t> count_{0};
    std::atomic<uint32_t> sleepers_{0};
};

// A flag that rings a bell whenever it is set; otherwise a relaxed bool.
// For a flag a program sets by assignment to hand work to a task that
// sleeps until the flag is raised.
class RingingFlag {
public:
    explicit RingingFlag(Wakeup& bell) noexcept : bell_(bell) {}
    RingingFlag(const RingingFlag&) = delete;
    RingingFlag& operator=(const RingingFlag&) = delete;
    RingingFlag& operator=(bool v) noexcept
    {
        value_.store(v, std::memory_order_relaxed);
        if (v)
            bell_.ring();
        return *this;
    }
    operator bool() const noexcept { return value_.load(std::memory_order_relaxed); }  // NOLINT
    bool load() const noexcept { return *this; }

private:
    Wakeup& bell_;
    std::atomic<bool> value_{false};
};
