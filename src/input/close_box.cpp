// The close box hides a window; it never closes it.
#include <string>

#include "input/mouse_events.h"
#include "util/diagnostics.h"
#include "windows/window_placement.h"

void t_MouseEventPostCloseBoxClick(uint8_t window)
{
    t_WindowVisible(window, false);
    diag_line("t_MouseEventPostCloseBoxClick: Window = " + std::to_string(window));
}
