#include "menus/menu_actions.h"

#include <functional>

#include "platform/platform.h"
#include "util/diagnostics.h"

std::vector<t_MenuAction> t_MenuActions;

namespace {

constexpr int64_t lastitem = 65535;

void menunotfound(const char* op)
{
    diag_line(std::string(op) + ": Menu not found.");
}

// Resolves "the last item" and checks the range; -1 when out of range.
int64_t itemposition(const char* op, PlatformMenu* menu, int64_t position)
{
    const int64_t count = platform::menu_item_count(menu);
    if (position == lastitem && count > 0)
        return count - 1;
    if (position < 0 || position >= count) {
        diag_line(std::string(op) + ": Item position out of range");
        return -1;
    }
    return position;
}

// On the main thread: `work` with the item at `position` of the named menu,
// or the line that says why there is none.
void withitem(const char* op, const std::string& menu, int64_t position,
              const std::function<void(PlatformMenu*, int64_t)>& work)
{
    platform::run_on_main([&] {
        PlatformMenu* found = platform::find_menu(menu);
        if (found == nullptr) {
            menunotfound(op);
            return;
        }
        const int64_t at = itemposition(op, found, position);
        if (at >= 0)
            work(found, at);
    });
}

}  // namespace

void buildmenuactions()
{
    t_MenuActions.clear();
    for (int64_t code = 200; code <= 231; ++code)
        t_MenuActionAdd(code);
    for (int64_t code = 110; code <= 114; ++code)
        t_MenuActionAdd(code);
}

void t_MenuActionAdd(int64_t code)
{
    t_MenuAction action;
    action.Tag = code;
    action.Action = code;
    t_MenuActions.push_back(action);
}

int64_t t_MenuActionIndex(int64_t tag)
{
    if (tag == 0)
        return -1;
    for (size_t i = 0; i < t_MenuActions.size(); ++i)
        if (t_MenuActions[i].Tag == tag)
            return int64_t(i);
    return -1;
}

int64_t t_MenuItemIndex(const std::string& menu, const std::string& item)
{
    int64_t index = -2;
    platform::run_on_main([&] {
        PlatformMenu* found = platform::find_menu(menu);
        if (found == nullptr)
            return;
        index = -1;
        const int64_t count = platform::menu_item_count(found);
        for (int64_t position = 0; position < count && index < 0; ++position)
            if (platform::menu_item_title(found, position) == item)
                index = position;
    });
    if (index == -2)
        menunotfound("t_MenuItemIndex");
    return index;
}

void t_MenuItemDelete(const std::string& menu, int64_t position)
{
    withitem("t_MenuItemDelete", menu, position, platform::delete_menu_item);
}

std::string t_MenuItemTitle(const std::string& menu, int64_t position)
{
    std::string title;
    withitem("t_MenuItemTitle", menu, position,
             [&](PlatformMenu* found, int64_t at) { title = platform::menu_item_title(found, at); });
    return title;
}

void adjustmenus()
{
    // Items the desktop adds to the standard menus on its own, in both
    // languages; a desktop has one set of titles, so the other set's menus
    // report themselves missing.
    for (const char* title : {"Special Characters…", "Emoji & Symbols", "Emoji & Symbole",
                              "Start Dictation…", "Diktat starten …"})
        for (const char* menu : {"Bearbeiten", "Edit"}) {
            const int64_t index = t_MenuItemIndex(menu, title);
            if (index >= 0)
                t_MenuItemDelete(menu, index);
        }
    // A separator left at the end.
    for (const char* menu : {"Bearbeiten", "Edit"})
        if (t_MenuItemTitle(menu, lastitem).empty())
            t_MenuItemDelete(menu, lastitem);
    for (const char* title :
         {"Tile Window to Left of Screen", "Tile Window to Right of Screen", "Vollbildmodus"})
        for (const char* menu : {"Fenster", "Window"}) {
            const int64_t index = t_MenuItemIndex(menu, title);
            if (index < 0)
                continue;
            diag_line(std::string("*** Found ") + menu + " Menu Item " + title);
            t_MenuItemDelete(menu, index);
        }
}
