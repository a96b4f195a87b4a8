// What the runtime needs from a front-end (the outbound port).
//
// The runtime never includes a toolkit header; it reaches windows, views,
// text views, menus, the pasteboard, file panels and sound only through the
// functions declared here. A front-end (src/frontends/...) provides them by
// installing a platform::Port at start; what it leaves out does nothing and
// answers "none". The front-end owns its objects on the main thread. Each
// declaration says where it may be called: "any thread" functions hand
// their work to the main thread themselves; "main thread" functions must be
// wrapped by the caller in platform::run_on_main().
//
// What a front-end may call in the runtime is in platform/entry_points.h.
//
// Coordinates are those of the runtime: origin at the bottom left, y growing
// upward. Screen coordinates count from the bottom left of the primary
// screen; a window's frame is its content area plus, when the window has a
// title bar, `titlebarheight` points above it; a view's frame is given within
// its window's frame.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Opaque handles to the desktop's objects; null means "none".
struct PlatformWindow;
struct PlatformView;
struct PlatformTextView;
struct PlatformMenu;

struct PlatformRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

struct WindowImage;  // display/window_image.h

// ---- Window lookups (any thread; they consult the main thread) -----------

// 0..7: the window holding view n; 8..12: the pasteboard, printer, console,
// preferences and main windows; none for 13..255 or an empty outlet.
PlatformWindow* platformwindow(uint8_t number);
// 0..7: the view View00..View07; none otherwise.
PlatformView* windowview(uint8_t number);
// 8, 9, 10: the pasteboard, printer and console text views; none otherwise.
PlatformTextView* windowtextview(uint8_t number);
// The number of a platform window (printer, console, pasteboard,
// preferences, main window, then the windows of views 0..7; first match
// wins); 255 when nothing matches.
uint8_t windownumber(PlatformWindow* window);
// windownumber of the application's current main window; 255 when none.
uint8_t mainwindownumber();

namespace platform {

// ---- Threads (any thread) ---------------------------------------------------

// True when a desktop application object exists (false in a bare process).
bool available();
// True on the thread that owns the desktop objects.
bool on_main_thread();
// Runs `work` on the main thread and returns when it has run: directly when
// called there, otherwise by queueing it and polling a done flag every 1 ms.
// The main thread never waits for another thread. Without an application
// the work is not run.
void run_on_main(const std::function<void()>& work);
// Queues `work` for the main thread and returns at once.
void post_to_main(std::function<void()> work);

// ---- Application (main thread unless noted) -------------------------------

// "Sprecho": the name window titles are made from. Any thread.
std::string application_name();
// Directory of the resources (fonts, sounds), found relative to the
// executable: <prefix>/share/sprecho. Any thread.
std::string resource_directory();
// Height of a window's title bar in points as the window system reports it
// for the pasteboard window (frame height minus scroll view height minus 20);
// a sane default where it reports none.
int64_t measure_title_bar_height();

// ---- Windows (main thread) --------------------------------------------------

PlatformRect window_frame(PlatformWindow* window);
// Moves and sizes the frame and redisplays the window.
void set_window_frame(PlatformWindow* window, PlatformRect frame);
// The frame of the screen that holds the window.
PlatformRect window_screen_frame(PlatformWindow* window);
void set_window_title(PlatformWindow* window, const std::string& title);
// Titled, closable and miniaturizable (true), or borderless (false).
void set_window_titled(PlatformWindow* window, bool titled);
bool window_titled(PlatformWindow* window);
// Shows the window and orders it to the front.
void order_window_front(PlatformWindow* window);
// Makes the window the key window (it receives the keyboard).
void make_key_window(PlatformWindow* window);
// Hides the window.
void order_window_out(PlatformWindow* window);
bool window_visible(PlatformWindow* window);
// Colour of the margin around a graphic view; components 0..1.
void set_window_background(PlatformWindow* window, double red, double green, double blue,
                           double alpha);
void center_window(PlatformWindow* window);

// ---- Graphic views (main thread) -------------------------------------------

// Places the view inside its window (origin from the frame's bottom left).
void set_view_frame(PlatformView* view, PlatformRect frame);
// Marks the view as needing display; marks coalesce into one drawing.
void mark_view(PlatformView* view);
// Draws the view now, before returning.
void draw_view_now(PlatformView* view);

// ---- Graphic views: marking part of a view (main thread) --------------------

// Marks as needing display the part of the view that shows pixel rows
// first..last (from 0 at the top) of its window's image, which is `rows`
// rows high and scaled to the view's size. Marks coalesce with each other
// and with mark_view into one drawing.
void mark_view_rows(PlatformView* view, int64_t first, int64_t last, int64_t rows);

// ---- Text views of windows 8, 9, 10 (main thread) --------------------------

// The whole text, exactly as last set (carriage returns kept).
std::string text_view_text(PlatformTextView* view);
// Replaces the whole text; lines separated by carriage returns show as lines.
void set_text_view_text(PlatformTextView* view, const std::string& text);
void mark_text_view(PlatformTextView* view);
// Plain monospaced text at 12 points, every automatic substitution off.
void configure_text_view(PlatformTextView* view);
// Size of the scroll view that encloses the text view of window 8, 9 or 10.
PlatformRect scroll_view_frame(uint8_t number);
void set_scroll_view_frame(uint8_t number, PlatformRect frame);
// The ruler line above the printer (9) and console (10) text.
void set_ruler_text(uint8_t number, const std::string& text);
PlatformRect ruler_frame(uint8_t number);
void set_ruler_frame(uint8_t number, PlatformRect frame);

// ---- Menus (main thread) ----------------------------------------------------

// The submenu of the menu bar entry with this title; none when absent.
PlatformMenu* find_menu(const std::string& title);
int64_t menu_item_count(PlatformMenu* menu);
std::string menu_item_title(PlatformMenu* menu, int64_t position);
void delete_menu_item(PlatformMenu* menu, int64_t position);
// The tag of "Protokoll sichern …" in Bearbeiten. No built-in command has
// it, so choosing the item reaches the program's menu handler.
constexpr int64_t savelogtag = 120;

// ---- Pasteboard (main thread) -----------------------------------------------

// The plain text on the system clipboard; empty when it holds none.
std::string pasteboard_text();
// Clears the clipboard and puts plain text on it.
void set_pasteboard_text(const std::string& text);
// Clears the clipboard and puts an image on it.
void set_pasteboard_image(const WindowImage& image);

// ---- File panels (main thread; modal) --------------------------------------

// Each returns the chosen locations as file URL texts ("file:///tmp/a%20b");
// empty when cancelled. An empty `types` list allows any file.
std::vector<std::string> open_panel(const std::string& prompt, const std::string& title,
                                    const std::string& message,
                                    const std::vector<std::string>& types, bool multiple,
                                    bool files, bool folders);
std::string save_panel(const std::string& defaultname, const std::string& title,
                       const std::string& message, const std::vector<std::string>& types);

// ---- Messages (main thread; modal) -----------------------------------------

// Shows a warning with the title and text and waits until the user has
// closed it.
void show_message(const std::string& title, const std::string& text);

// ---- Sound (any thread) -----------------------------------------------------

// Plays 16-bit signed PCM frames once; answers false when no audio output
// is available. A sound still playing is not restarted.
bool play_pcm(const std::vector<int16_t>& samples, int channels, int rate);
// The desktop's own beep.
void system_beep();

// ---- The port a front-end fills in ---------------------------------------

// One entry per operation above, with the same meaning. The window lookups
// are main-thread entries here: the calls above hand them to the main
// thread. An entry left empty does nothing and answers "none" (no window,
// number 255, an empty text or rectangle, false).
struct Port {
    PlatformWindow* (*platformwindow)(uint8_t number) = nullptr;
    PlatformView* (*windowview)(uint8_t number) = nullptr;
    PlatformTextView* (*windowtextview)(uint8_t number) = nullptr;
    uint8_t (*windownumber)(PlatformWindow* window) = nullptr;
    uint8_t (*mainwindownumber)() = nullptr;
    int64_t (*measure_title_bar_height)() = nullptr;

    PlatformRect (*window_frame)(PlatformWindow* window) = nullptr;
    void (*set_window_frame)(PlatformWindow* window, PlatformRect frame) = nullptr;
    PlatformRect (*window_screen_frame)(PlatformWindow* window) = nullptr;
    void (*set_window_title)(PlatformWindow* window, const std::string& title) = nullptr;
    void (*set_window_titled)(PlatformWindow* window, bool titled) = nullptr;
    bool (*window_titled)(PlatformWindow* window) = nullptr;
    void (*order_window_front)(PlatformWindow* window) = nullptr;
    void (*make_key_window)(PlatformWindow* window) = nullptr;
    void (*order_window_out)(PlatformWindow* window) = nullptr;
    bool (*window_visible)(PlatformWindow* window) = nullptr;
    void (*set_window_background)(PlatformWindow* window, double red, double green, double blue,
                                  double alpha) = nullptr;
    void (*center_window)(PlatformWindow* window) = nullptr;

    void (*set_view_frame)(PlatformView* view, PlatformRect frame) = nullptr;
    void (*mark_view)(PlatformView* view) = nullptr;
    void (*mark_view_rows)(PlatformView* view, int64_t first, int64_t last, int64_t rows) = nullptr;
    void (*draw_view_now)(PlatformView* view) = nullptr;

    std::string (*text_view_text)(PlatformTextView* view) = nullptr;
    void (*set_text_view_text)(PlatformTextView* view, const std::string& text) = nullptr;
    void (*mark_text_view)(PlatformTextView* view) = nullptr;
    void (*configure_text_view)(PlatformTextView* view) = nullptr;
    PlatformRect (*scroll_view_frame)(uint8_t number) = nullptr;
    void (*set_scroll_view_frame)(uint8_t number, PlatformRect frame) = nullptr;
    void (*set_ruler_text)(uint8_t number, const std::string& text) = nullptr;
    PlatformRect (*ruler_frame)(uint8_t number) = nullptr;
    void (*set_ruler_frame)(uint8_t number, PlatformRect frame) = nullptr;

    PlatformMenu* (*find_menu)(const std::string& title) = nullptr;
    int64_t (*menu_item_count)(PlatformMenu* menu) = nullptr;
    std::string (*menu_item_title)(PlatformMenu* menu, int64_t position) = nullptr;
    void (*delete_menu_item)(PlatformMenu* menu, int64_t position) = nullptr;

    std::string (*pasteboard_text)() = nullptr;
    void (*set_pasteboard_text)(const std::string& text) = nullptr;
    void (*set_pasteboard_image)(const WindowImage& image) = nullptr;

    std::vector<std::string> (*open_panel)(const std::string& prompt, const std::string& title,
                                           const std::string& message,
                                           const std::vector<std::string>& types, bool multiple,
                                           bool files, bool folders) = nullptr;
    std::string (*save_panel)(const std::string& defaultname, const std::string& title,
                              const std::string& message,
                              const std::vector<std::string>& types) = nullptr;
    void (*show_message)(const std::string& title, const std::string& text) = nullptr;

    bool (*play_pcm)(const std::vector<int16_t>& samples, int channels, int rate) = nullptr;
    void (*system_beep)() = nullptr;
};

// Installs the front-end's port (before the runtime starts; the front-end
// of a process does not change while it runs). Each call replaces the
// whole port; an empty Port uninstalls.
void install(const Port& port);

}  // namespace platform
