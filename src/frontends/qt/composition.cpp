#include "frontends/qt/composition.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <algorithm>
#include <deque>
#include <iterator>
#include <xcb/xcb.h>

#include "frontends/qt/graphic_views.h"
#include "frontends/qt/key_mapping.h"

namespace {

struct NativePress {
    quint32 scancode = 0;
    quint32 state = 0;
};

// The presses noted but not yet seen by a view, oldest first (main thread
// only). A sequence is a few keys; anything older is long over.
std::deque<NativePress> unseen;
constexpr size_t mostunseen = 8;

bool commandheld = false;  // main thread only

// X11's modifier state as Qt's modifiers.
Qt::KeyboardModifiers x11modifiers(quint32 state)
{
    Qt::KeyboardModifiers modifiers;
    if (state & XCB_MOD_MASK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (state & XCB_MOD_MASK_CONTROL)
        modifiers |= Qt::ControlModifier;
    if (state & XCB_MOD_MASK_1)
        modifiers |= Qt::AltModifier;
    if (state & XCB_MOD_MASK_4)
        modifiers |= Qt::MetaModifier;
    return modifiers;
}

QtKey nativekey(const NativePress& press, const QString& text)
{
    QtKey key;
    key.modifiers = x11modifiers(press.state);
    key.scancode = press.scancode;
    key.nativemodifiers = press.state;
    key.text = text;
    key.x11state = true;
    return key;
}

// Whether the X window that receives a key press is one of ours whose
// focus is on a graphic view (whether or not the desktop has made that
// window the active one yet).
bool forgraphicview(xcb_window_t window)
{
    const QWidget* top = QWidget::find(WId(window));
    return top != nullptr && dynamic_cast<const GraphicView*>(top->window()->focusWidget()) != nullptr;
}

class KeyWatcher final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
            return false;
        const auto* press = static_cast<const xcb_key_press_event_t*>(message);
        if (!forgraphicview(press->event))
            return false;
        notecommandmodifiers((press->state & (XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4)) != 0);
        notenativepress(press->detail, press->state);
        return false;
    }
};

}  // namespace

void watchnativekeys(QCoreApplication& application)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    static KeyWatcher watcher;
    application.installNativeEventFilter(&watcher);
}

void notenativepress(quint32 scancode, quint32 state)
{
    unseen.push_back({scancode, state});
    if (unseen.size() > mostunseen)
        unseen.pop_front();
}

// Keys without a position (modifiers, lock keys) were never key presses.
// The key that arrived is its latest press: a dead key swallowed before
// may sit on the same key (^, then Shift+^ for °).
std::vector<t_KeyPress> swallowedpresses(quint32 scancode)
{
    const auto latest = std::find_if(unseen.rbegin(), unseen.rend(),
                                     [scancode](const NativePress& p) { return p.scancode == scancode; });
    if (latest == unseen.rend())
        return {};
    const auto arrived = std::prev(latest.base());
    std::vector<t_KeyPress> presses;
    for (auto press = unseen.begin(); press != arrived; ++press) {
        const QtKey key = nativekey(*press, QString());
        if (keycodefor(key) != unknownkeycode)
            presses.push_back(t_KeyPress{keycodefor(key), std::string(), modifierflags(key)});
    }
    unseen.erase(unseen.begin(), arrived + 1);
    return presses;
}

t_KeyPress composedpress(const QString& text)
{
    if (unseen.empty()) {
        QtKey key;
        key.modifiers = QGuiApplication::keyboardModifiers();
        return t_KeyPress{unknownkeycode, text.toStdString(), modifierflags(key)};
    }
    const QtKey key = nativekey(unseen.back(), text);
    unseen.clear();
    return t_KeyPress{keycodefor(key), text.toStdString(), modifierflags(key)};
}

void notecommandmodifiers(bool held)
{
    if (held == commandheld)
        return;
    commandheld = held;
    QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

bool composingallowed()
{
    return !commandheld;
}
