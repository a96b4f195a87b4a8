#include "support/menu_items.h"

#include <QAction>
#include <QMenu>

#include "frontends/qt/app_delegate.h"

QAction* itemwithtag(int64_t tag)
{
    for (QMenu* menu : appdelegate().menus)
        for (QAction* item : menu->findChildren<QAction*>())
            if (item->data().toLongLong() == tag)
                return item;
    return nullptr;
}
