// Qt key events in the runtime's platform-neutral form.
#include <gtest/gtest.h>

#include "frontends/qt/key_mapping.h"
#include "support/keyboard.h"

namespace {

constexpr quint32 x11(int evdev)
{
    return quint32(evdev + 8);
}

const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, control = Qt::ControlModifier, keypad = Qt::KeypadModifier;

QtKey qtkey(int key, Qt::KeyboardModifiers modifiers, quint32 scancode = 0, const char* text = "")
{
    return QtKey{key, modifiers, scancode, 0, QString::fromUtf8(text), false};
}

}  // namespace

// The key code comes from the physical position (scan code) where there is
// one, else from the Qt key; the characters from the key where Qt's text is
// empty or not what the runtime expects.
TEST(KeyMapping, QtKeyEventsBecomeKeyPresses)
{
    const struct { const char* what; QtKey key; int64_t code; const char* characters; uint64_t flags; } rows[] = {
        {"Shift+a, no scan code", qtkey(Qt::Key_A, shift, 0, "A"), 0, "A", shiftflag},
        {"z typed on the Y key of a German layout", qtkey(Qt::Key_Z, none, x11(21), "z"), 16, "z", 0},
        {"Control+C reported as c", qtkey(Qt::Key_C, control, x11(46), "c"), 8, "\x03", controlflag},
        {"Control+dead circumflex", qtkey(Qt::Key_Dead_Circumflex, control, x11(41)), 10, "\x1E", controlflag},
        {"Control+underscore", qtkey(Qt::Key_Underscore, control | shift, 0, "_"), 27, "\x1F", controlflag | shiftflag},
        {"Right, no scan code", qtkey(Qt::Key_Right, none), 124, "\uF703", 0},
        {"F1 with empty text", qtkey(Qt::Key_F1, none, x11(59)), 122, "\uF704", 0},
        {"Shift+Tab with empty text", qtkey(Qt::Key_Backtab, shift, x11(15)), 48, "\x19", shiftflag},
        {"Backspace", qtkey(Qt::Key_Backspace, none, x11(14), "\b"), 51, "\x7F", 0},
        {"Forward Delete", qtkey(Qt::Key_Delete, none, x11(111), "\x7F"), 117, "\uF728", 0},
        {"keypad 8", qtkey(Qt::Key_8, keypad, 0, "8"), 91, "8", numericpadflag},
        {"digit 8 off the keypad", qtkey(Qt::Key_8, none, 0, "8"), 28, "8", 0},
        {"keypad Enter", qtkey(Qt::Key_Enter, keypad, x11(96), "\r"), 76, "\r", numericpadflag},
        {"keypad Clear", qtkey(Qt::Key_Clear, keypad), 71, "", numericpadflag},
        {"Control+keypad 8 as Xvfb sends it", qtkey(Qt::Key_8, control | keypad, 80, "\x7F"), 91, "\x7F",
         controlflag | numericpadflag},
        {"dead circumflex left of 1", qtkey(Qt::Key_Dead_Circumflex, none, x11(41), "^"), 10, "", 0},
        {"dead circumflex, no scan code", qtkey(Qt::Key_Dead_Circumflex, none), 10, "", 0},
        {"degree, Shift left of 1", qtkey(Qt::Key_degree, shift, 0, "°"), 10, "°", shiftflag},
        {"grave left of 1 on a US layout", qtkey(Qt::Key_QuoteLeft, none, 0, "`"), 10, "`", 0},
        {"dead acute left of Backspace", qtkey(Qt::Key_Dead_Acute, none), 24, "", 0},
        {"less beside the left Shift", qtkey(Qt::Key_Less, none, x11(86), "<"), 50, "<", 0},
        {"Print, no scan code", qtkey(Qt::Key_Print, none), 105, "\uF710", 0},
        {"Pause", qtkey(Qt::Key_Pause, none, x11(119)), 113, "\uF712", 0},
        {"key without position", qtkey(Qt::Key_Eacute, none, 8, "é"), unknownkeycode, "é", 0},
        {"keycode beyond the table", qtkey(Qt::Key_A, none, 300, "a"), unknownkeycode, "a", 0},
        {"euro on the E key", qtkey(0x20AC, none, x11(18), "€"), 14, "€", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const t_KeyPress press = keypressfrom(row.key);
        EXPECT_EQ(std::tuple(press.KeyCode, press.Characters, press.ModifierFlags),
                  std::tuple(row.code, row.characters, row.flags));
    }
}

// Qt reports the state before or after a modifier key's change depending on
// the platform; the key's own bit must follow what happened either way.
TEST(KeyMapping, AModifierKeySetsOrClearsItsOwnBitAndGivesNoKeyPress)
{
    const struct { int key; Qt::KeyboardModifiers reported; bool pressed; uint64_t flags; } rows[] = {
        {Qt::Key_Shift, none, true, shiftflag},          {Qt::Key_Shift, shift, true, shiftflag},
        {Qt::Key_Shift, shift, false, 0},                {Qt::Key_Control, shift, true, shiftflag | controlflag},
        {Qt::Key_Alt, none, true, optionflag},           {Qt::Key_Super_L, none, true, commandflag},
        {Qt::Key_NumLock, keypad, true, numericpadflag}, {Qt::Key_AltGr, none, true, 0},
        {Qt::Key_CapsLock, none, true, 0},               {Qt::Key_ScrollLock, control, true, controlflag},
    };
    for (const auto& row : rows) {
        EXPECT_TRUE(ismodifierkey(row.key)) << std::hex << row.key;
        EXPECT_EQ(modifierflagsafter(qtkey(row.key, row.reported), row.pressed), row.flags) << std::hex << row.key;
    }
}

// Every key of both keyboards by its X11 keycode, whatever Qt calls it.
TEST(KeyMapping, EveryKeyOfAGermanAndAUSKeyboardHasTheCodeOfItsPosition)
{
    int german = 0, us = 0;
    for (const KeyboardKey& key : keyboardkeys) {
        german += 1;
        us += key.us != nullptr;
        if (key.code != modifier) {
            EXPECT_EQ(keycodefor(qtkey(Qt::Key_unknown, none, x11(key.evdev))), key.code) << key.german;
        }
    }
    EXPECT_EQ(std::pair(german, us), std::pair(105, 104));
}
