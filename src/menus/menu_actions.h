// The menu action table (which menu item tag runs which built-in command)
// and the operations on the menu bar's items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct t_MenuAction {
    int64_t Tag = 0;
    int64_t Action = 0;
    std::string Title;
    std::string Note;
    std::string FileName;
    std::string FileTypes;
    std::string FilePath;
};

// Searched from the front; the first entry with a tag wins. Main thread and
// program thread: entries are only added during start-up.
extern std::vector<t_MenuAction> t_MenuActions;

// The table t_InitMemory builds: tags 200..231, then 110..114.
void buildmenuactions();
// Removes the items the desktop adds to the standard menus on its own.
void adjustmenus();

void t_MenuActionAdd(int64_t code);
int64_t t_MenuActionIndex(int64_t tag);
int64_t t_MenuItemIndex(const std::string& menu, const std::string& item);
void t_MenuItemDelete(const std::string& menu, int64_t position);
std::string t_MenuItemTitle(const std::string& menu, int64_t position);
