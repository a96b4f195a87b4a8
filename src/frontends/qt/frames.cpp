#include "frontends/qt/frames.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

// Qt keeps widget geometry in int and refuses sizes beyond this; a runtime
// asking for more gets the largest window Qt can make.
int toint(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::lround(std::clamp<double>(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
}

}  // namespace

int primaryscreenheight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 0;
}

QRect toqtrect(const PlatformRect& rect, int areaheight)
{
    const int width = std::max(0, toint(rect.width));
    const int height = std::max(0, toint(rect.height));
    const int bottom = toint(rect.y);
    return QRect(toint(rect.x), areaheight - bottom - height, width, height);
}

PlatformRect fromqtrect(const QRect& rect, int areaheight)
{
    return PlatformRect{double(rect.x()), double(areaheight - rect.y() - rect.height()),
                        double(rect.width()), double(rect.height())};
}

namespace {

int parentheight(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    return parent != nullptr ? parent->height() : 0;
}

}  // namespace

PlatformRect framewithinparent(const QWidget* widget)
{
    return widget != nullptr ? fromqtrect(widget->geometry(), parentheight(widget)) : PlatformRect{};
}

void placewithinparent(QWidget* widget, const PlatformRect& frame)
{
    if (widget != nullptr)
        widget->setGeometry(toqtrect(frame, parentheight(widget)));
}
