// The interface, built once in code: eight graphic windows with their
// views, the pasteboard, printer and console windows with their text views
// and rulers, the preferences and main windows, and the shared menu bar.
// Every window starts hidden.
#pragma once

// Builds everything and connects the delegate's outlets (main thread).
void buildinterface();
// Destroys the windows and menus again (main thread, at the end).
void destroyinterface();
