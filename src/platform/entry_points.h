// What a front-end may call in the runtime (the inbound port).
//
// A front-end (src/frontends/...) includes this header, platform/platform.h
// (what it provides to the runtime) and util/, and nothing else of the
// runtime. Everything here is called on the front-end's main thread unless
// it says otherwise. The runtime's own headers include this one, so each
// entry point is declared once.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "util/uninitialized_allocator.h"

// Graphic windows 0..7 are shown by views View00..View07; 8 pasteboard,
// 9 virtual printer, 10 system console, 11 preferences, 12 main window.
constexpr int graphicwindowcount = 8;

// ---- Start and end ------------------------------------------------------------

// The work done once the front-end's event loop runs: the launch lines,
// the runtime's tables, the title bar measurement, and the program on its
// own thread.
void launchwork();
// The application is terminating: prints "applicationWillTerminate:
// Called." and calls the program's terminate handler.
void applicationwillterminate();
// The calling thread is the main thread (thread number 1). The hand-off
// queue of platform/main_thread.h calls this when a front-end attaches.
void markmainthread();
// The title bar height the runtime measured at launch (0 before).
int64_t measuredtitlebarheight();

// ---- Keys ---------------------------------------------------------------------

// Modifier flag bits of a key press or click.
constexpr uint64_t capslockflag = 1u << 16;
constexpr uint64_t shiftflag = 1u << 17;
constexpr uint64_t controlflag = 1u << 18;
constexpr uint64_t optionflag = 1u << 19;
constexpr uint64_t commandflag = 1u << 20;
constexpr uint64_t numericpadflag = 1u << 21;
constexpr uint64_t helpflag = 1u << 22;
constexpr uint64_t fnflag = 1u << 23;

// A key press in platform-neutral form: the virtual key code by physical
// key position (A = 0, Return = 36, ...), the characters the key produced
// (UTF-8; empty for a dead key) and the modifier flags above.
struct t_KeyPress {
    int64_t KeyCode = 0;
    std::string Characters;
    uint64_t ModifierFlags = 0;
};

// A key went down in the view of graphic window `window`.
void viewKeyDown(int window, const t_KeyPress& press);
// A key went up in a graphic view.
void viewKeyUp();
// A modifier key changed; `modifierFlags` is the state after the change.
void viewFlagsChanged(uint64_t modifierFlags);
// The text cursor's cell in the image of graphic window `window`, in pixels
// from its top left, and the image's size: where an input method shows what
// it is composing. All 0 when the window is not set up.
struct t_CursorCell {
    int64_t X = 0;
    int64_t Y = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    int64_t ImageWidth = 0;
    int64_t ImageHeight = 0;
};
t_CursorCell viewtextcursor(int window);
// Text pasted into graphic window `window` (the clipboard, the primary
// selection, a terminal's bracketed paste): its first line is typed into
// the line editor as pasted characters, which never end or cancel the line.
void viewPaste(int window, const std::string& text);

// ---- Mouse and close box ------------------------------------------------------

// A mouse press: position in the window's coordinates (origin bottom left,
// y up), modifier flags, pressed buttons (bit 0 primary, bit 1 secondary).
struct t_MousePress {
    double X = 0;
    double Y = 0;
    uint64_t ModifierFlags = 0;
    int64_t PressedButtons = 0;
};

void viewMouseDown(int window, const t_MousePress& press, bool right);
void viewMouseUp();
// The close box of window `window` was clicked (the window is hidden).
void t_MouseEventPostCloseBoxClick(uint8_t window);

// ---- Menus --------------------------------------------------------------------

// A chosen menu item as the front-end reports it.
struct t_MenuItemInfo {
    bool InMenu = false;  // false: the item belongs to no menu
    std::string MenuTitle;
    std::string ItemTitle;
    std::string KeyEquivalent;
    uint64_t KeyModifiers = 0;
    int64_t Tag = 0;
};

// Records the choice and runs its built-in command, or starts the
// program's menu handler on its own task.
void t_MenuEventHandler(const t_MenuItemInfo& item);

// ---- Drawing a view -----------------------------------------------------------

using PixelBuffer = std::vector<uint32_t, uninitializedallocator<uint32_t>>;

// Width x Height pixels, top row first, no padding. Each pixel is the
// 32-bit value 0xAARRGGBB (alpha always 255) in native byte order, the
// layout QImage::Format_RGB32 and Format_ARGB32 use, so a view can wrap the
// buffer without converting it again. BitDepth and MemoryStart name the
// pixel block the image was converted from.
struct WindowImage {
    int64_t Width = 0;
    int64_t Height = 0;
    int64_t BitDepth = 0;
    int64_t MemoryStart = -1;
    PixelBuffer Pixels;
};

// Starts a drawing pass of view n: none when the memory is not ready (the
// front-end then draws its own background) or there is no image. The image
// is kept from pass to pass; a pass converts only the rows marked since the
// last one (every row of a window the refresh thread does not update, and
// after t_WindowUpdate). View 0 holds window 0's VerticalBlank false from
// here until viewenddraw.
std::shared_ptr<WindowImage> viewbegindraw(uint8_t window);
void viewenddraw(uint8_t window);

// ---- Reading a window's text cells ----------------------------------------------
// For a front-end that shows a graphic window as text (a terminal) rather
// than as pixels.

// Which face of the window's font drew a cell.
enum class t_FontFace : uint8_t { regular = 0, bold = 1, italic = 2 };

// One character cell: the code (128..255 are the Latin-1 letters), the
// attribute byte as drawn (ink in the high nibble, paper in the low one;
// an inverted cell holds them swapped) and the face that drew it.
struct t_TextCell {
    uint8_t Code = 32;
    uint8_t Attribute = 0;
    t_FontFace Face = t_FontFace::regular;
    bool operator==(const t_TextCell&) const = default;
};

// A copy of a window's text grid and what goes around it.
struct t_TextScreen {
    int64_t Columns = 0;
    int64_t Lines = 0;
    std::vector<t_TextCell> Cells;  // Lines x Columns, top line first
    int64_t CursorColumn = 0;       // the text cursor (1-based)
    int64_t CursorLine = 0;
    uint32_t MarginColour = 0;      // 0xRRGGBB of the margin around the window
};

// Copies the text grid of graphic window `window` into `screen` (reusing
// its storage); false when the window is not set up or has no text. Any
// thread; the cells may change while they are read, as pixels may.
bool viewtextscreen(uint8_t window, t_TextScreen& screen);
// The colour number's red, green and blue as 0xRRGGBB (black for 16 and up).
uint32_t palettergb(unsigned number);

// ---- Reading a window's screen text ----------------------------------------------
// For a front-end that reads a graphic window out as text (to assistive
// technology).

// A window's text as Text kopieren copies it: each line without its
// trailing blanks, carriage returns between the lines, no empty lines at
// the end, graphic characters as printable look-alikes (each cell is one
// character). The grid's size, and the text cursor as 1-based column and
// line of the grid.
struct t_ScreenText {
    std::string Text;
    int64_t Columns = 0;  // the grid's size
    int64_t Lines = 0;
    int64_t CursorColumn = 0;
    int64_t CursorLine = 0;
};

// Reads graphic window `window`'s text into `screen`; false, and no
// message, when the window is not set up or has no text. Any thread; the
// text may change while it is read.
bool viewscreentext(uint8_t window, t_ScreenText& screen);
