#include "frontends/terminal/log_view.h"

#include <algorithm>

#include "frontends/terminal/wrap.h"

std::vector<std::string> logrows(const std::string& text, int width)
{
    std::vector<std::string> rows;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        for (std::string& row : wraplines(text.substr(start, end - start), width))
            rows.push_back(std::move(row));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return rows;
}

int logfirstrow(const LogView& view, int total, int visible)
{
    const int last = std::max(total - visible, 0);
    return view.follow ? last : std::clamp(view.top, 0, last);
}

void scrolllog(LogView& view, LogScroll scroll, int total, int visible)
{
    const int last = std::max(total - visible, 0);
    const int page = std::max(visible - 1, 1);
    int top = logfirstrow(view, total, visible);
    switch (scroll) {
    case LogScroll::lineup: --top; break;
    case LogScroll::linedown: ++top; break;
    case LogScroll::pageup: top -= page; break;
    case LogScroll::pagedown: top += page; break;
    case LogScroll::top: top = 0; break;
    case LogScroll::bottom: top = last; break;
    }
    view.top = std::clamp(top, 0, last);
    view.follow = view.top >= last;
}
