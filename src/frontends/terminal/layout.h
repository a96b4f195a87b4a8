// Where the window's text goes on a terminal of a given size.
//
// From 80 x 25 on the whole text shows, centred, with a frame in the margin
// colour where there is room beside and above it and a status line where a
// line is left over. A lower terminal shows as many lines as it has, chosen
// so that the line to keep in sight (the cursor's, or the lowest line with
// text below it) is the lowest shown: the prompt and the reply above it stay
// visible. A narrower terminal shows no text but a note of the size needed.
#pragma once

#include <string>
#include <vector>

#include "platform/entry_points.h"

struct Layout {
    bool fits = false;  // false: too narrow, show sizenote()
    int left = 0;       // terminal column and row of the first text cell shown
    int top = 0;
    int firstline = 1;  // first text line shown (1-based)
    int lines = 0;      // text lines shown
    // The frame's thickness on each side, in terminal cells.
    int frameleft = 0;
    int frameright = 0;
    int frametop = 0;
    int framebottom = 0;
    int statusrow = -1;  // -1: no spare line
    bool operator==(const Layout&) const = default;
};

// The frame is at most this thick: the window's margin of 24 points is
// one and a half columns or three quarters of a line of its 16 x 32 font.
constexpr int framecolumns = 2;
constexpr int framelines = 1;

Layout computelayout(int terminalcolumns, int terminalrows, int textcolumns, int textlines,
                     int keepline);

// The line to keep in sight: the cursor's line, or the lowest line below it
// that holds anything but blanks.
int lineinsight(const t_TextScreen& screen);

// The German note shown on a terminal too narrow for `textcolumns`, in lines
// of at most `width` characters.
std::vector<std::string> sizenote(int terminalcolumns, int terminalrows, int textcolumns,
                                  int textlines, int width);
