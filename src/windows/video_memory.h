// The video memory: one byte array that holds the pixels and the text of
// every graphic window, and the set-up of windows within it.
//
// Shared without a lock: the program thread draws into it while the main
// thread converts it into images for the views, so a refresh may show a cell
// half drawn until the next one. This is the runtime's one accepted data
// race; it is limited to the bytes of this array (tsan.supp names it).
//
// The array starts on a page boundary. The refresh write-protects the
// pages of the windows it shows to learn which were written
// (display/write_tracking.h): the first write to such a page faults once,
// is noted and goes ahead. A debugger stops on these faults unless told to
// pass SIGSEGV on (gdb: "handle SIGSEGV nostop noprint pass").
#pragma once

#include <cstdint>
#include <string>

#include "windows/font_file.h"

constexpr int64_t videomemorysize = 0x100000F;
// The lowest 64 KiB are a reserve that blocks are never placed in.
constexpr int64_t videomemoryreserve = 65536;

extern uint8_t videomemory[videomemorysize];

// Marks the reads of a whole pixel block that race with drawing by design
// (turning it into an image, comparing it with the last one shown). Under
// ThreadSanitizer the thread's memory accesses in this scope are not
// recorded: every pixel would otherwise be a report, each matched against
// tsan.supp, and a sanitized refresh would take seconds. Elsewhere it does
// nothing. Only reads of video memory and writes to the thread's own
// buffers belong in the scope.
struct RacyVideoRead {
    RacyVideoRead();
    ~RacyVideoRead();
    RacyVideoRead(const RacyVideoRead&) = delete;
    RacyVideoRead& operator=(const RacyVideoRead&) = delete;
};

// Highest index of the free part; blocks are taken from the top downwards.
extern int64_t highmemory;

// Creates the video memory (all 0xFF) and the window table, builds the menu
// action table and trims the menus, prepares the pasteboard text view and
// sets the memory-ready flag. Runs once; later calls return at once.
void t_InitMemory();

// The program form: loads the font and sets the window up for a text grid
// of columns x lines cells of it, with a border of `border` on both axes.
void t_InitWindow(uint8_t window, int64_t bitDepth, int64_t columns, int64_t lines,
                  int64_t border, const std::string& fontName);

// The full form: width and height in pixels; a negative border is computed
// from the screen size; `font` may be the empty font (no text).
void t_InitWindow(uint8_t window, int64_t bitDepth, bool autoUpdate, int64_t width,
                  int64_t height, int64_t borderWidth, int64_t borderHeight,
                  const t_Font& font, bool titleVisible);

// Copies `count` bytes within video memory, correct for overlapping ranges;
// a count below 1 copies nothing.
void movevideomemory(int64_t source, int64_t destination, int64_t count);

// "$00D12000": "$" and eight upper-case hex digits of the low 32 bits.
std::string memoryindextext(int64_t value);
// "2.929,68": bytes / 1024 with two decimals (further decimals dropped),
// a comma before the decimals and points between groups of three digits.
std::string kilobytetext(int64_t bytes);
