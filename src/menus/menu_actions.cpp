// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "menus/menu_actions.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::vector<t_MenuAction> t_MenuActions;
void buildmenuactions() {}
void adjustmenus() {}
void t_MenuActionAdd(int64_t code) {}
int64_t t_MenuActionIndex(int64_t tag) { return {}; }
int64_t t_MenuItemIndex(const std::string& menu, const std::string& item) { return {}; }
void t_MenuItemDelete(const std::string& menu, int64_t position) {}
std::string t_MenuItemTitle(const std::string& menu, int64_t position) { return {}; }
