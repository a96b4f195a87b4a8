// The terminal's side of the outbound port. The runtime's windows, views
// and text views are records kept here; what only a desktop can do (file
// panels, pictures on the clipboard) answers with a note in the status line.
#include <curses.h>

#include "frontends/terminal/session.h"

namespace {

constexpr const char* desktoponly = " geht nur in der Desktop-Oberfl\u00E4che.";

// The views of graphic windows 0..7: only their identity matters.
char views[graphicwindowcount];

WindowRecord* record(PlatformWindow* window)
{
    auto* found = reinterpret_cast<WindowRecord*>(window);
    for (WindowRecord& candidate : session().windows)
        if (&candidate == found)
            return found;
    return nullptr;
}

PlatformWindow* windowof(uint8_t number)
{
    return number < terminalwindowcount
               ? reinterpret_cast<PlatformWindow*>(&session().windows[number])
               : nullptr;
}

PlatformView* viewof(uint8_t number)
{
    return number < graphicwindowcount ? reinterpret_cast<PlatformView*>(&views[number]) : nullptr;
}

PlatformTextView* textviewof(uint8_t number)
{
    return reinterpret_cast<PlatformTextView*>(textviewrecord(number));
}

TextViewRecord* textrecord(PlatformTextView* view)
{
    auto* found = reinterpret_cast<TextViewRecord*>(view);
    for (TextViewRecord& candidate : session().textviews)
        if (&candidate == found)
            return found;
    return nullptr;
}

uint8_t numberof(PlatformWindow* window)
{
    const WindowRecord* found = record(window);
    return found != nullptr ? uint8_t(found - session().windows) : 255;
}

// The window in front: the log when it is shown, otherwise the conversation.
uint8_t frontnumber()
{
    return session().logopen ? printerwindow : 0;
}

PlatformRect window_frame(PlatformWindow* window)
{
    const WindowRecord* found = record(window);
    return found != nullptr ? found->frame : PlatformRect{};
}

void set_window_frame(PlatformWindow* window, PlatformRect frame)
{
    if (WindowRecord* found = record(window))
        found->frame = frame;
}

// The terminal stands for the screen, at the 16 x 32 points of a character
// cell of the runtime's fonts.
PlatformRect window_screen_frame(PlatformWindow*)
{
    return PlatformRect{0, 0, double(COLS) * 16, double(LINES) * 32};
}

void set_window_title(PlatformWindow* window, const std::string& title)
{
    if (WindowRecord* found = record(window))
        found->title = title;
}

void set_window_titled(PlatformWindow* window, bool titled)
{
    if (WindowRecord* found = record(window))
        found->titled = titled;
}

bool window_titled(PlatformWindow* window)
{
    const WindowRecord* found = record(window);
    return found != nullptr && found->titled;
}

void order_window_front(PlatformWindow* window)
{
    if (WindowRecord* found = record(window))
        found->visible = true;
}

void order_window_out(PlatformWindow* window)
{
    if (WindowRecord* found = record(window))
        found->visible = false;
}

bool window_visible(PlatformWindow* window)
{
    const WindowRecord* found = record(window);
    return found != nullptr && found->visible;
}

void mark_view(PlatformView* view)
{
    if (view == viewof(0))
        session().viewmarked = true;
}

void draw_view_now(PlatformView* view)
{
    mark_view(view);
    render();
}

std::string text_view_text(PlatformTextView* view)
{
    const TextViewRecord* found = textrecord(view);
    return found != nullptr ? found->text : std::string();
}

void set_text_view_text(PlatformTextView* view, const std::string& text)
{
    if (TextViewRecord* found = textrecord(view))
        found->text = text;
}

void mark_text_view(PlatformTextView* view)
{
    if (view == textviewof(printerwindow))
        session().logmarked = true;
}

// The frames of a text view's scroll view and ruler are only kept.
template <PlatformRect TextViewRecord::*frame>
PlatformRect textviewframe(uint8_t number)
{
    const TextViewRecord* found = textviewrecord(number);
    return found != nullptr ? found->*frame : PlatformRect{};
}

template <PlatformRect TextViewRecord::*frame>
void settextviewframe(uint8_t number, PlatformRect value)
{
    if (TextViewRecord* found = textviewrecord(number))
        found->*frame = value;
}

void set_ruler_text(uint8_t number, const std::string& text)
{
    if (TextViewRecord* found = textviewrecord(number)) {
        found->ruler = text;
        session().logmarked = true;
    }
}

std::string pasteboard_text()
{
    return session().clipboard;
}

void set_pasteboard_text(const std::string& text)
{
    session().clipboard = text;
    shownote(copytoterminal(text)
                 ? "Text in die Zwischenablage des Terminals kopiert."
                 : "Text kopiert (nur f\u00FCr Strg+V hier: das Terminal nimmt keine Zwischenablage an).");
}

void set_pasteboard_image(const WindowImage&)
{
    shownote(std::string("Bild kopieren") + desktoponly);
}

std::vector<std::string> open_panel(const std::string&, const std::string&, const std::string&,
                                    const std::vector<std::string>&, bool, bool, bool)
{
    shownote(std::string("Dateien \u00F6ffnen") + desktoponly);
    return {};
}

std::string save_panel(const std::string&, const std::string&, const std::string&,
                       const std::vector<std::string>&)
{
    shownote(std::string("Dateien sichern") + desktoponly);
    return {};
}

// A warning has no window to stand in: it becomes a note.
void show_message(const std::string& title, const std::string& text)
{
    shownote(title + ": " + text);
}

// Any thread: the bell rings from the main thread, which owns the terminal.
void system_beep()
{
    platform::post_to_main([] { beep(); });
}

}  // namespace

TextViewRecord* textviewrecord(uint8_t number)
{
    return number >= 8 && number <= 10 ? &session().textviews[number - 8] : nullptr;
}

platform::Port terminalport()
{
    platform::Port port;
    port.platformwindow = windowof;
    port.windowview = viewof;
    port.windowtextview = textviewof;
    port.windownumber = numberof;
    port.mainwindownumber = frontnumber;
    port.window_frame = window_frame;
    port.set_window_frame = set_window_frame;
    port.window_screen_frame = window_screen_frame;
    port.set_window_title = set_window_title;
    port.set_window_titled = set_window_titled;
    port.window_titled = window_titled;
    port.order_window_front = order_window_front;
    port.order_window_out = order_window_out;
    port.window_visible = window_visible;
    port.mark_view = mark_view;
    port.draw_view_now = draw_view_now;
    port.text_view_text = text_view_text;
    port.set_text_view_text = set_text_view_text;
    port.mark_text_view = mark_text_view;
    port.scroll_view_frame = textviewframe<&TextViewRecord::scrollframe>;
    port.set_scroll_view_frame = settextviewframe<&TextViewRecord::scrollframe>;
    port.set_ruler_text = set_ruler_text;
    port.ruler_frame = textviewframe<&TextViewRecord::rulerframe>;
    port.set_ruler_frame = settextviewframe<&TextViewRecord::rulerframe>;
    port.pasteboard_text = pasteboard_text;
    port.set_pasteboard_text = set_pasteboard_text;
    port.set_pasteboard_image = set_pasteboard_image;
    port.open_panel = open_panel;
    port.save_panel = save_panel;
    port.show_message = show_message;
    port.system_beep = system_beep;
    return port;
}
