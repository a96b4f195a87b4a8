// The conversation log shown over the whole terminal: the printer's text
// broken into rows of the terminal's width, and the scroll position.
#pragma once

#include <string>
#include <vector>

// The printer's text (lines end in carriage returns, or line feeds) as
// rows of at most `width` characters.
std::vector<std::string> logrows(const std::string& text, int width);

enum class LogScroll { lineup, linedown, pageup, pagedown, top, bottom };

struct LogView {
    int top = 0;         // first row shown, while not following
    bool follow = true;  // showing the end, also as the log grows
};

// The first row shown of `total` rows in a view of `visible` rows.
int logfirstrow(const LogView& view, int total, int visible);
// Moves the view; reaching the end makes it follow the log again.
void scrolllog(LogView& view, LogScroll scroll, int total, int visible);
