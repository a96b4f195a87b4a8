// Storage that `resize(n)` leaves uninitialised.
#pragma once

#include <memory>
#include <utility>
#include <vector>

// A pixel conversion writes every pixel, and clearing 4 MB first would cost
// half a memcpy on every frame. Everything else (data(), size(), copies,
// filling with a value) behaves as with the standard allocator.
template <typename T>
struct uninitializedallocator : std::allocator<T> {
    using std::allocator<T>::allocator;
    template <typename U>
    struct rebind {
        using other = uninitializedallocator<U>;
    };
    template <typename U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
