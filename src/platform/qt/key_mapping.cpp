#include "platform/qt/key_mapping.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>

#include "util/unicode.h"

namespace {

// Physical keys by Linux input event code (the X11 keycode minus 8), with
// the runtime's code of the key at the same place. The two keys an ISO
// keyboard has beyond a US one sit as on the original platform's ISO
// keyboards: left of 1 (^ on a German layout) is 10, beside the left Shift
// (<) is 50. Print and Pause sit where F13 and F15 do.
constexpr std::pair<uint16_t, uint16_t> evdevkeys[] = {
    {1, 53},    {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    {7, 22},
    {8, 26},    {9, 28},    {10, 25},   {11, 29},   {12, 27},   {13, 24},   {14, 51},
    {15, 48},   {16, 12},   {17, 13},   {18, 14},   {19, 15},   {20, 17},   {21, 16},
    {22, 32},   {23, 34},   {24, 31},   {25, 35},   {26, 33},   {27, 30},   {28, 36},
    {30, 0},    {31, 1},    {32, 2},    {33, 3},    {34, 5},    {35, 4},    {36, 38},
    {37, 40},   {38, 37},   {39, 41},   {40, 39},   {41, 10},   {43, 42},   {44, 6},
    {45, 7},    {46, 8},    {47, 9},    {48, 11},   {49, 45},   {50, 46},   {51, 43},
    {52, 47},   {53, 44},   {55, 67},   {57, 49},   {59, 122},  {60, 120},  {61, 99},
    {62, 118},  {63, 96},   {64, 97},   {65, 98},   {66, 100},  {67, 101},  {68, 109},
    {71, 89},   {72, 91},   {73, 92},   {74, 78},   {75, 86},   {76, 87},   {77, 88},
    {78, 69},   {79, 83},   {80, 84},   {81, 85},   {82, 82},   {83, 65},   {86, 50},
    {87, 103},  {88, 111},  {96, 76},   {98, 75},   {99, 105},  {102, 115}, {103, 126},
    {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125}, {109, 121}, {110, 114},
    {111, 117}, {113, 74},  {114, 73},  {115, 72},  {117, 81},  {119, 113}, {121, 95},
    {127, 110}, {138, 114}, {183, 105}, {184, 107}, {185, 113}, {186, 106}, {187, 64},
    {188, 79},  {189, 80},  {190, 90},
};

constexpr std::array<uint16_t, 256> scancodetable()
{
    std::array<uint16_t, 256> table{};
    table.fill(uint16_t(unknownkeycode));
    for (const auto& [evdev, code] : evdevkeys)
        table[evdev + 8] = code;
    return table;
}

constexpr auto scancodes = scancodetable();

// Where there is no scan code (the offscreen platform, synthetic events)
// the key is placed by what it means on a US layout; the German letters
// and dead keys sit where the German layout has them (^ left of 1, the
// accents left of Backspace), and so does the key left of 1 on any layout.
constexpr std::pair<int, uint16_t> qtkeys[] = {
    {Qt::Key_A, 0},  {Qt::Key_B, 11}, {Qt::Key_C, 8},  {Qt::Key_D, 2},  {Qt::Key_E, 14},
    {Qt::Key_F, 3},  {Qt::Key_G, 5},  {Qt::Key_H, 4},  {Qt::Key_I, 34}, {Qt::Key_J, 38},
    {Qt::Key_K, 40}, {Qt::Key_L, 37}, {Qt::Key_M, 46}, {Qt::Key_N, 45}, {Qt::Key_O, 31},
    {Qt::Key_P, 35}, {Qt::Key_Q, 12}, {Qt::Key_R, 15}, {Qt::Key_S, 1},  {Qt::Key_T, 17},
    {Qt::Key_U, 32}, {Qt::Key_V, 9},  {Qt::Key_W, 13}, {Qt::Key_X, 7},  {Qt::Key_Y, 16},
    {Qt::Key_Z, 6},
    {Qt::Key_0, 29}, {Qt::Key_1, 18}, {Qt::Key_2, 19}, {Qt::Key_3, 20}, {Qt::Key_4, 21},
    {Qt::Key_5, 23}, {Qt::Key_6, 22}, {Qt::Key_7, 26}, {Qt::Key_8, 28}, {Qt::Key_9, 25},
    {Qt::Key_Exclam, 18}, {Qt::Key_At, 19}, {Qt::Key_NumberSign, 20}, {Qt::Key_Dollar, 21},
    {Qt::Key_Percent, 23}, {Qt::Key_AsciiCircum, 22}, {Qt::Key_Ampersand, 26},
    {Qt::Key_Asterisk, 28}, {Qt::Key_ParenLeft, 25}, {Qt::Key_ParenRight, 29},
    {Qt::Key_Minus, 27}, {Qt::Key_Underscore, 27}, {Qt::Key_Equal, 24}, {Qt::Key_Plus, 24},
    {Qt::Key_BracketLeft, 33}, {Qt::Key_BraceLeft, 33}, {Qt::Key_BracketRight, 30},
    {Qt::Key_BraceRight, 30}, {Qt::Key_Semicolon, 41}, {Qt::Key_Colon, 41},
    {Qt::Key_Apostrophe, 39}, {Qt::Key_QuoteDbl, 39}, {Qt::Key_Comma, 43}, {Qt::Key_Less, 43},
    {Qt::Key_Period, 47}, {Qt::Key_Greater, 47}, {Qt::Key_Slash, 44}, {Qt::Key_Question, 44},
    {Qt::Key_Backslash, 42}, {Qt::Key_Bar, 42},
    {Qt::Key_QuoteLeft, 10}, {Qt::Key_AsciiTilde, 10}, {Qt::Key_section, 10},
    {Qt::Key_Dead_Circumflex, 10}, {Qt::Key_degree, 10},
    {Qt::Key_Adiaeresis, 39}, {Qt::Key_Odiaeresis, 41}, {Qt::Key_Udiaeresis, 33},
    {Qt::Key_ssharp, 27}, {Qt::Key_Dead_Acute, 24}, {Qt::Key_Dead_Grave, 24},
    {Qt::Key_Escape, 53}, {Qt::Key_Tab, 48}, {Qt::Key_Backtab, 48}, {Qt::Key_Backspace, 51},
    {Qt::Key_Return, 36}, {Qt::Key_Enter, 76}, {Qt::Key_Space, 49}, {Qt::Key_Insert, 114},
    {Qt::Key_Help, 114}, {Qt::Key_Delete, 117}, {Qt::Key_Home, 115}, {Qt::Key_End, 119},
    {Qt::Key_PageUp, 116}, {Qt::Key_PageDown, 121}, {Qt::Key_Left, 123},
    {Qt::Key_Right, 124}, {Qt::Key_Down, 125}, {Qt::Key_Up, 126}, {Qt::Key_Clear, 71},
    {Qt::Key_Menu, 110}, {Qt::Key_Print, 105}, {Qt::Key_Pause, 113},
    {Qt::Key_F1, 122}, {Qt::Key_F2, 120}, {Qt::Key_F3, 99},  {Qt::Key_F4, 118},
    {Qt::Key_F5, 96},  {Qt::Key_F6, 97},  {Qt::Key_F7, 98},  {Qt::Key_F8, 100},
    {Qt::Key_F9, 101}, {Qt::Key_F10, 109}, {Qt::Key_F11, 103}, {Qt::Key_F12, 111},
    {Qt::Key_F13, 105}, {Qt::Key_F14, 107}, {Qt::Key_F15, 113}, {Qt::Key_F16, 106},
    {Qt::Key_F17, 64}, {Qt::Key_F18, 79}, {Qt::Key_F19, 80}, {Qt::Key_F20, 90},
};

// The same keys on the numeric keypad.
constexpr std::pair<int, uint16_t> keypadkeys[] = {
    {Qt::Key_0, 82}, {Qt::Key_1, 83}, {Qt::Key_2, 84}, {Qt::Key_3, 85}, {Qt::Key_4, 86},
    {Qt::Key_5, 87}, {Qt::Key_6, 88}, {Qt::Key_7, 89}, {Qt::Key_8, 91}, {Qt::Key_9, 92},
    {Qt::Key_Period, 65}, {Qt::Key_Comma, 65}, {Qt::Key_Asterisk, 67}, {Qt::Key_Plus, 69},
    {Qt::Key_Minus, 78}, {Qt::Key_Slash, 75}, {Qt::Key_Enter, 76}, {Qt::Key_Return, 76},
    {Qt::Key_Equal, 81}, {Qt::Key_Clear, 71},
};

template <size_t N>
int64_t lookup(const std::pair<int, uint16_t> (&table)[N], int key)
{
    for (const auto& [qtkey, code] : table)
        if (qtkey == key)
            return code;
    return -1;
}

// The private characters a desktop reports for keys that type nothing.
char32_t functioncharacter(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return U'\uF704' + char32_t(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Print: return U'\uF710';  // F13, whose place it takes
    case Qt::Key_Pause: return U'\uF712';  // F15
    case Qt::Key_Up: return U'\uF700';
    case Qt::Key_Down: return U'\uF701';
    case Qt::Key_Left: return U'\uF702';
    case Qt::Key_Right: return U'\uF703';
    case Qt::Key_Insert: return U'\uF727';
    case Qt::Key_Delete: return U'\uF728';
    case Qt::Key_Home: return U'\uF729';
    case Qt::Key_End: return U'\uF72B';
    case Qt::Key_PageUp: return U'\uF72C';
    case Qt::Key_PageDown: return U'\uF72D';
    default: return 0;
    }
}

const char* fixedcharacters(int key)
{
    switch (key) {
    case Qt::Key_Backspace: return "\x7F";
    case Qt::Key_Return: return "\r";
    case Qt::Key_Escape: return "\x1B";
    case Qt::Key_Tab: return "\t";
    case Qt::Key_Backtab: return "\x19";
    default: return nullptr;
    }
}

bool isdeadkey(int key)
{
    return key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay;
}

uint64_t modifierbit(int key)
{
    switch (key) {
    case Qt::Key_Shift: return shiftflag;
    case Qt::Key_Control: return controlflag;
    case Qt::Key_Alt: return optionflag;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R: return commandflag;
    default: return 0;
    }
}

constexpr quint32 x11lockmask = 0x2;

}  // namespace

QtKey qtkeyfrom(const QKeyEvent& event)
{
    static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    QtKey key;
    key.key = event.key();
    key.modifiers = event.modifiers();
    key.scancode = event.nativeScanCode();
    key.nativemodifiers = event.nativeModifiers();
    key.text = event.text();
    key.x11state = x11;
    return key;
}

bool ismodifierkey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_Mode_switch: return true;
    default: return false;
    }
}

uint64_t flagsfor(Qt::KeyboardModifiers modifiers)
{
    uint64_t flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= shiftflag;
    if (modifiers & Qt::ControlModifier)
        flags |= controlflag;
    if (modifiers & Qt::AltModifier)
        flags |= optionflag;
    if (modifiers & Qt::MetaModifier)
        flags |= commandflag;
    if (modifiers & Qt::KeypadModifier)
        flags |= numericpadflag;
    return flags;
}

uint64_t modifierflags(const QtKey& key)
{
    uint64_t flags = flagsfor(key.modifiers);
    if (key.x11state && (key.nativemodifiers & x11lockmask) != 0)
        flags |= capslockflag;
    return flags;
}

uint64_t modifierflagsafter(const QtKey& key, bool pressed)
{
    uint64_t flags = modifierflags(key);
    // Caps Lock locks on the press; its release may or may not unlock, which
    // the next event's state tells.
    if (key.key == Qt::Key_CapsLock && key.x11state && pressed)
        flags |= capslockflag;
    const uint64_t bit = modifierbit(key.key);
    return pressed ? flags | bit : flags & ~bit;
}

int64_t keycodefor(const QtKey& key)
{
    if (key.scancode != 0)
        return key.scancode < scancodes.size() ? scancodes[key.scancode] : unknownkeycode;
    if (key.modifiers & Qt::KeypadModifier) {
        const int64_t code = lookup(keypadkeys, key.key);
        if (code >= 0)
            return code;
    }
    const int64_t code = lookup(qtkeys, key.key);
    return code >= 0 ? code : unknownkeycode;
}

std::string keycharacters(const QtKey& key)
{
    // Control with @, a letter, [, \, ], ^ or _ is the control code 0..31
    // whatever the layout made of it, so the line editor sees the same
    // codes on every desktop. The dead ^ of a German layout counts as ^:
    // Control+^ starts the line editor's decimal entry.
    const int plain = key.key == Qt::Key_Dead_Circumflex ? int(Qt::Key_AsciiCircum) : key.key;
    if ((key.modifiers & Qt::ControlModifier) && plain >= Qt::Key_At && plain <= Qt::Key_Underscore)
        return std::string(1, char(plain - Qt::Key_At));
    if (isdeadkey(key.key))
        return {};
    if (const char* fixed = fixedcharacters(key.key))
        return fixed;
    if (const char32_t function = functioncharacter(key.key))
        return unicode::encode(function);
    return key.text.toStdString();
}

t_KeyPress keypressfrom(const QtKey& key)
{
    return t_KeyPress{keycodefor(key), keycharacters(key), modifierflags(key)};
}
