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
    {"a, no scan code", Qt::Key_A, none, 0, "a", 0, "a", 0},
    {"Shift+a", Qt::Key_A, shift, 0, "A", 0, "A", shiftflag},
    {"a by position", Qt::Key_A, none, x11(30), "a", 0, "a", 0},
    {"z typed on the Y key of a German layout", Qt::Key_Z, none, x11(21), "z", 16, "z", 0},
    {"ö by position", Qt::Key_Odiaeresis, none, x11(39), "ö", 41, "ö", 0},
    {"ß without scan code", Qt::Key_ssharp, none, 0, "ß", 27, "ß", 0},
    {"Control+C", Qt::Key_C, control, 0, "\x03", 8, "\x03", controlflag},
    {"Control+C reported as c", Qt::Key_C, control, x11(46), "c", 8, "\x03", controlflag},
    {"Control+Shift+Z", Qt::Key_Z, control | shift, 0, "Z", 6, "\x1A", controlflag | shiftflag},
    {"Alt+a", Qt::Key_A, Qt::AltModifier, 0, "a", 0, "a", optionflag},
    {"Super+a", Qt::Key_A, Qt::MetaModifier, 0, "a", 0, "a", commandflag},
    {"Left", Qt::Key_Left, none, x11(105), "", 123, "\uF702", 0},
    {"Right", Qt::Key_Right, none, 0, "", 124, "\uF703", 0},
    {"Down", Qt::Key_Down, none, 0, "", 125, "\uF701", 0},
    {"Up", Qt::Key_Up, none, x11(103), "", 126, "\uF700", 0},
    {"F1 with empty text", Qt::Key_F1, none, x11(59), "", 122, "\uF704", 0},
    {"F12", Qt::Key_F12, none, 0, "", 111, "\uF70F", 0},
    {"F35", Qt::Key_F35, none, 0, "", unknownkeycode, "\uF726", 0},
    {"Tab", Qt::Key_Tab, none, x11(15), "\t", 48, "\t", 0},
    {"Shift+Tab with empty text", Qt::Key_Backtab, shift, x11(15), "", 48, "\x19", shiftflag},
    {"Backspace", Qt::Key_Backspace, none, x11(14), "\b", 51, "\x7F", 0},
    {"Return", Qt::Key_Return, none, x11(28), "\r", 36, "\r", 0},
    {"Escape", Qt::Key_Escape, none, 0, "\x1B", 53, "\x1B", 0},
    {"Forward Delete", Qt::Key_Delete, none, x11(111), "\x7F", 117, "\uF728", 0},
    {"Insert", Qt::Key_Insert, none, 0, "", 114, "\uF727", 0},
    {"Home", Qt::Key_Home, none, x11(102), "", 115, "\uF729", 0},
    {"End", Qt::Key_End, none, 0, "", 119, "\uF72B", 0},
    {"Page Up", Qt::Key_PageUp, none, 0, "", 116, "\uF72C", 0},
    {"Page Down", Qt::Key_PageDown, none, x11(109), "", 121, "\uF72D", 0},
    {"keypad 5 by position", Qt::Key_5, keypad, x11(76), "5", 87, "5", numericpadflag},
    {"keypad 0", Qt::Key_0, keypad, 0, "0", 82, "0", numericpadflag},
    {"keypad 7", Qt::Key_7, keypad, 0, "7", 89, "7", numericpadflag},
    {"keypad 8", Qt::Key_8, keypad, 0, "8", 91, "8", numericpadflag},
    {"keypad 9", Qt::Key_9, keypad, 0, "9", 92, "9", numericpadflag},
    {"digit 8 off the keypad", Qt::Key_8, none, 0, "8", 28, "8", 0},
    {"keypad Enter", Qt::Key_Enter, keypad, x11(96), "\r", 76, "\r", numericpadflag},
    {"keypad Enter, no scan code", Qt::Key_Enter, keypad, 0, "\r", 76, "\r", numericpadflag},
    {"keypad minus", Qt::Key_Minus, keypad, 0, "-", 78, "-", numericpadflag},
    {"keypad Clear", Qt::Key_Clear, keypad, 0, "", 71, "", numericpadflag},
    {"Control+keypad 8 as Xvfb sends it", Qt::Key_8, control | keypad, 80, "\x7F", 91, "\x7F",
     controlflag | numericpadflag},
    {"dead circumflex", Qt::Key_Dead_Circumflex, none, x11(41), "^", 50, "", 0},
    {"dead acute without scan code", Qt::Key_Dead_Acute, none, 0, "", unknownkeycode, "", 0},
    {"key without position", Qt::Key_Eacute, none, 8, "é", unknownkeycode, "é", 0},
    {"euro on the E key", 0x20AC, none, x11(18), "€", 14, "€", 0},
};

QtKey qtkey(const KeyRow& row)
{
    QtKey key;
    key.key = row.key;
    key.modifiers = row.modifiers;
    key.scancode = row.scancode;
    key.text = QString::fromUtf8(row.text);
    return key;
}

}  // namespace

TEST(KeyMapping, QtKeyEventsBecomeKeyPresses)
{
    for (const KeyRow& row : keyrows) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(ismodifierkey(row.key));
        const t_KeyPress press = keypressfrom(qtkey(row));
        EXPECT_EQ(press.KeyCode, row.code);
        EXPECT_EQ(press.Characters, row.characters);
        EXPECT_EQ(press.ModifierFlags, row.flags);
    }
}

TEST(KeyMapping, CapsLockIsKnownOnlyFromAnX11State)
{
    QtKey key = qtkey({"A", Qt::Key_A, none, x11(30), "A", 0, "A", 0});
    key.nativemodifiers = 0x2;
    EXPECT_EQ(modifierflags(key), 0u) << "no X11 state: unknown";
    key.x11state = true;
    EXPECT_EQ(modifierflags(key), capslockflag);
}

TEST(KeyMapping, ModifierAndLockKeysGiveNoKeyPress)
{
    for (const int key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Meta,
                          Qt::Key_Super_L, Qt::Key_Super_R, Qt::Key_CapsLock, Qt::Key_NumLock,
                          Qt::Key_ScrollLock})
        EXPECT_TRUE(ismodifierkey(key)) << std::hex << key;
}

TEST(KeyMapping, AModifierKeySetsOrClearsItsOwnBit)
{
    struct Row {
        int key;
        Qt::KeyboardModifiers reported;
        bool pressed;
        uint64_t flags;
    };
    const Row rows[] = {
        {Qt::Key_Shift, none, true, shiftflag},          // state before the press
        {Qt::Key_Shift, shift, true, shiftflag},         // state after the press
        {Qt::Key_Shift, shift, false, 0},                // release
        {Qt::Key_Control, shift, true, shiftflag | controlflag},
        {Qt::Key_Alt, none, true, optionflag},
        {Qt::Key_Super_L, none, true, commandflag},
        {Qt::Key_Meta, Qt::MetaModifier, false, 0},
        {Qt::Key_NumLock, none, true, 0},
        {Qt::Key_NumLock, keypad, true, numericpadflag},
        {Qt::Key_ScrollLock, control, true, controlflag},
    };
    for (const Row& row : rows) {
        QtKey key;
        key.key = row.key;
        key.modifiers = row.reported;
        EXPECT_EQ(modifierflagsafter(key, row.pressed), row.flags) << std::hex << row.key;
    }
}

TEST(MouseMapping, PositionsCountFromTheContentAreasBottom)
{
    const t_MousePress press = mousepressfrom(QPointF(30.5, 10.25), 448, Qt::ShiftModifier,
                                              Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(press.X, 30.5);
    EXPECT_EQ(press.Y, 437.75);
    EXPECT_EQ(press.ModifierFlags, shiftflag);
    EXPECT_EQ(press.PressedButtons, 3);

    const t_MousePress corner = mousepressfrom(QPointF(0, 448), 448, {}, Qt::RightButton);
    EXPECT_EQ(corner.Y, 0);
    EXPECT_EQ(corner.PressedButtons, 2);
    EXPECT_EQ(mousepressfrom(QPointF(1, 1), 10, Qt::ControlModifier, Qt::MiddleButton).PressedButtons, 0);
}
