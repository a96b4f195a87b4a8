// The views View00..View07 that show graphic windows 0..7. A view keeps no
// pixels of its own making: it paints the image the runtime converts for it
// and forwards keys and mouse clicks to the runtime.
#pragma once

#include <QWidget>
#include <memory>

#include "platform/entry_points.h"

class GraphicView : public QWidget {
public:
    GraphicView(int number, QWidget* parent);
    int number() const { return number_; }

    // What an input method asks of the view: that it takes composed text,
    // and where the text cursor is (in the view's coordinates).
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

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

// A mouse press at `position` (Qt coordinates of the window's content area,
// `contentheight` high) in the runtime's form.
t_MousePress mousepressfrom(QPointF position, int contentheight, Qt::KeyboardModifiers modifiers,
                            Qt::MouseButtons buttons);
