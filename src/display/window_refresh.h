// The refresh thread that makes video memory visible, and the views'
// drawing logic (the toolkit side only paints the image it is given).
#pragma once

#include <cstdint>
#include <memory>

#include "display/window_image.h"
#include "util/relaxed.h"

// True while t_WindowAutoUpdateProcess runs; prevents a second one.
extern relaxed<bool> refreshrunning;

// The body of the refresh thread: marks each due auto-updating window's
// view for display at the window's RefreshRate.
void t_WindowAutoUpdateProcess();

// Redraws window 0..7: deferred marks the view, otherwise it is drawn
// before the call returns. Not on the main thread.
void t_WindowUpdate(uint8_t window, bool deferred);

// View side (main thread). A view has one drawing pass whatever QuickUpdate
// says: the toolkit offers no separate layer path.
// Starts a drawing pass of view n: none when the memory is not ready (the
// toolkit then draws its own background) or there is no image. View 0 holds
// window 0's VerticalBlank false from here until viewenddraw.
std::shared_ptr<WindowImage> viewbegindraw(uint8_t window);
void viewenddraw(uint8_t window);
