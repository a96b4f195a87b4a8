// Text output at the text cursor: printing, control codes, display modes,
// cursor movement, wrapping and scrolling within the text area.
#pragma once

#include <cstdint>
#include <string>

#include "util/strings.h"

// What t_ApplyDisplayMode makes of one character: the code to draw (-1 for
// nothing, 256 and above for a character the font cannot hold) and the
// inverse state and colour byte the caller restores afterwards.
struct t_DisplayModeResult {
    int64_t code;
    bool inverse;
    uint8_t colour;
};

void t_Print(uint8_t window, const std::string& text);  // Unicode scalars
void t_Print(uint8_t window, const Text& text);         // bytes
void t_PrintChar(uint8_t window, uint8_t code);
void t_PrintControl(uint8_t window, uint8_t code);
t_DisplayModeResult t_ApplyDisplayMode(uint8_t window, int64_t c);

void t_Cr(uint8_t window);
void t_CursorRight(uint8_t window);
void t_CursorLeft(uint8_t window);
void t_CursorUp(uint8_t window);
void t_CursorDown(uint8_t window);
void t_CursorHome(uint8_t window);
void t_CursorEnd(uint8_t window);
void t_Htab(uint8_t window, int64_t column);
void t_PrintTab(uint8_t window, int64_t column, uint8_t fill);
void t_PrintSpc(uint8_t window, int64_t count);
void t_ScrollUp(uint8_t window);
void t_ScrollDown(uint8_t window);

// The output pause: when the key most recently queued has the value `key`,
// empties the key queue and (with `wait`) waits until a key or a menu
// choice arrives; the key that ends the pause is consumed.
bool outputpausecheck(int64_t key, bool wait);
