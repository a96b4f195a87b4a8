// The window numbers, the record of a graphic window, the window table, the
// 16-colour palette and the guard that every graphic-window operation runs.
//
// Window numbers: 0..7 graphic windows (pixels and text in video memory,
// shown by views View00..View07), 8 pasteboard, 9 virtual printer,
// 10 system console, 11 preferences, 12 main window, 13..255 no window.
#pragma once

#include <cstdint>
#include <string>

#include "platform/entry_points.h"
#include "util/relaxed.h"
#include "windows/font_file.h"

struct PlatformWindow;  // opaque platform objects (platform/platform.h)
struct PlatformView;


struct t_RGBColor {
    uint8_t Alpha;
    uint8_t Red;
    uint8_t Green;
    uint8_t Blue;
    bool operator==(const t_RGBColor&) const = default;
};

struct t_DrawingRect {
    double X = 0, Y = 0, Width = 0, Height = 0;
};

// One graphic window. The program thread writes the record; the main thread
// (views, events) and the refresh thread read it without a lock, so every
// field they read is `relaxed`. Font, DrawingRect and the input string are
// touched by the program thread only.
struct t_Window {
    relaxed<bool> Initialized = false;
    relaxed<bool> Visible = false;
    relaxed<bool> IgnoreEvents = false;
    relaxed<bool> AutoUpdate = false;
    relaxed<bool> QuickUpdate = false;
    relaxed<bool> ScrollLock = false;
    relaxed<bool> VerticalBlank = true;
    relaxed<int64_t> UpdateStarted = 0;
    relaxed<int64_t> UpdateFinished = 0;
    relaxed<int64_t> UpdateDuration = 0;
    relaxed<int64_t> RefreshRate = 30;
    relaxed<PlatformWindow*> Window = nullptr;
    relaxed<PlatformView*> View = nullptr;
    t_DrawingRect DrawingRect;
    relaxed<int64_t> TitleHeight = 0;
    relaxed<int64_t> BorderWidth = 0;
    relaxed<int64_t> BorderHeight = 0;
    relaxed<t_RGBColor> RGBColorBorder = t_RGBColor{255, 0, 0, 0};
    relaxed<int64_t> BitDepth = 0;
    relaxed<int64_t> Width = 0;
    relaxed<int64_t> Height = 0;
    relaxed<t_RGBColor> RGBColor = t_RGBColor{255, 0, 0, 0};
    relaxed<int64_t> DrawingMode = 0;
    relaxed<int64_t> PositionX = 0;
    relaxed<int64_t> PositionY = 0;
    relaxed<int64_t> MemoryStart = -1;
    relaxed<int64_t> MemoryEnd = -1;
    t_Font Font;
    relaxed<int64_t> TextWidth = 0;
    relaxed<int64_t> TextHeight = 0;
    relaxed<int64_t> TextFirstColumn = 0;
    relaxed<int64_t> TextLastColumn = 0;
    relaxed<int64_t> TextFirstLine = 0;
    relaxed<int64_t> TextLastLine = 0;
    relaxed<int64_t> TextHpos = 0;
    relaxed<int64_t> TextVpos = 0;
    relaxed<uint8_t> TextColor = 0;
    relaxed<bool> TextInverse = false;
    relaxed<int64_t> TextDisplayMode = 0;
    relaxed<int64_t> TextCursorLevel = 0;
    relaxed<int64_t> TextRedirectOutput = 1;
    std::string InputString;
    relaxed<bool> InputFinished = false;
    relaxed<int64_t> InputMode = 0;
    relaxed<int64_t> InputHpos = 0;
    relaxed<int64_t> InputVpos = 0;
    relaxed<int64_t> InputCursorPos = 0;
    relaxed<int64_t> InputMaxCharacters = 0;
    relaxed<int64_t> LoResOffsetX = 0;
    relaxed<int64_t> LoResOffsetY = 0;
    relaxed<int64_t> LoResMode = 0;
    relaxed<int64_t> TextMemoryStart = -1;
    relaxed<int64_t> TextMemoryEnd = -1;
};

// The text block holds two planes of equal size, the character codes and
// then the attributes; this is the size of one.
inline int64_t textplanesize(const t_Window& w)
{
    return (w.TextMemoryEnd - w.TextMemoryStart + 1) / 2;
}

// The window table: one record per graphic window, indexed by number.
// It always exists; t_InitMemory resets it to eight empty records.
extern t_Window windowtable[graphicwindowcount];

// Runtime-wide values read by several threads.
extern relaxed<bool> memorystarted;  // t_InitMemory has begun
extern relaxed<bool> memoryready;    // t_InitMemory has finished; never cleared
extern relaxed<uint8_t> firstwindow; // first window t_InitWindow set up; 255 until then
extern relaxed<int64_t> titlebarheight;  // points, measured once at launch

// The palette: red, green and blue levels of colour numbers 0..15.
extern const uint8_t palettered[16];
extern const uint8_t palettegreen[16];
extern const uint8_t paletteblue[16];

// Opaque colour of a palette number; opaque black for 16 and above.
t_RGBColor palettecolor(unsigned number);

// The two lines of the guards: "<op>: Window is not a graphic window." and
// "<op>: Window #<n> not initialized.".
void notgraphic(const char* op);
void notinitialized(const char* op, uint8_t window);

// The graphic-window guard. Prints "<op>: Window is not a graphic window."
// for numbers of 8 and above, "<op>: Window #<n> not initialized." when the
// memory is not ready or the window not set up, and then answers false.
bool graphicwindowguard(const char* op, uint8_t window);

// The text guard: the graphic-window guard plus "the window has text
// memory" (same not-initialized line when it has none).
bool textwindowguard(const char* op, uint8_t window);

// True when the window is a set-up graphic window with text memory, without
// printing anything.
bool windowhastext(uint8_t window);
