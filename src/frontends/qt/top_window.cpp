#include "frontends/qt/top_window.h"

#include <QCloseEvent>
#include <QMenuBar>

#include "frontends/qt/app_delegate.h"

TopWindow::TopWindow(const QString& title)
    : menubar_(new QMenuBar(this)), content_(new QWidget(this))
{
    setWindowTitle(title);
    setAttribute(Qt::WA_QuitOnClose, false);
    content_->setAutoFillBackground(true);
}

int TopWindow::menubarheight() const
{
    return menubar_->isHidden() ? 0 : menubar_->sizeHint().height();
}

void TopWindow::setmenubarshown(bool shown)
{
    menubar_->setHidden(!shown);
    layoutparts();
}

void TopWindow::layoutparts()
{
    const int bar = menubarheight();
    menubar_->setGeometry(0, 0, width(), bar);
    content_->setGeometry(0, bar, width(), std::max(0, height() - bar));
}

void TopWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    appdelegate().windowShouldClose(this);
}

void TopWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutparts();
    appdelegate().windowDidResize(this);
}

void TopWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // Marking the window alone does not reach the views inside it.
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        for (QWidget* part : content_->findChildren<QWidget*>())
            part->update();
}
