// What the rest of the desktop front-end asks of the windows beyond the
// runtime's port (platform_windows.cpp fills that in through port.h).
#pragma once

// Shows the graphic window in front (the active one, else the first
// visible one) full screen, or back as it was before.
void togglefullscreen();
