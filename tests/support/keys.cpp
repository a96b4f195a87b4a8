#include "support/keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

void sendkey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

namespace {

// Qt's key codes for Latin-1 characters are their upper-case code points;
// other characters arrive on a key Qt does not know.
int keyfor(char32_t c)
{
    switch (c) {
    case ' ': return Qt::Key_Space;
    case '-': return Qt::Key_Minus;
    case 0xDF: return Qt::Key_ssharp;
    default: return c < 0x100 ? int(QChar(c).toUpper().unicode()) : int(Qt::Key_unknown);
    }
}

}  // namespace

void typetext(QWidget* target, const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        const bool shifted = QChar::isLetter(c) && QChar::isUpper(c);
        sendkey(target, keyfor(c), shifted ? Qt::ShiftModifier : Qt::NoModifier,
                QString::fromUcs4(&c, 1));
    }
}

void pressreturn(QWidget* target)
{
    sendkey(target, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
}

void pressescape(QWidget* target)
{
    sendkey(target, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
}

void pressctrl(QWidget* target, int key)
{
    sendkey(target, key, Qt::ControlModifier, QString());
}
