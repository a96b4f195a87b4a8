// Conversion of a graphic window's pixel block into a displayable image.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/entry_points.h"

// A fresh image of the window; none when the memory is not ready, the
// window is not set up (a line is printed) or hidden, or has no pixels.
std::shared_ptr<WindowImage> t_WindowImage(uint8_t window);
