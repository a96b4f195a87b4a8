#include "frontends/qt/graphic_views.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "frontends/qt/accessible_views.h"
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
        // The cell in image pixels, scaled and placed as the image is.
        const t_CursorCell cell = viewtextcursor(number_);
        if (cell.ImageWidth < 1 || cell.ImageHeight < 1)
            return QRect();
        const ViewGeometry geometry =
            viewgeometry(QSize(int(cell.ImageWidth), int(cell.ImageHeight)), size(), devicePixelRatioF());
        const double sx = geometry.target.width() / double(cell.ImageWidth);
        const double sy = geometry.target.height() / double(cell.ImageHeight);
        return QRectF(geometry.target.left() + cell.X * sx, geometry.target.top() + cell.Y * sy,
                      cell.Width * sx, cell.Height * sy)
            .toAlignedRect();
    }
    default: return QWidget::inputMethodQuery(query);
    }
}

void GraphicView::setnaturalcontent(QSize size)
{
    naturalcontent_ = size;
    layoutincontent();
}

void GraphicView::setruntimeframe(const PlatformRect& frame)
{
    runtimeframe_ = frame;
    layoutincontent();
}

void GraphicView::layoutincontent()
{
    const QWidget* content = parentWidget();
    if (content == nullptr)
        return;
    const QSize area = content->size();
    const QSize natural = naturalcontent_.isEmpty() ? area : naturalcontent_;
    const QRect laidout = toqtrect(runtimeframe_, natural.height());
    const int left = laidout.left();
    const int top = laidout.top();
    const int right = natural.width() - laidout.left() - laidout.width();
    const int bottom = natural.height() - laidout.top() - laidout.height();
    setGeometry(left, top, std::max(0, area.width() - left - right),
                std::max(0, area.height() - top - bottom));
}

QSize GraphicView::imagesize() const
{
    const QSize frame = toqtrect(runtimeframe_, 0).size();
    if (!frame.isEmpty() || !lastimage_)
        return frame;
    return QSize(int(lastimage_->Width), int(lastimage_->Height));
}

ViewGeometry GraphicView::imagegeometry() const
{
    return viewgeometry(imagesize(), size(), devicePixelRatioF());
}

void GraphicView::paintEvent(QPaintEvent*)
{
    std::shared_ptr<WindowImage> image = viewbegindraw(uint8_t(number_));
    if (image && fitsimage(*image))
        lastimage_ = std::move(image);
    if (lastimage_) {
        // The runtime's pixels are 0xAARRGGBB words, which is what RGB32
        // holds: wrap them instead of copying. Around the image the margin
        // colour of the window's content area shows through.
        const int width = int(lastimage_->Width);
        const int height = int(lastimage_->Height);
        const QImage wrapped(reinterpret_cast<const uchar*>(lastimage_->Pixels.data()), width,
                             height, qsizetype(width) * 4, QImage::Format_RGB32);
        const ViewGeometry geometry = viewgeometry(QSize(width, height), size(), devicePixelRatioF());
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, geometry.mode == ScaleMode::smooth);
        painter.drawImage(geometry.target, wrapped);
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
    const QPoint pixel = imagepixelat(imagegeometry(), event->position());
    viewMouseDown(number_,
                  mousepressat(pixel, runtimeframe_, imagesize().height(), event->modifiers(),
                               event->buttons()),
                  event->button() == Qt::RightButton);
}

void GraphicView::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (isclickbutton(event->button()))
        viewMouseUp();
}

t_MousePress mousepressat(QPoint pixel, const PlatformRect& viewframe, int imageheight,
                          Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    // Whole numbers, so the runtime's truncation toward zero gives back
    // exactly this pixel, on either side of the image.
    t_MousePress press;
    press.X = std::round(viewframe.x) + pixel.x();
    press.Y = std::round(viewframe.y) + imageheight - pixel.y();
    press.ModifierFlags = flagsfor(modifiers);
    press.PressedButtons = ((buttons & Qt::LeftButton) ? 1 : 0) | ((buttons & Qt::RightButton) ? 2 : 0);
    return press;
}

namespace {

void set_view_frame(PlatformView* view, PlatformRect frame)
{
    if (GraphicView* widget = toview(view))
        widget->setruntimeframe(frame);
}

// A minimised window's view converts nothing: it is drawn afresh when the
// window is shown again (TopWindow).
bool drawable(const GraphicView* widget)
{
    return widget != nullptr && !widget->window()->isMinimized();
}

void mark_view(PlatformView* view)
{
    GraphicView* widget = toview(view);
    if (drawable(widget)) {
        widget->update();
        noteviewchange(widget);
    }
}

void draw_view_now(PlatformView* view)
{
    GraphicView* widget = toview(view);
    if (drawable(widget)) {
        widget->repaint();
        noteviewchange(widget);
    }
}

// Only the band of the view that shows the changed rows is drawn again;
// an image of another height than the view last showed redraws it all.
void mark_view_rows(PlatformView* view, int64_t first, int64_t last, int64_t rows)
{
    GraphicView* widget = toview(view);
    if (!drawable(widget) || rows <= 0 || last < first)
        return;
    const QSize image = widget->imagesize();
    if (image.height() != rows) {
        mark_view(view);
        return;
    }
    const QRect band = viewrectofrows(widget->imagegeometry(), image, int(first), int(last));
    if (!band.isEmpty())
        widget->update(band);
    noteviewchange(widget);
}

}  // namespace

void addgraphicviews(platform::Port& port)
{
    port.set_view_frame = set_view_frame;
    port.mark_view = mark_view;
    port.mark_view_rows = mark_view_rows;
    port.draw_view_now = draw_view_now;
}
