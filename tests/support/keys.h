// Typing into a view with real Qt key events, as a keyboard would.
#pragma once

#include <QString>
#include <Qt>

class QWidget;

// One key press and its release.
void sendkey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text);
// Each character as its key (letters with Shift when upper case).
void typetext(QWidget* target, const QString& text);
void pressreturn(QWidget* target);
void pressescape(QWidget* target);
// Control with a letter key; the view makes the control character.
void pressctrl(QWidget* target, int key);
