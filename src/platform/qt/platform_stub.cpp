// STUB: placeholder definitions so that everything links while the
// desktop layer is being written. Replace every one of them.
#include "platform/platform.h"
#include "platform/qt/application.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

PlatformWindow* platformwindow(uint8_t number) { return {}; }
PlatformView* windowview(uint8_t number) { return {}; }
PlatformTextView* windowtextview(uint8_t number) { return {}; }
uint8_t windownumber(PlatformWindow* window) { return {}; }
uint8_t mainwindownumber() { return {}; }
int runapplication(int argc, char** argv) { return 1; }
void startapplicationfortests(int& argc, char** argv) {}

namespace platform {
bool available() { return {}; }
bool on_main_thread() { return {}; }
void run_on_main(const std::function<void()>& work) {}
void post_to_main(std::function<void()> work) {}
std::string application_name() { return {}; }
std::string resource_directory() { return {}; }
int64_t measure_title_bar_height() { return {}; }
PlatformRect window_frame(PlatformWindow* window) { return {}; }
void set_window_frame(PlatformWindow* window, PlatformRect frame) {}
PlatformRect window_screen_frame(PlatformWindow* window) { return {}; }
void set_window_title(PlatformWindow* window, const std::string& title) {}
void set_window_titled(PlatformWindow* window, bool titled) {}
bool window_titled(PlatformWindow* window) { return {}; }
void order_window_front(PlatformWindow* window) {}
void make_key_window(PlatformWindow* window) {}
void order_window_out(PlatformWindow* window) {}
bool window_visible(PlatformWindow* window) { return {}; }
void set_window_background(PlatformWindow* window, double red, double green, double blue, double alpha) {}
void center_window(PlatformWindow* window) {}
void set_view_frame(PlatformView* view, PlatformRect frame) {}
void mark_view(PlatformView* view) {}
void draw_view_now(PlatformView* view) {}
std::string text_view_text(PlatformTextView* view) { return {}; }
void set_text_view_text(PlatformTextView* view, const std::string& text) {}
void mark_text_view(PlatformTextView* view) {}
void configure_text_view(PlatformTextView* view) {}
PlatformRect scroll_view_frame(uint8_t number) { return {}; }
void set_scroll_view_frame(uint8_t number, PlatformRect frame) {}
void set_ruler_text(uint8_t number, const std::string& text) {}
PlatformRect ruler_frame(uint8_t number) { return {}; }
void set_ruler_frame(uint8_t number, PlatformRect frame) {}
PlatformMenu* find_menu(const std::string& title) { return {}; }
int64_t menu_item_count(PlatformMenu* menu) { return {}; }
std::string menu_item_title(PlatformMenu* menu, int64_t position) { return {}; }
void delete_menu_item(PlatformMenu* menu, int64_t position) {}
std::string pasteboard_text() { return {}; }
void set_pasteboard_text(const std::string& text) {}
void set_pasteboard_image(const WindowImage& image) {}
std::vector<std::string> open_panel(const std::string& prompt, const std::string& title, const std::string& message, const std::vector<std::string>& types, bool multiple, bool files, bool folders) { return {}; }
std::string save_panel(const std::string& defaultname, const std::string& title, const std::string& message, const std::vector<std::string>& types) { return {}; }
bool play_pcm(const std::vector<int16_t>& samples, int channels, int rate) { return {}; }
void system_beep() {}
}
