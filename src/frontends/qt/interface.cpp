#include "frontends/qt/interface.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "frontends/qt/accessible_views.h"
#include "frontends/qt/app_delegate.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/menus.h"
#include "frontends/qt/text_windows.h"
#include "frontends/qt/top_window.h"

namespace {

// Sizes are those of the content area (below the menu bar), in points.
constexpr int graphicwidth = 688;
constexpr int graphicheight = 448;
constexpr int graphicborder = 24;

TopWindow* makewindow(const QString& title, QPoint position, QSize content)
{
    auto* window = new TopWindow(title);
    attachmenus(window->menubar());
    window->setGeometry(QRect(position, content + QSize(0, window->menubarheight())));
    window->layoutparts();
    return window;
}

template <typename View>
void makegraphicwindow(GraphicView*& outlet, int number)
{
    TopWindow* window = makewindow(QStringLiteral("Sprecho"), QPoint(40 + 30 * number, 40 + 30 * number),
                                   QSize(graphicwidth, graphicheight));
    auto* view = new View(window->content());
    view->setnaturalcontent(QSize(graphicwidth, graphicheight));
    view->setruntimeframe({graphicborder, graphicborder, graphicwidth - 2 * graphicborder,
                           graphicheight - 2 * graphicborder});
    outlet = view;
}

QLineEdit* makeruler(QWidget* area)
{
    auto* ruler = new QLineEdit(area);
    ruler->setReadOnly(true);
    ruler->setFrame(false);
    ruler->setFont(textviewfont());
    ruler->setFocusPolicy(Qt::NoFocus);
    ruler->move(24, 10);
    return ruler;
}

struct TextWindow {
    TopWindow* window;
    TextView* text;
    QLineEdit* ruler;
};

// The scroll view and ruler get their places from the same relayout a
// resize runs, so the first layout and every later one agree. A screen
// reader names the text view as its window and hears what it holds.
TextWindow maketextwindow(const QString& title, QPoint position, QSize content, bool withruler,
                          const QString& description)
{
    TopWindow* window = makewindow(title, position, content);
    auto* text = new TextView(window->content());
    text->setAccessibleName(title);
    text->setAccessibleDescription(description);
    QLineEdit* ruler = withruler ? makeruler(window->content()) : nullptr;
    if (ruler != nullptr)
        ruler->setAccessibleName(QStringLiteral("Spaltenlineal"));
    return {window, text, ruler};
}

TopWindow* makenotewindow(const QString& title, QPoint position, QSize content, const QString& note,
                          int pointsize)
{
    TopWindow* window = makewindow(title, position, content);
    auto* label = new QLabel(note, window->content());
    QFont font = label->font();
    font.setPixelSize(pointsize);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setGeometry(20, 20, content.width() - 40, content.height() - 40);
    return window;
}

void buildtextwindows(AppDelegate& d)
{
    const TextWindow pasteboard =
        maketextwindow(QStringLiteral("Zwischenablage"), {120, 120}, {500, 300}, false,
                       QStringLiteral("Der Text der Zwischenablage"));
    d.PasteboardWindow = pasteboard.window;
    d.PasteboardScrollView = d.PasteboardTextView = pasteboard.text;

    const TextWindow printer =
        maketextwindow(QStringLiteral("Protokoll"), {60, 80}, {1000, 500}, true,
                       QStringLiteral("Das Protokoll des Gesprächs"));
    d.VirtualPrinterWindow = printer.window;
    d.VirtualPrinterScrollView = d.VirtualPrinterTextView = printer.text;
    d.VirtualPrinterRuler = printer.ruler;

    const TextWindow console =
        maketextwindow(QStringLiteral("Systemkonsole"), {90, 100}, {1000, 400}, true,
                       QStringLiteral("Die Ausgaben des Programms an die Konsole"));
    d.SystemConsoleWindow = console.window;
    d.SystemConsoleScrollView = d.SystemConsoleTextView = console.text;
    d.SystemConsoleRuler = console.ruler;

    for (const uint8_t number : {8, 9, 10})
        relayouttextwindow(number);
}

}  // namespace

void buildinterface()
{
    AppDelegate& d = appdelegate();
    installaccessibleviews();
    buildmenus();
    makegraphicwindow<View00>(d.t_View00, 0);
    makegraphicwindow<View01>(d.t_View01, 1);
    makegraphicwindow<View02>(d.t_View02, 2);
    makegraphicwindow<View03>(d.t_View03, 3);
    makegraphicwindow<View04>(d.t_View04, 4);
    makegraphicwindow<View05>(d.t_View05, 5);
    makegraphicwindow<View06>(d.t_View06, 6);
    makegraphicwindow<View07>(d.t_View07, 7);
    buildtextwindows(d);
    d.PreferencesWindow =
        makenotewindow(QStringLiteral("Einstellungen"), {200, 160}, {420, 140},
                       QStringLiteral("Sprecho hat keine Einstellungen: Es gibt nichts einzustellen."), 14);
    d.MainWindow = makenotewindow(QStringLiteral("Sprecho"), {240, 200}, {360, 160},
                                  QStringLiteral("Sprecho\nDein Gesprächspartner"), 22);
}

void destroyinterface()
{
    AppDelegate& d = appdelegate();
    for (int number = 0; number < 8; ++number) {
        GraphicView*& view = d.view(number);
        if (view != nullptr)
            delete view->window();
        view = nullptr;
    }
    for (TopWindow** window : {&d.PasteboardWindow, &d.VirtualPrinterWindow, &d.SystemConsoleWindow,
                               &d.PreferencesWindow, &d.MainWindow}) {
        delete *window;
        *window = nullptr;
    }
    d.PasteboardScrollView = d.VirtualPrinterScrollView = d.SystemConsoleScrollView = nullptr;
    d.PasteboardTextView = d.VirtualPrinterTextView = d.SystemConsoleTextView = nullptr;
    d.VirtualPrinterRuler = d.SystemConsoleRuler = nullptr;
    for (QMenu* menu : d.menus)
        delete menu;
    d.menus.clear();
}
