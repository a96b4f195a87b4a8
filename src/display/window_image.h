// Conversion of a graphic window's pixel block into a displayable image.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// Storage that `resize(n)` leaves uninitialised: the conversion writes every
// pixel, and clearing 4 MB first would cost half a memcpy on every frame.
// Everything else (data(), size(), copies, filling with a value) behaves as
// with the standard allocator.
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

using PixelBuffer = std::vector<uint32_t, uninitializedallocator<uint32_t>>;

// Width x Height pixels, top row first, no padding. Each pixel is the
// 32-bit value 0xAARRGGBB (alpha always 255) in native byte order, the
// layout QImage::Format_RGB32 and Format_ARGB32 use, so a view can wrap the
// buffer without converting it again.
struct WindowImage {
    int64_t Width = 0;
    int64_t Height = 0;
    PixelBuffer Pixels;
};

// A fresh image of the window; none when the memory is not ready, the
// window is not set up (a line is printed) or hidden, or has no pixels.
std::shared_ptr<WindowImage> t_WindowImage(uint8_t window);
