#include "frontends/qt/graphic_views.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <limits>

#include "frontends/qt/accessible_views.h"
#include "frontends/qt/frames.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/key_mapping.h"
#include "frontends/qt/port.h"
#include "platform/entry_points.h"

namespace {

bool fitsimage(const WindowImage& image)
{
    constexpr int64_t limit = std::numeric_limits<int>::max() / 4;
    return image.Width > 0 && image.Height > 0 && image.Width <= limit && image.Height <= limit &&
           image.Pixels.size() >= size_t(image.Width) * size_t(image.Height);
}

bool isclickbutton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton;
}

}  // namespace

GraphicView::GraphicView(int number, QWidget* parent) : QWidget(parent), number_(number)
{
    setFocusPolicy(Qt::StrongFocus);
}

void GraphicView::paintEvent(QPaintEvent*)
{
    std::shared_ptr<WindowImage> image = viewbegindraw(uint8_t(number_));
    if (image && fitsimage(*image))
        lastimage_ = std::move(image);
    if (lastimage_) {
        // The runtime's pixels are 0xAARRGGBB words, which is what RGB32
        // holds: wrap them instead of copying. Nearest-neighbour scaling
        // keeps them sharp on screens with more than one pixel per point.
        const int width = int(lastimage_->Width);
        const int height = int(lastimage_->Height);
        const QImage wrapped(reinterpret_cast<const uchar*>(lastimage_->Pixels.data()), width,
                             height, qsizetype(width) * 4, QImage::Format_RGB32);
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(rect(), wrapped);
    }
    viewenddraw(uint8_t(number_));
}

void GraphicView::keyPressEvent(QKeyEvent* event)
{
    const QtKey key = qtkeyfrom(*event);
    if (ismodifierkey(key.key))
        viewFlagsChanged(modifierflagsafter(key, true));
    else
        viewKeyDown(number_, keypressfrom(key));
}

void GraphicView::keyReleaseEvent(QKeyEvent* event)
{
    const QtKey key = qtkeyfrom(*event);
    if (ismodifierkey(key.key)) {
        viewFlagsChanged(modifierflagsafter(key, false));
        return;
    }
    // X11 repeats a held key as release/press pairs; the key is still down.
    if (event->isAutoRepeat())
        return;
    QWidget::keyReleaseEvent(event);
    viewKeyUp();
}

void GraphicView::mousePressEvent(QMouseEvent* event)
{
    if (!isclickbutton(event->button())) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QWidget* content = parentWidget() != nullptr ? parentWidget() : this;
    const QPointF position = mapTo(content, event->position());
    viewMouseDown(number_,
                  mousepressfrom(position, content->height(), event->modifiers(), event->buttons()),
                  event->button() == Qt::RightButton);
}

void GraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (isclickbutton(event->button()))
        viewMouseUp();
}

t_MousePress mousepressfrom(QPointF position, int contentheight, Qt::KeyboardModifiers modifiers,
                            Qt::MouseButtons buttons)
{
    t_MousePress press;
    press.X = position.x();
    press.Y = contentheight - position.y();
    press.ModifierFlags = flagsfor(modifiers);
    press.PressedButtons = ((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0);
    return press;
}

namespace {

void set_view_frame(PlatformView* view, PlatformRect frame)
{
    placewithinparent(toview(view), frame);
}

void mark_view(PlatformView* view)
{
    if (GraphicView* widget = toview(view)) {
        widget->update();
        noteviewchange(widget);
    }
}

void draw_view_now(PlatformView* view)
{
    if (GraphicView* widget = toview(view)) {
        widget->repaint();
        noteviewchange(widget);
    }
}

}  // namespace

void addgraphicviews(platform::Port& port)
{
    port.set_view_frame = set_view_frame;
    port.mark_view = mark_view;
    port.draw_view_now = draw_view_now;
}
