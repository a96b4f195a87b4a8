#include "frontends/qt/menus.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/application.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/key_mapping.h"
#include "frontends/qt/platform_windows.h"
#include "frontends/qt/port.h"
#include "platform/entry_points.h"
#include "platform/platform.h"

namespace {

// Menu shortcuts are Control+Shift+letter only, so every Control+letter
// reaches the program's line editor.
QKeySequence shortcut(char letter)
{
    return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key(Qt::Key_A + (letter - 'A')));
}

QAction* additem(QMenu* menu, const QString& title, int64_t tag, QKeySequence keys = {})
{
    QAction* item = menu->addAction(title);
    item->setData(QVariant::fromValue<qint64>(tag));
    item->setShortcut(keys);
    QObject::connect(item, &QAction::triggered, item, [item] { appdelegate().MenuHandler(item); });
    return item;
}

QMenu* applicationmenu()
{
    auto* menu = new QMenu(QStringLiteral("Sprecho"));
    additem(menu, QStringLiteral("Über Sprecho"), 205);
    additem(menu, QStringLiteral("Einstellungen …"), 207);
    menu->addSeparator();
    QAction* quit = menu->addAction(QStringLiteral("Beenden"));
    quit->setShortcut(shortcut('Q'));
    QObject::connect(quit, &QAction::triggered, qApp, quitapplication);
    return menu;
}

QMenu* editmenu()
{
    auto* menu = new QMenu(QStringLiteral("Bearbeiten"));
    additem(menu, QStringLiteral("Bild kopieren"), 110);
    additem(menu, QStringLiteral("Text kopieren"), 111, shortcut('C'));
    menu->addSeparator();
    additem(menu, QStringLiteral("Protokoll sichern …"), platform::savelogtag, shortcut('S'));
    additem(menu, QStringLiteral("Protokoll löschen"), 112);
    additem(menu, QStringLiteral("Konsole löschen"), 114);
    menu->addSeparator();
    additem(menu, QStringLiteral("Aktion ausführen"), 113);
    return menu;
}

void addpair(QMenu* menu, const QString& show, const QString& hide, int64_t showtag,
             QKeySequence keys = {})
{
    additem(menu, show, showtag, keys);
    additem(menu, hide, showtag + 1);
}

QMenu* windowmenu()
{
    auto* menu = new QMenu(QStringLiteral("Fenster"));
    additem(menu, QStringLiteral("Alle Fenster ausblenden"), hideallwindowstag);
    additem(menu, QStringLiteral("Fenster ausblenden"), 201, shortcut('W'));
    // The desktop's own command: no tag, the runtime never hears of it.
    QAction* fullscreen = menu->addAction(QStringLiteral("Vollbild"));
    fullscreen->setShortcut(shortcut('F'));
    QObject::connect(fullscreen, &QAction::triggered, fullscreen, [] { togglefullscreen(); });
    menu->addSeparator();
    addpair(menu, QStringLiteral("Protokoll zeigen"), QStringLiteral("Protokoll ausblenden"), 209,
            shortcut('P'));
    addpair(menu, QStringLiteral("Zwischenablage zeigen"),
            QStringLiteral("Zwischenablage ausblenden"), 211);
    addpair(menu, QStringLiteral("Systemkonsole zeigen"), QStringLiteral("Systemkonsole ausblenden"),
            229);
    addpair(menu, QStringLiteral("Einstellungen zeigen"), QStringLiteral("Einstellungen ausblenden"),
            207);
    addpair(menu, QStringLiteral("Hauptfenster zeigen"), QStringLiteral("Hauptfenster ausblenden"),
            205);
    menu->addSeparator();
    QMenu* graphics = menu->addMenu(QStringLiteral("Grafikfenster"));
    for (int n = 0; n < 8; ++n)
        addpair(graphics, QStringLiteral("Grafikfenster %1 zeigen").arg(n),
                QStringLiteral("Grafikfenster %1 ausblenden").arg(n), 213 + 2 * n);
    return menu;
}

// The menu that holds an item, if it is still in it.
const QMenu* owningmenu(const QAction* item)
{
    const auto* menu = qobject_cast<const QMenu*>(item->parent());
    return menu != nullptr && menu->actions().contains(const_cast<QAction*>(item)) ? menu : nullptr;
}

// The key of a shortcut as the character it types without Shift.
std::string keyequivalent(QKeyCombination keys)
{
    const QString key = QKeySequence(keys.key()).toString(QKeySequence::PortableText);
    return key.size() == 1 ? key.toLower().toStdString() : key.toStdString();
}

}  // namespace

void buildmenus()
{
    AppDelegate& delegate = appdelegate();
    if (!delegate.menus.empty())
        return;
    delegate.menus = {applicationmenu(), editmenu(), windowmenu()};
}

void attachmenus(QMenuBar* bar)
{
    for (QMenu* menu : appdelegate().menus)
        bar->addMenu(menu);
}

QString plaintitle(const QString& title)
{
    QString plain;
    plain.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == u'&' && i + 1 < title.size())
            ++i;  // "&x" is x with a mnemonic, "&&" a real "&"
        else if (title[i] == u'&')
            continue;
        plain += title[i];
    }
    return plain;
}

t_MenuItemInfo menuiteminfo(const QAction* item)
{
    t_MenuItemInfo info;
    const QMenu* menu = item != nullptr ? owningmenu(item) : nullptr;
    if (menu == nullptr)
        return info;
    info.InMenu = true;
    info.MenuTitle = plaintitle(menu->title()).toStdString();
    info.ItemTitle = plaintitle(item->text()).toStdString();
    if (!item->shortcut().isEmpty()) {
        info.KeyEquivalent = keyequivalent(item->shortcut()[0]);
        info.KeyModifiers = flagsfor(item->shortcut()[0].keyboardModifiers());
    }
    info.Tag = item->data().toLongLong();
    return info;
}

namespace {

PlatformMenu* find_menu(const std::string& title)
{
    const QString wanted = QString::fromStdString(title);
    for (QMenu* menu : appdelegate().menus)
        if (plaintitle(menu->title()) == wanted)
            return tohandle(menu);
    return nullptr;
}

int64_t menu_item_count(PlatformMenu* menu)
{
    const QMenu* widget = tomenu(menu);
    return widget != nullptr ? widget->actions().size() : 0;
}

std::string menu_item_title(PlatformMenu* menu, int64_t position)
{
    const QMenu* widget = tomenu(menu);
    if (widget == nullptr || position < 0 || position >= widget->actions().size())
        return {};
    return plaintitle(widget->actions().at(position)->text()).toStdString();
}

void delete_menu_item(PlatformMenu* menu, int64_t position)
{
    QMenu* widget = tomenu(menu);
    if (widget == nullptr || position < 0 || position >= widget->actions().size())
        return;
    QAction* item = widget->actions().at(position);
    widget->removeAction(item);
    // The item may be the one being chosen right now; a submenu's own
    // entry belongs to the submenu.
    if (item->parent() == widget)
        item->deleteLater();
}

}  // namespace

void addmenus(platform::Port& port)
{
    port.find_menu = find_menu;
    port.menu_item_count = menu_item_count;
    port.menu_item_title = menu_item_title;
    port.delete_menu_item = delete_menu_item;
}
