// The application delegate: the runtime's anchor in the desktop. It holds
// the outlets through which window numbers reach windows and views
// (windownumber and friends), receives the application's lifecycle calls,
// hides windows instead of closing them, lays out the text windows after a
// resize and hands chosen menu items to the runtime.
#pragma once

#include <Qt>
#include <array>
#include <vector>

#include "util/relaxed.h"

class GraphicView;
class QAbstractScrollArea;
class QAction;
class QLineEdit;
class QMenu;
class QWidget;
class TextView;
class TopWindow;

class AppDelegate {
public:
    AppDelegate();  // every outlet empty

    // Outlets, set once when the interface is built. A scroll view and its
    // text view are one widget (a plain-text edit scrolls itself); both
    // outlets are kept so the roles read as the runtime names them.
    GraphicView* t_View00 = nullptr;
    GraphicView* t_View01 = nullptr;
    GraphicView* t_View02 = nullptr;
    GraphicView* t_View03 = nullptr;
    GraphicView* t_View04 = nullptr;
    GraphicView* t_View05 = nullptr;
    GraphicView* t_View06 = nullptr;
    GraphicView* t_View07 = nullptr;
    TopWindow* VirtualPrinterWindow = nullptr;
    QAbstractScrollArea* VirtualPrinterScrollView = nullptr;
    TextView* VirtualPrinterTextView = nullptr;
    QLineEdit* VirtualPrinterRuler = nullptr;
    TopWindow* SystemConsoleWindow = nullptr;
    QAbstractScrollArea* SystemConsoleScrollView = nullptr;
    TextView* SystemConsoleTextView = nullptr;
    QLineEdit* SystemConsoleRuler = nullptr;
    TopWindow* PasteboardWindow = nullptr;
    QAbstractScrollArea* PasteboardScrollView = nullptr;
    TextView* PasteboardTextView = nullptr;
    TopWindow* MainWindow = nullptr;
    TopWindow* PreferencesWindow = nullptr;

    // The view outlet of graphic window 0..7 (the field above).
    GraphicView*& view(int number);
    // The top-level menus of the shared menu bar, in bar order.
    std::vector<QMenu*> menus;

    relaxed<bool> launchfinished = false;
    relaxed<bool> applicationactive = false;
    // While "Alle Fenster ausblenden" runs, hiding a window minimises it
    // instead, so that the task bar brings it back (main thread only).
    bool minimiseonhide = false;

    // Lifecycle, in the order the application calls them.
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();
    void applicationStateChanged(Qt::ApplicationState state);
    void applicationWillTerminate();

    // Windows: the close box hides, a resize lays out the window's view or
    // text view. On Linux the menu bar lives in the windows: whatever leaves
    // no window shown (the close box, the window manager's close request, a
    // menu choice) quits the application as Beenden does.
    void windowShouldClose(QWidget* window);
    void windowDidResize(QWidget* window);

    // A menu item of the runtime was chosen.
    void MenuHandler(QAction* item);

    // True while any window of the interface is shown (minimised counts).
    bool anywindowshown() const;

private:
    void quitwhennowindowshown() const;

    std::array<GraphicView**, 8> views_;
};

// The one delegate of the process; exists from the start of the program.
AppDelegate& appdelegate();
