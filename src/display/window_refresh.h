// The refresh thread that makes video memory visible, and the views'
// drawing logic (the toolkit side only paints the image it is given).
#pragma once

#include <cstdint>
#include <memory>

#include "display/window_image.h"
#include "util/relaxed.h"

// True while t_WindowAutoUpdateProcess runs; prevents a second one.
extern relaxed<bool> refreshrunning;

// Asks the refresh thread to end for good (the application terminates): its
// loop ends after the current pass, and views that go away meanwhile are no
// failure. The flag stays set.
void stoprefresh();
extern relaxed<bool> refreshstopped;

// The body of the refresh thread: marks each due auto-updating window's
// view for display at the window's RefreshRate, and only the rows of it
// that were written since the last mark.
void t_WindowAutoUpdateProcess();

// Wakes the refresh thread to look at the windows again now: for changes
// it cannot see coming, a window set up or its refresh rate changed. The
// thread also looks by itself at least every 100 ms while rows wait to be
// shown (a program may change RefreshRate by assignment).
void wakerefresh();
// The same from the write-fault handler, and only when the thread sleeps
// until the first write: async-signal-safe and cheap for every other fault.
void wakerefreshforwrite() noexcept;

// Redraws window 0..7: deferred marks the view, otherwise it is drawn
// before the call returns. Not on the main thread.
void t_WindowUpdate(uint8_t window, bool deferred);

// The view side (viewbegindraw, viewenddraw) is in platform/entry_points.h.
// A view has one drawing pass whatever QuickUpdate says: the toolkits offer
// no separate layer path.
