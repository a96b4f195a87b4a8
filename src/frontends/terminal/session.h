// The terminal front-end's state: what it keeps for the runtime's windows,
// text views and clipboard, and what the terminal shows. Main thread only.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "frontends/terminal/colours.h"
#include "frontends/terminal/grid.h"
#include "frontends/terminal/keys.h"
#include "frontends/terminal/log_view.h"
#include "platform/entry_points.h"
#include "platform/platform.h"

// Windows 0..12 as the runtime sees them; only window 0's text is shown
// (and the printer's, as the log view).
constexpr int terminalwindowcount = 13;
constexpr uint8_t printerwindow = 9;

struct WindowRecord {
    std::string title;
    PlatformRect frame;
    bool visible = false;
    bool titled = true;
};

// Windows 8, 9 and 10.
struct TextViewRecord {
    std::string text;
    std::string ruler;
    PlatformRect scrollframe;
    PlatformRect rulerframe;
};

struct Session {
    // The terminal.
    int inputfd = -1;
    int outputfd = -1;
    ColourDepth depth = ColourDepth::none;
    std::vector<ModifiedKey> modified;
    bool clipboardescape = false;  // the terminal takes text for its clipboard
    std::string diagnosticspath;   // where the diagnostic lines go, if moved

    // The runtime's objects.
    WindowRecord windows[terminalwindowcount];
    TextViewRecord textviews[3];
    std::string clipboard;

    // What is shown, and what needs showing again.
    Grid shown;
    Grid wanted;
    t_TextScreen text;
    bool viewmarked = true;
    bool logmarked = false;
    bool logopen = false;
    LogView log;
    std::string note;  // a passing message in the status line
    std::chrono::steady_clock::time_point noteuntil;

    bool quitting = false;
    int endsignal = 0;  // the signal that ended the program, if one did
    bool pasting = false;  // inside a bracketed paste
    std::string pasted;
};

Session& session();

// The port's entries (port.cpp).
platform::Port terminalport();

// Shows a German message in the status line for a few seconds.
void shownote(const std::string& text);
// Draws what has changed now (screen.cpp).
void render();
// The terminal's contents are unknown (after a resize): the next render
// sends every cell.
void forgetshown();
// The text views of windows 8, 9 and 10; none for other numbers.
TextViewRecord* textviewrecord(uint8_t number);
// Sends text to the terminal's clipboard; false where it takes none.
bool copytoterminal(const std::string& text);
