// Placement, titling and visibility of windows 0..12, the margin colour of a
// graphic window, and ending the program with a last message.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct PlatformTextView;

// A position or size chosen by selector 0..20 (0 for any other).
int64_t t_WindowPos(uint8_t window, int64_t selector);
// Moves and sizes the window; -1 keeps the current value. x, y: the frame's
// lower left corner on the screen; width, height: the drawing size.
void t_WindowSize(uint8_t window, int64_t x, int64_t y, int64_t width, int64_t height);
void t_WindowCenter(uint8_t window);
// Shows the window, makes it the key window and orders it to the front.
void t_WindowFront(uint8_t window);
// Sets the title; off the main thread the change is queued, not waited for.
void t_WindowTitle(uint8_t window, const std::string& title);
void t_WindowTitleVisible(uint8_t window, bool visible);
void t_WindowVisible(uint8_t window, bool visible);
// Colours the margin of a graphic window with palette colour (colour & 15).
void t_ColorBorder(uint8_t window, int64_t colour);
// Writes "(Programm Ende)" into the window and ends the calling thread.
void t_QuitProgram(uint8_t window);

// Runs `work` on the main thread with the text view of window 8, 9 or 10, in
// one hand-off. Without the view (or without a desktop) prints "<op>:
// <Name> window is nil, resource undefined." on the calling thread and
// answers false.
bool withtextwindowview(const char* op, uint8_t window,
                        const std::function<void(PlatformTextView*)>& work);
