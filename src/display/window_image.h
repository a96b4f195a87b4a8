// Conversion of a graphic window's pixel block into a displayable image.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Width x Height pixels, top row first, no padding. Each pixel is the
// 32-bit value 0xAARRGGBB (alpha always 255) in native byte order, the
// layout QImage::Format_RGB32 and Format_ARGB32 use, so a view can wrap the
// buffer without converting it again.
struct WindowImage {
    int64_t Width = 0;
    int64_t Height = 0;
    std::vector<uint32_t> Pixels;
};

// A fresh image of the window; none when the memory is not ready, the
// window is not set up (a line is printed) or hidden, or has no pixels.
std::shared_ptr<WindowImage> t_WindowImage(uint8_t window);
