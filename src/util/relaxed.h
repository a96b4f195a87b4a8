// A value shared between threads without a lock.
//
// The runtime's records (window table, flags) are written by one thread and
// read by others that tolerate a stale value: the refresh thread may see a
// window's old refresh rate for one pass, a view may draw one frame with an
// old size. C++ still forbids a plain data race, so every such field is an
// atomic used with relaxed ordering. On x86-64 and ARM64 a relaxed load or
// store of a word is an ordinary move, so the records cost nothing extra,
// and the wrapper keeps the code reading like plain field access.
//
// Read-modify-write through `+=` or `++` is a load followed by a store, not
// an atomic increment: every field has a single writer.
#pragma once

#include <atomic>
#include <ostream>

template <typename T>
class relaxed {
public:
    constexpr relaxed() noexcept : value_{} {}
    constexpr relaxed(T v) noexcept : value_{v} {}  // NOLINT: implicit on purpose
    relaxed(const relaxed& other) noexcept : value_{other.load()} {}
    relaxed& operator=(const relaxed& other) noexcept
    {
        store(other.load());
        return *this;
    }
    relaxed& operator=(T v) noexcept
    {
        store(v);
        return *this;
    }

    T load() const noexcept { return value_.load(std::memory_order_relaxed); }
    void store(T v) noexcept { value_.store(v, std::memory_order_relaxed); }
    operator T() const noexcept { return load(); }  // NOLINT: implicit on purpose

    relaxed& operator+=(T d) noexcept
    {
        store(static_cast<T>(load() + d));
        return *this;
    }
    relaxed& operator-=(T d) noexcept
    {
        store(static_cast<T>(load() - d));
        return *this;
    }
    relaxed& operator++() noexcept { return *this += T{1}; }
    relaxed& operator--() noexcept { return *this -= T{1}; }

private:
    std::atomic<T> value_;
};

template <typename T>
std::ostream& operator<<(std::ostream& os, const relaxed<T>& v)
{
    return os << +v.load();  // bytes print as numbers
}
