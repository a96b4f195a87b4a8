#include "windows/window_placement.h"

#include "display/window_refresh.h"
#include "platform/platform.h"
#include "startup/threads.h"
#include "text/text_attributes.h"
#include "text/text_output.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/sound.h"
#include "windows/window_table.h"

namespace {

const char* textwindowname(uint8_t window)
{
    switch (window) {
    case 8: return "Pasteboard";
    case 9: return "Virtual printer";
    default: return "System console";
    }
}

// The window for a number, or the "does not exist" line of operation `op`.
PlatformWindow* existingwindow(const char* op, uint8_t window)
{
    PlatformWindow* platformWindow = platformwindow(window);
    if (platformWindow == nullptr)
        diag_line(std::string(op) + ": Window does not exist.");
    return platformWindow;
}

bool isgraphic(uint8_t window)
{
    return window < graphicwindowcount;
}

// What t_WindowPos computes from: the frame's size, title height and
// borders, and the platform's position and screen.
struct Placement {
    int64_t frameWidth = 0, frameHeight = 0, title = 0, borderWidth = 0, borderHeight = 0;
    int64_t x = 0, y = 0, screenWidth = 0, screenHeight = 0;
};

Placement placementof(uint8_t window, PlatformWindow* platformWindow)
{
    Placement p;
    PlatformRect frame, screen;
    platform::run_on_main([&] {
        frame = platform::window_frame(platformWindow);
        screen = platform::window_screen_frame(platformWindow);
    });
    p.x = int64_t(frame.x);
    p.y = int64_t(frame.y);
    p.screenWidth = int64_t(screen.width);
    p.screenHeight = int64_t(screen.height);
    if (isgraphic(window) && memoryready) {
        const t_Window& w = windowtable[window];
        p.title = w.TitleHeight;
        p.borderWidth = w.BorderWidth;
        p.borderHeight = w.BorderHeight;
        p.frameWidth = w.Width + 2 * p.borderWidth;
        p.frameHeight = w.Height + p.title + 2 * p.borderHeight;
    } else {
        p.frameWidth = int64_t(frame.width);
        p.frameHeight = int64_t(frame.height);
        p.title = titlebarheight;
    }
    return p;
}

// Selectors 0..7: the text area of a graphic window; windows 8..12 have a
// text grid of one cell per point.
int64_t textselector(uint8_t window, int64_t selector, const Placement& p)
{
    if (!isgraphic(window)) {
        const int64_t sizes[8] = {0, 0, p.frameWidth - 1, p.frameHeight - 1,
                                  p.frameWidth, p.frameHeight, p.frameWidth, p.frameHeight};
        return sizes[selector];
    }
    if (!memoryready)
        return 0;
    const t_Window& w = windowtable[window];
    switch (selector) {
    case 0: return w.TextFirstColumn;
    case 1: return w.TextFirstLine;
    case 2: return w.TextLastColumn;
    case 3: return w.TextLastLine;
    case 4: return w.TextLastColumn - w.TextFirstColumn + 1;
    case 5: return w.TextLastLine - w.TextFirstLine + 1;
    case 6: return w.TextWidth;
    default: return w.TextHeight;
    }
}

int64_t frameselector(int64_t selector, const Placement& p)
{
    switch (selector) {
    case 8: return p.frameWidth - 2 * p.borderWidth;
    case 9: return p.frameHeight - p.title - 2 * p.borderHeight;
    case 10: return p.frameWidth;
    case 11: return p.frameHeight - p.title;
    case 12: return p.frameHeight;
    case 13: return p.x;
    case 14: return p.screenHeight - p.frameHeight - p.y;
    case 15: return p.screenWidth;
    case 16: return p.screenHeight;
    case 17: return p.title;
    case 18: return p.borderWidth;
    case 19: return p.borderHeight;
    case 20: return p.y;
    default: return 0;
    }
}

PlatformRect rect(int64_t x, int64_t y, int64_t width, int64_t height)
{
    return PlatformRect{double(x), double(y), double(width), double(height)};
}

// Main thread. Fits a graphic window to a drawing size; the record's own
// Width and Height stay as they are.
void sizegraphicwindow(uint8_t window, PlatformWindow* platformWindow, int64_t x, int64_t y,
                       int64_t width, int64_t height)
{
    if (!memoryready || !windowtable[window].Initialized) {
        notinitialized("t_WindowSize", window);
        return;
    }
    const t_Window& w = windowtable[window];
    platform::set_window_frame(platformWindow, rect(x, y, width + 2 * w.BorderWidth,
                                                    height + w.TitleHeight + 2 * w.BorderHeight));
    platform::set_view_frame(windowview(window), rect(w.BorderWidth, w.BorderHeight, width, height));
}

// Main thread. Windows 8..10: the frame, then the scroll view around the
// text; a size of 0 or less leaves that side of the scroll view alone.
void sizetextwindow(uint8_t window, PlatformWindow* platformWindow, int64_t x, int64_t y,
                    int64_t width, int64_t height)
{
    if (platform::window_visible(platformWindow))
        platform::order_window_front(platformWindow);
    platform::set_window_frame(platformWindow, rect(x, y, width, height + titlebarheight));
    PlatformRect scroll = platform::scroll_view_frame(window);
    const int64_t scrollWidth = width - 40;
    const int64_t scrollHeight = height - 77;
    if (scrollWidth > 0)
        scroll.width = double(scrollWidth);
    if (scrollHeight > 0)
        scroll.height = double(scrollHeight);
    platform::set_scroll_view_frame(window, scroll);
}

// Windows 8..10 need their text view; the pasteboard shows the clipboard.
void showtextwindow(uint8_t window, PlatformWindow* platformWindow, bool visible)
{
    const bool shown = withtextwindowview("t_WindowVisible", window, [&](PlatformTextView* text) {
        if (!visible) {
            platform::order_window_out(platformWindow);
            return;
        }
        if (window == 8)
            platform::set_text_view_text(text, platform::pasteboard_text());
        platform::order_window_front(platformWindow);
        platform::mark_text_view(text);
    });
    if (!shown)
        sysbeep();
}

}  // namespace

int64_t t_WindowPos(uint8_t window, int64_t selector)
{
    PlatformWindow* platformWindow = existingwindow("t_WindowPos", window);
    if (platformWindow == nullptr || selector < 0 || selector > 20)
        return 0;
    const Placement p = placementof(window, platformWindow);
    return selector < 8 ? textselector(window, selector, p) : frameselector(selector, p);
}

void t_WindowSize(uint8_t window, int64_t x, int64_t y, int64_t width, int64_t height)
{
    PlatformWindow* platformWindow = existingwindow("t_WindowSize", window);
    if (platformWindow == nullptr)
        return;
    platform::run_on_main([&] {
        if (x == -1 || y == -1 || width == -1 || height == -1) {
            const Placement p = placementof(window, platformWindow);
            x = x == -1 ? frameselector(13, p) : x;
            y = y == -1 ? frameselector(20, p) : y;
            width = width == -1 ? frameselector(8, p) : width;
            height = height == -1 ? frameselector(9, p) : height;
        }
        if (isgraphic(window))
            sizegraphicwindow(window, platformWindow, x, y, width, height);
        else if (window <= 10)
            sizetextwindow(window, platformWindow, x, y, width, height);
        else
            platform::set_window_frame(platformWindow, rect(x, y, width, height + titlebarheight));
    });
}

void t_WindowCenter(uint8_t window)
{
    if (PlatformWindow* platformWindow = existingwindow("t_WindowCenter", window))
        platform::run_on_main([&] { platform::center_window(platformWindow); });
}

void t_WindowFront(uint8_t window)
{
    PlatformWindow* platformWindow = existingwindow("t_WindowFront", window);
    if (platformWindow == nullptr)
        return;
    t_WindowVisible(window, true);
    platform::run_on_main([&] {
        platform::make_key_window(platformWindow);
        platform::order_window_front(platformWindow);
    });
}

void t_WindowTitle(uint8_t window, const std::string& title)
{
    PlatformWindow* platformWindow = existingwindow("t_WindowTitle", window);
    if (platformWindow == nullptr)
        return;
    if (platform::on_main_thread())
        platform::set_window_title(platformWindow, title);
    else
        platform::post_to_main([platformWindow, title] { platform::set_window_title(platformWindow, title); });
}

void t_WindowTitleVisible(uint8_t window, bool visible)
{
    PlatformWindow* platformWindow = existingwindow("t_WindowTitleVisible", window);
    if (platformWindow == nullptr)
        return;
    if (isgraphic(window))
        windowtable[window].TitleHeight = visible ? int64_t(titlebarheight) : 0;
    platform::run_on_main([&] { platform::set_window_titled(platformWindow, visible); });
}

void t_WindowVisible(uint8_t window, bool visible)
{
    PlatformWindow* platformWindow = existingwindow("t_WindowVisible", window);
    if (platformWindow == nullptr)
        return;
    if (window >= 8 && window <= 10) {
        showtextwindow(window, platformWindow, visible);
        return;
    }
    platform::run_on_main([&] {
        if (visible)
            platform::order_window_front(platformWindow);
        else
            platform::order_window_out(platformWindow);
    });
    if (isgraphic(window)) {
        windowtable[window].Visible = visible;
        if (!visible)
            windowtable[window].UpdateDuration = 0;
    }
}

void t_ColorBorder(uint8_t window, int64_t colour)
{
    if (!graphicwindowguard("t_ColorBorder", window))
        return;
    const t_RGBColor c = palettecolor(unsigned(colour & 15));
    windowtable[window].RGBColorBorder = c;
    PlatformWindow* platformWindow = windowtable[window].Window;
    platform::run_on_main([&] {
        platform::set_window_background(platformWindow, c.Red / 255.0, c.Green / 255.0,
                                        c.Blue / 255.0, c.Alpha / 255.0);
    });
}

void t_QuitProgram(uint8_t window)
{
    std::string line = "t_QuitProgram: Quitting current thread";
    if (platformwindow(window) != nullptr) {
        // The end message in red at the start of the window's last line.
        t_FullArea(window);
        t_CursorEnd(window);
        t_Htab(window, 1);
        t_DisplayMode(window, 0);
        t_Normal(window);
        t_Color(window, 1);
        t_Print(window, "(Programm Ende)");
        t_WindowUpdate(window, false);
        sleep_ms(100);
        line += " with message in window #" + std::to_string(window);
    }
    diag_line(line + ".");
    endcurrentthread();
}

bool withtextwindowview(const char* op, uint8_t window,
                        const std::function<void(PlatformTextView*)>& work)
{
    bool found = false;
    platform::run_on_main([&] {
        if (PlatformTextView* view = windowtextview(window)) {
            found = true;
            work(view);
        }
    });
    if (!found)
        diag_line(std::string(op) + ": " + textwindowname(window) +
                  " window is nil, resource undefined.");
    return found;
}
