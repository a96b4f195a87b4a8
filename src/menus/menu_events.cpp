#include "menus/menu_events.h"

#include <array>
#include <functional>
#include <memory>

#include "display/window_image.h"
#include "input/mouse_events.h"
#include "menus/file_panels.h"
#include "menus/files.h"
#include "menus/menu_actions.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "text/screen_readback.h"
#include "util/clock.h"
#include "util/diagnostics.h"
#include "util/sound.h"
#include "util/unicode.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

std::mutex t_MenuEventsLock;
std::deque<t_MenuEvent> t_MenuEvents;
relaxed<bool> t_MenuEventAvailable;
t_Function t_ProgramActionHandler = sysbeep;

namespace {

constexpr uint8_t printerwindow = 9;
constexpr uint8_t consolewindow = 10;

// Window numbers the show/hide commands name, by the tag that shows them;
// the tag after it hides the same window. Graphic windows follow from 213.
struct ShowHide {
    int64_t showaction;
    uint8_t window;
};
constexpr std::array<ShowHide, 5> textwindowcommands = {{
    {205, 12},  // main application window
    {207, 11},  // preferences
    {209, 9},   // virtual printer
    {211, 8},   // pasteboard window
    {229, 10},  // system console
}};
constexpr int64_t firstgraphicaction = 213;
constexpr int64_t lastgraphicaction = firstgraphicaction + 2 * graphicwindowcount - 1;

bool isgraphicwindow(uint8_t window)
{
    return window < graphicwindowcount;
}

void appendevent(t_MenuEvent event)
{
    std::lock_guard lock(t_MenuEventsLock);
    t_MenuEvents.push_back(std::move(event));
    t_MenuEventAvailable = true;
}

void startmenuhandler()
{
    startbackgroundtask(t_EventMenuProcess);
}

t_MenuEvent eventfor(const t_MenuItemInfo& item)
{
    t_MenuEvent event;
    event.Kind = 3;
    event.MenuTitle = item.MenuTitle;
    event.ItemTitle = item.ItemTitle;
    event.ItemKeyChar = item.KeyEquivalent;
    event.ItemKeyMods = item.KeyModifiers;
    event.ItemKeyAsc = int64_t(unicode::firstscalar(item.KeyEquivalent));
    event.ItemAction = item.Tag;
    event.Time = absolute_ms();
    return event;
}

// Runs `work` on the main thread with the text view of the printer or the
// console; when the view is missing, prints the line and beeps instead.
bool withtextview(uint8_t window, const std::function<void(PlatformTextView*)>& work)
{
    if (withtextwindowview("t_MenuEventHandler", window, work))
        return true;
    sysbeep();
    return false;
}

void copypicture()
{
    const uint8_t window = mainwindownumber();
    std::shared_ptr<WindowImage> image;
    if (isgraphicwindow(window) && windowview(window) != nullptr)
        image = t_WindowImage(window);
    if (image == nullptr) {
        sysbeep();
        return;
    }
    platform::run_on_main([&] { platform::set_pasteboard_image(*image); });
}

// A graphic window's text as it is copied: trimmed lines, look-alikes.
std::string copiedscreentext(uint8_t window)
{
    return t_PrintableText(t_GetScreen(window, "\r"));
}

void copytext()
{
    const uint8_t window = mainwindownumber();
    std::string text;
    const auto readview = [&](PlatformTextView* view) { text = platform::text_view_text(view); };
    if (isgraphicwindow(window)) {
        text = copiedscreentext(window);
    } else if (window != printerwindow && window != consolewindow) {
        sysbeep();
        return;
    } else if (!withtextview(window, readview)) {
        return;
    }
    platform::run_on_main([&] { platform::set_pasteboard_text(text); });
}

// Empties the printer (9) or console (10) view and its output buffer.
void cleartextwindow(uint8_t window)
{
    withtextview(window, [window](PlatformTextView* view) {
        {
            std::lock_guard lock(printerbufferlock);
            (window == printerwindow ? printeroutputbuffer : consoleoutputbuffer).clear();
        }
        platform::set_text_view_text(view, std::string());
        platform::mark_text_view(view);
    });
}

void programaction()
{
    if (isgraphicwindow(mainwindownumber()) && t_ProgramActionHandler)
        t_ProgramActionHandler();
    else
        sysbeep();
}

void showorhide(uint8_t window, bool show)
{
    if (show)
        t_WindowFront(window);
    else
        t_WindowVisible(window, false);
}

void showorhidegraphic(int64_t action)
{
    const int64_t offset = action - firstgraphicaction;
    const uint8_t window = uint8_t(offset / 2);
    if (!memoryready || !windowtable[window].Initialized) {
        notinitialized("t_MenuEventHandler", window);
        sysbeep();
        return;
    }
    showorhide(window, offset % 2 == 0);
}

// 200..231: hiding everything, the main window, or one window.
void windowcommand(int64_t action)
{
    if (action == 200) {
        for (int window = 0; window <= 12; ++window)
            t_WindowVisible(uint8_t(window), false);
        return;
    }
    if (action == 201) {
        t_WindowVisible(mainwindownumber(), false);
        return;
    }
    if (action >= firstgraphicaction && action <= lastgraphicaction) {
        showorhidegraphic(action);
        return;
    }
    for (const ShowHide& command : textwindowcommands)
        if (action == command.showaction || action == command.showaction + 1)
            showorhide(command.window, action == command.showaction);
}

// 100, 101: a panel whose answer goes back into the table entry. The
// entry is read before and written after the panel by position: the
// program may add entries while the panel waits for the user.
void panelcommand(size_t index, int64_t action)
{
    const t_MenuAction entry = t_MenuActions[index];
    const std::string path =
        action == 100
            ? openfile(entry.Title, entry.Note, entry.FileTypes, true, false)
            : savefile(entry.FileName, entry.Title, entry.Note, entry.FileTypes);
    t_MenuActions[index].FilePath = path;
    t_MenuActions[index].FileName = filename(path);
}

void runcommand(size_t index)
{
    const int64_t action = t_MenuActions[index].Action;
    switch (action) {
    case 100:
    case 101: panelcommand(index, action); break;
    case 110: copypicture(); break;
    case 111: copytext(); break;
    case 112: cleartextwindow(printerwindow); break;
    case 113: programaction(); break;
    case 114: cleartextwindow(consolewindow); break;
    default: windowcommand(action); break;
    }
}

// What the runtime's graphic character codes look like in plain text.
struct LookAlike {
    char32_t first;
    char32_t last;
    const char* text;
};
constexpr std::array<LookAlike, 16> lookalikes = {{
    {127, 127, "#"},
    {128, 128, "*"},
    {129, 129, "#"},
    {130, 130, "<"},
    {131, 131, "="},
    {132, 132, ">"},
    {133, 133, "O"},
    {134, 137, "+"},
    {138, 139, "|"},
    {140, 141, "-"},
    {142, 153, "+"},
    {154, 155, "-"},
    {156, 157, "|"},
    {158, 158, "+"},
    {159, 159, "="},
    {160, 160, "\u02FD"},
}};

const char* lookalike(char32_t code)
{
    for (const LookAlike& entry : lookalikes)
        if (code >= entry.first && code <= entry.last)
            return entry.text;
    return nullptr;
}

}  // namespace

size_t menuqueuelength()
{
    std::lock_guard lock(t_MenuEventsLock);
    return t_MenuEvents.size();
}

void t_MenuEventHandler(const t_MenuItemInfo& item)
{
    if (!item.InMenu) {
        appendevent(t_MenuEvent{});
        startmenuhandler();
        return;
    }
    t_MenuEvent event = eventfor(item);
    const int64_t index = t_MenuActionIndex(item.Tag);
    if (index < 0) {
        appendevent(std::move(event));
        startmenuhandler();
        return;
    }
    runcommand(size_t(index));
    appendevent(std::move(event));
}

bool viewscreentext(uint8_t window, t_ScreenText& screen)
{
    if (!windowhastext(window))
        return false;
    const t_Window& w = windowtable[window];
    screen.Columns = w.TextWidth;
    screen.Lines = w.TextHeight;
    screen.CursorColumn = w.TextHpos;
    screen.CursorLine = w.TextVpos;
    screen.Text = copiedscreentext(window);
    return true;
}

std::string t_PrintableText(const std::string& text)
{
    // Works on the bytes: code 127 is one byte and 128..160 are C2 80..C2 A0
    // in UTF-8; everything else, bytes that are no UTF-8 included, is copied
    // as it stands.
    std::string result;
    result.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        const uint8_t byte = uint8_t(text[at]);
        const uint8_t next = at + 1 < text.size() ? uint8_t(text[at + 1]) : 0;
        const bool twobytes = byte == 0xC2 && next >= 0x80 && next <= 0xA0;
        const char* replacement = byte == 0x7F ? lookalike(byte)
                                  : twobytes   ? lookalike(next)
                                               : nullptr;
        if (replacement == nullptr) {
            result += char(byte);
            continue;
        }
        result += replacement;
        at += twobytes ? 1 : 0;
    }
    return result;
}
