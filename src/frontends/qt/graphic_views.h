// The views View00..View07 that show graphic windows 0..7. A view keeps no
// pixels of its own making: it paints the image the runtime converts for it
// and forwards keys and mouse clicks to the runtime.
#pragma once

#include <QWidget>
#include <memory>

#include "frontends/qt/view_geometry.h"
#include "platform/entry_points.h"
#include "platform/platform.h"

class GraphicView : public QWidget {
public:
    GraphicView(int number, QWidget* parent);
    int number() const { return number_; }

    // What an input method asks of the view: that it takes composed text,
    // and where the text cursor is (in the view's coordinates).
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // The runtime lays the view out in its window's content area as if that
    // area had its natural size (the frame the runtime last asked for, less
    // the title strip): `frame` from the area's bottom left. An area of
    // another size (fitted to a small screen, resized, full screen) keeps
    // the margins around the view, and the view takes the rest.
    void setnaturalcontent(QSize size);
    void setruntimeframe(const PlatformRect& frame);
    const PlatformRect& runtimeframe() const { return runtimeframe_; }
    void layoutincontent();

    // The image last painted (none before the first), its size (the
    // runtime's frame before the first), and where it goes in the view now.
    const WindowImage* shownimage() const { return lastimage_.get(); }
    QSize imagesize() const;
    ViewGeometry imagegeometry() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    // Tab belongs to the program, not to focus changes.
    bool focusNextPrevChild(bool) override { return false; }

private:
    void forwardswallowed(quint32 scancode);
    void modifierschanged(uint64_t flags);

    int number_;
    QSize naturalcontent_;
    PlatformRect runtimeframe_;
    // The last image shown: a pass without an image leaves the view as it
    // was instead of blanking it.
    std::shared_ptr<WindowImage> lastimage_;
};

template <int N>
class ViewN final : public GraphicView {
public:
    explicit ViewN(QWidget* parent) : GraphicView(N, parent) {}
};
using View00 = ViewN<0>;
using View01 = ViewN<1>;
using View02 = ViewN<2>;
using View03 = ViewN<3>;
using View04 = ViewN<4>;
using View05 = ViewN<5>;
using View06 = ViewN<6>;
using View07 = ViewN<7>;

// A mouse press on image pixel `pixel` (outside the image in the
// letterbox) in the runtime's form: the position in the window, laid out
// as the runtime laid it out (`viewframe`), that lies on that pixel of an
// image `imageheight` rows high.
t_MousePress mousepressat(QPoint pixel, const PlatformRect& viewframe, int imageheight,
                          Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
