#include "support/keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

void sendkey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QCoreApplication::sendEvent(target, &event);
    }
}

// Qt's key codes for Latin-1 characters are their upper-case code points;
// other characters arrive on a key Qt does not know.
static int keyfor(char32_t c)
{
    if (c == ' ' || c == '-' || c == 0xDF)
        return c == ' ' ? Qt::Key_Space : c == '-' ? Qt::Key_Minus : Qt::Key_ssharp;
    return c < 0x100 ? int(QChar(c).toUpper().unicode()) : int(Qt::Key_unknown);
}

void typetext(QWidget* target, const QString& text)
{
    for (const char32_t c : text.toUcs4()) {
        const bool shifted = QChar::isLetter(c) && QChar::isUpper(c);
        sendkey(target, keyfor(c), shifted ? Qt::ShiftModifier : Qt::NoModifier, QString::fromUcs4(&c, 1));
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
