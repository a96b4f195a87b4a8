// The outbound port: each operation calls the installed front-end's entry,
// or answers "none" when the front-end has none.
#include "platform/platform.h"

#include <utility>

namespace {

platform::Port installed;

// Calls `entry` when the front-end provides it; otherwise answers `none`.
template <typename R, typename... P, typename... A>
R callport(R (*entry)(P...), R none, A&&... arguments)
{
    return entry != nullptr ? entry(std::forward<A>(arguments)...) : none;
}

template <typename... P, typename... A>
void callport(void (*entry)(P...), A&&... arguments)
{
    if (entry != nullptr)
        entry(std::forward<A>(arguments)...);
}

// The lookups run on the main thread, whoever asks.
template <typename R, typename... P, typename... A>
R lookup(R (*entry)(P...), R none, A... arguments)
{
    R result = none;
    if (entry != nullptr)
        platform::run_on_main([&] { result = entry(arguments...); });
    return result;
}

}  // namespace

PlatformWindow* platformwindow(uint8_t number)
{
    return number > 12 ? nullptr : lookup(installed.platformwindow, (PlatformWindow*)nullptr, number);
}

PlatformView* windowview(uint8_t number)
{
    return number >= 8 ? nullptr : lookup(installed.windowview, (PlatformView*)nullptr, number);
}

PlatformTextView* windowtextview(uint8_t number)
{
    return lookup(installed.windowtextview, (PlatformTextView*)nullptr, number);
}

uint8_t windownumber(PlatformWindow* window)
{
    return lookup(installed.windownumber, uint8_t(255), window);
}

uint8_t mainwindownumber()
{
    return lookup(installed.mainwindownumber, uint8_t(255));
}

namespace platform {

void install(const Port& port)
{
    installed = port;
}

int64_t measure_title_bar_height()
{
    return callport(installed.measure_title_bar_height, int64_t(0));
}

PlatformRect window_frame(PlatformWindow* window)
{
    return callport(installed.window_frame, PlatformRect{}, window);
}

void set_window_frame(PlatformWindow* window, PlatformRect frame)
{
    callport(installed.set_window_frame, window, frame);
}

PlatformRect window_screen_frame(PlatformWindow* window)
{
    return callport(installed.window_screen_frame, PlatformRect{}, window);
}

void set_window_title(PlatformWindow* window, const std::string& title)
{
    callport(installed.set_window_title, window, title);
}

void set_window_titled(PlatformWindow* window, bool titled)
{
    callport(installed.set_window_titled, window, titled);
}

bool window_titled(PlatformWindow* window)
{
    return callport(installed.window_titled, false, window);
}

void order_window_front(PlatformWindow* window)
{
    callport(installed.order_window_front, window);
}

void make_key_window(PlatformWindow* window)
{
    callport(installed.make_key_window, window);
}

void order_window_out(PlatformWindow* window)
{
    callport(installed.order_window_out, window);
}

bool window_visible(PlatformWindow* window)
{
    return callport(installed.window_visible, false, window);
}

void set_window_background(PlatformWindow* window, double red, double green, double blue,
                           double alpha)
{
    callport(installed.set_window_background, window, red, green, blue, alpha);
}

void center_window(PlatformWindow* window)
{
    callport(installed.center_window, window);
}

void set_view_frame(PlatformView* view, PlatformRect frame)
{
    callport(installed.set_view_frame, view, frame);
}

void mark_view(PlatformView* view)
{
    callport(installed.mark_view, view);
}

// A front-end that cannot mark part of a view marks it whole.
void mark_view_rows(PlatformView* view, int64_t first, int64_t last, int64_t rows)
{
    if (installed.mark_view_rows != nullptr)
        installed.mark_view_rows(view, first, last, rows);
    else
        mark_view(view);
}

void draw_view_now(PlatformView* view)
{
    callport(installed.draw_view_now, view);
}

std::string text_view_text(PlatformTextView* view)
{
    return callport(installed.text_view_text, std::string(), view);
}

void set_text_view_text(PlatformTextView* view, const std::string& text)
{
    callport(installed.set_text_view_text, view, text);
}

void mark_text_view(PlatformTextView* view)
{
    callport(installed.mark_text_view, view);
}

void configure_text_view(PlatformTextView* view)
{
    callport(installed.configure_text_view, view);
}

PlatformRect scroll_view_frame(uint8_t number)
{
    return callport(installed.scroll_view_frame, PlatformRect{}, number);
}

void set_scroll_view_frame(uint8_t number, PlatformRect frame)
{
    callport(installed.set_scroll_view_frame, number, frame);
}

void set_ruler_text(uint8_t number, const std::string& text)
{
    callport(installed.set_ruler_text, number, text);
}

PlatformRect ruler_frame(uint8_t number)
{
    return callport(installed.ruler_frame, PlatformRect{}, number);
}

void set_ruler_frame(uint8_t number, PlatformRect frame)
{
    callport(installed.set_ruler_frame, number, frame);
}

PlatformMenu* find_menu(const std::string& title)
{
    return callport(installed.find_menu, (PlatformMenu*)nullptr, title);
}

int64_t menu_item_count(PlatformMenu* menu)
{
    return callport(installed.menu_item_count, int64_t(0), menu);
}

std::string menu_item_title(PlatformMenu* menu, int64_t position)
{
    return callport(installed.menu_item_title, std::string(), menu, position);
}

void delete_menu_item(PlatformMenu* menu, int64_t position)
{
    callport(installed.delete_menu_item, menu, position);
}

std::string pasteboard_text()
{
    return callport(installed.pasteboard_text, std::string());
}

void set_pasteboard_text(const std::string& text)
{
    callport(installed.set_pasteboard_text, text);
}

void set_pasteboard_image(const WindowImage& image)
{
    callport(installed.set_pasteboard_image, image);
}

std::vector<std::string> open_panel(const std::string& prompt, const std::string& title,
                                    const std::string& message,
                                    const std::vector<std::string>& types, bool multiple,
                                    bool files, bool folders)
{
    return callport(installed.open_panel, std::vector<std::string>(), prompt, title, message,
                    types, multiple, files, folders);
}

std::string save_panel(const std::string& defaultname, const std::string& title,
                       const std::string& message, const std::vector<std::string>& types)
{
    return callport(installed.save_panel, std::string(), defaultname, title, message, types);
}

void show_message(const std::string& title, const std::string& text)
{
    callport(installed.show_message, title, text);
}

bool play_pcm(const std::vector<int16_t>& samples, int channels, int rate)
{
    return callport(installed.play_pcm, false, samples, channels, rate);
}

void system_beep()
{
    callport(installed.system_beep);
}

}  // namespace platform
