// Qt key and mouse events in the runtime's platform-neutral form.
#include <gtest/gtest.h>

#include "platform/qt/graphic_views.h"
#include "platform/qt/key_mapping.h"

namespace {

struct KeyRow {
    const char* what;
    int key;
    Qt::KeyboardModifiers modifiers;
    quint32 scancode;  // X11 keycode; 0 where the platform has none
    const char* text;
    int64_t code;
    const char* characters;
    uint64_t flags;
};

constexpr quint32 x11(int evdev)
{
    return quint32(evdev + 8);
}

const Qt::KeyboardModifiers none;
const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
const Qt::KeyboardModifiers control = Qt::ControlModifier;
const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;

const KeyRow keyrows[] = {
    {"Shift+a, no scan code", Qt::Key_A, shift, 0, "A", 0, "A", shiftflag},
    {"z typed on the Y key of a German layout", Qt::Key_Z, none, x11(21), "z", 16, "z", 0},
    {"ö by position", Qt::Key_Odiaeresis, none, x11(39), "ö", 41, "ö", 0},
    {"Control+C reported as c", Qt::Key_C, control, x11(46), "c", 8, "\x03", controlflag},
    {"Control+Shift+Z", Qt::Key_Z, control | shift, 0, "Z", 6, "\x1A", controlflag | shiftflag},
    {"Alt+a", Qt::Key_A, Qt::AltModifier, 0, "a", 0, "a", optionflag},
    {"Left", Qt::Key_Left, none, x11(105), "", 123, "\uF702", 0},
    {"Right, no scan code", Qt::Key_Right, none, 0, "", 124, "\uF703", 0},
    {"Up", Qt::Key_Up, none, x11(103), "", 126, "\uF700", 0},
    {"F1 with empty text", Qt::Key_F1, none, x11(59), "", 122, "\uF704", 0},
    {"Tab", Qt::Key_Tab, none, x11(15), "\t", 48, "\t", 0},
    {"Shift+Tab with empty text", Qt::Key_Backtab, shift, x11(15), "", 48, "\x19", shiftflag},
    {"Backspace", Qt::Key_Backspace, none, x11(14), "\b", 51, "\x7F", 0},
    {"Forward Delete", Qt::Key_Delete, none, x11(111), "\x7F", 117, "\uF728", 0},
    {"keypad 7", Qt::Key_7, keypad, 0, "7", 89, "7", numericpadflag},
    {"keypad 8", Qt::Key_8, keypad, 0, "8", 91, "8", numericpadflag},
    {"keypad 9", Qt::Key_9, keypad, 0, "9", 92, "9", numericpadflag},
    {"digit 8 off the keypad", Qt::Key_8, none, 0, "8", 28, "8", 0},
    {"keypad Enter", Qt::Key_Enter, keypad, x11(96), "\r", 76, "\r", numericpadflag},
    {"keypad Clear", Qt::Key_Clear, keypad, 0, "", 71, "", numericpadflag},
    {"Control+keypad 8 as Xvfb sends it", Qt::Key_8, control | keypad, 80, "\x7F", 91, "\x7F",
     controlflag | numericpadflag},
    {"dead circumflex", Qt::Key_Dead_Circumflex, none, x11(41), "^", 50, "", 0},
    {"key without position", Qt::Key_Eacute, none, 8, "é", unknownkeycode, "é", 0},
    {"euro on the E key", 0x20AC, none, x11(18), "€", 14, "€", 0},
};

QtKey qtkey(int key, Qt::KeyboardModifiers modifiers, quint32 scancode = 0, const char* text = "")
{
    QtKey q;
    q.key = key;
    q.modifiers = modifiers;
    q.scancode = scancode;
    q.text = QString::fromUtf8(text);
    return q;
}

}  // namespace

TEST(KeyMapping, QtKeyEventsBecomeKeyPresses)
{
    for (const KeyRow& row : keyrows) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(ismodifierkey(row.key));
        const t_KeyPress press = keypressfrom(qtkey(row.key, row.modifiers, row.scancode, row.text));
        EXPECT_EQ(std::tuple(press.KeyCode, press.Characters, press.ModifierFlags),
                  std::tuple(row.code, row.characters, row.flags));
    }
}

TEST(KeyMapping, CapsLockIsKnownOnlyFromAnX11State)
{
    QtKey key = qtkey(Qt::Key_A, none, x11(30), "A");
    key.nativemodifiers = 0x2;
    EXPECT_EQ(modifierflags(key), 0u) << "no X11 state: unknown";
    key.x11state = true;
    EXPECT_EQ(modifierflags(key), capslockflag);
}

// Qt reports the state before or after a modifier key's change depending on
// the platform; the key's own bit must follow what happened either way.
TEST(KeyMapping, AModifierKeySetsOrClearsItsOwnBitAndGivesNoKeyPress)
{
    const struct { int key; Qt::KeyboardModifiers reported; bool pressed; uint64_t flags; } rows[] = {
        {Qt::Key_Shift, none, true, shiftflag},          {Qt::Key_Shift, shift, true, shiftflag},
        {Qt::Key_Shift, shift, false, 0},                {Qt::Key_Control, shift, true, shiftflag | controlflag},
        {Qt::Key_Alt, none, true, optionflag},           {Qt::Key_Super_L, none, true, commandflag},
        {Qt::Key_Meta, Qt::MetaModifier, false, 0},      {Qt::Key_NumLock, keypad, true, numericpadflag},
        {Qt::Key_ScrollLock, control, true, controlflag},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(ismodifierkey(row.key)) << std::hex << row.key;
        EXPECT_EQ(modifierflagsafter(qtkey(row.key, row.reported), row.pressed), row.flags) << std::hex << row.key;
    }
    for (const int key : {Qt::Key_AltGr, Qt::Key_Super_R, Qt::Key_CapsLock})
        EXPECT_TRUE(ismodifierkey(key)) << std::hex << key;
}

TEST(MouseMapping, PositionsCountFromTheContentAreasBottom)
{
    const t_MousePress press = mousepressfrom(QPointF(30.5, 10.25), 448, shift, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(std::tuple(press.X, press.Y, press.ModifierFlags, press.PressedButtons),
              std::tuple(30.5, 437.75, shiftflag, 3));
    const t_MousePress corner = mousepressfrom(QPointF(0, 448), 448, {}, Qt::RightButton);
    EXPECT_EQ(std::tuple(corner.Y, corner.PressedButtons), std::tuple(0.0, 2));
    EXPECT_EQ(mousepressfrom(QPointF(1, 1), 10, control, Qt::MiddleButton).PressedButtons, 0);
}
