#include "frontends/qt/graphic_views.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "frontends/qt/composition.h"
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

// Alt is the Option modifier and F10 a function key of the program: neither
// may start the menu bar's keyboard navigation, which would swallow the
// keys that follow.
bool ismenubarkey(int key)
{
    return key == Qt::Key_Alt || key == Qt::Key_F10;
}

}  // namespace

GraphicView::GraphicView(int number, QWidget* parent) : QWidget(parent), number_(number)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, true);
}

// The menu bar watches its window for the shortcut check of a lone Alt;
// accepting the check here keeps the key with the view.
bool GraphicView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        forwardswallowed(key->nativeScanCode());
        if (ismenubarkey(key->key())) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void GraphicView::forwardswallowed(quint32 scancode)
{
    for (const t_KeyPress& press : swallowedpresses(scancode))
        viewKeyDown(number_, press);
}

void GraphicView::modifierschanged(uint64_t flags)
{
    viewFlagsChanged(flags);
    notecommandmodifiers((flags & (controlflag | optionflag | commandflag)) != 0);
}

void GraphicView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        viewKeyDown(number_, composedpress(event->commitString()));
    event->accept();
}

QVariant GraphicView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled: return composingallowed();
    case Qt::ImHints: return int(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase);
    case Qt::ImCursorRectangle: {
        // The cell in image pixels, scaled as the image is to the view.
        const t_CursorCell cell = viewtextcursor(number_);
        if (cell.ImageWidth < 1 || cell.ImageHeight < 1)
            return QRect();
        const double sx = double(width()) / double(cell.ImageWidth);
        const double sy = double(height()) / double(cell.ImageHeight);
        return QRectF(cell.X * sx, cell.Y * sy, cell.Width * sx, cell.Height * sy).toRect();
    }
    default: return QWidget::inputMethodQuery(query);
    }
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
    forwardswallowed(key.scancode);
    if (ismodifierkey(key.key))
        modifierschanged(modifierflagsafter(key, true));
    else
        viewKeyDown(number_, keypressfrom(key));
}

void GraphicView::keyReleaseEvent(QKeyEvent* event)
{
    const QtKey key = qtkeyfrom(*event);
    if (ismodifierkey(key.key)) {
        modifierschanged(modifierflagsafter(key, false));
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
    // The middle button pastes the primary selection, as in every text
    // field on Linux.
    if (event->button() == Qt::MiddleButton) {
        const QString selection = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!selection.isEmpty())
            viewPaste(number_, selection.toStdString());
        return;
    }
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
    if (GraphicView* widget = toview(view))
        widget->update();
}

void draw_view_now(PlatformView* view)
{
    if (GraphicView* widget = toview(view))
        widget->repaint();
}

// The image fills the view, so rows first..last cover the view's lines
// from first * height / rows up to (last + 1) * height / rows. When the
// scale is no whole number, a line more on each side covers the rounding
// of the scaled drawing.
void mark_view_rows(PlatformView* view, int64_t first, int64_t last, int64_t rows)
{
    GraphicView* widget = toview(view);
    if (widget == nullptr || rows <= 0 || last < first)
        return;
    const int64_t height = widget->height();
    const int64_t margin = height % rows != 0 ? 1 : 0;
    const int64_t top = std::max<int64_t>(first * height / rows - margin, 0);
    const int64_t bottom = std::min(((last + 1) * height + rows - 1) / rows + margin, height);
    if (bottom > top)
        widget->update(QRect(0, int(top), widget->width(), int(bottom - top)));
}

}  // namespace

void addgraphicviews(platform::Port& port)
{
    port.set_view_frame = set_view_frame;
    port.mark_view = mark_view;
    port.mark_view_rows = mark_view_rows;
    port.draw_view_now = draw_view_now;
}
