// A top-level window of the interface: the shared menu bar along the top
// and, below it, the content area that the runtime lays out. The runtime's
// idea of the window (its frame, the views' origins, the mouse position)
// refers to the content area; the menu bar counts as part of the title
// strip above it.
#pragma once

#include <QWidget>

class QMenuBar;

class TopWindow : public QWidget {
public:
    explicit TopWindow(const QString& title);

    QWidget* content() const { return content_; }
    QMenuBar* menubar() const { return menubar_; }

    // Height the menu bar takes at the top (0 while it is hidden).
    int menubarheight() const;
    // The menu bar goes with the title bar: a borderless window has neither.
    void setmenubarshown(bool shown);
    // Places the menu bar and the content area for the current size.
    void layoutparts();

protected:
    // The close box only hides the window (through the delegate); the
    // window is never destroyed while the application runs.
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Shown again after being minimised, the window draws its views afresh:
    // their marks were skipped meanwhile.
    void changeEvent(QEvent* event) override;

private:
    QMenuBar* menubar_;
    QWidget* content_;
};
