#include "frontends/qt/key_mapping.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>
#include <utility>

#include "platform/key_meanings.h"

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
// the key is placed by what it means (platform/key_meanings.h). Qt's codes
// for the keys that type Latin-1 characters are those characters; the dead
// keys of a German layout sit where it has them (^ left of 1, the accents
// left of Backspace).
constexpr std::pair<int, t_NamedKey> namedqtkeys[] = {
    {Qt::Key_Escape, t_NamedKey::escape},     {Qt::Key_Tab, t_NamedKey::tab},
    {Qt::Key_Backtab, t_NamedKey::backtab},   {Qt::Key_Backspace, t_NamedKey::backspace},
    {Qt::Key_Return, t_NamedKey::returnkey},  {Qt::Key_Enter, t_NamedKey::enter},
    {Qt::Key_Insert, t_NamedKey::insert},     {Qt::Key_Help, t_NamedKey::help},
    {Qt::Key_Delete, t_NamedKey::forwarddelete}, {Qt::Key_Home, t_NamedKey::home},
    {Qt::Key_End, t_NamedKey::end},           {Qt::Key_PageUp, t_NamedKey::pageup},
    {Qt::Key_PageDown, t_NamedKey::pagedown}, {Qt::Key_Left, t_NamedKey::left},
    {Qt::Key_Right, t_NamedKey::right},       {Qt::Key_Down, t_NamedKey::down},
    {Qt::Key_Up, t_NamedKey::up},             {Qt::Key_Clear, t_NamedKey::clear},
    {Qt::Key_Menu, t_NamedKey::menu},
};

bool namedkey(int key, t_NamedKey& named)
{
    for (const auto& [qtkey, meaning] : namedqtkeys)
        if (qtkey == key) {
            named = meaning;
            return true;
        }
    return false;
}

int functionkeynumber(int key)
{
    switch (key) {
    case Qt::Key_Print: return 13;  // it sits where F13 does
    case Qt::Key_Pause: return 15;  // and this where F15 does
    default: return key >= Qt::Key_F1 && key <= Qt::Key_F35 ? key - Qt::Key_F1 + 1 : 0;
    }
}

// The keypad's own keys; the others are found by what they type.
int64_t keypadcode(int key)
{
    switch (key) {
    case Qt::Key_Enter:
    case Qt::Key_Return: return namedkeycode(t_NamedKey::enter);
    case Qt::Key_Clear: return namedkeycode(t_NamedKey::clear);
    default: return key < 0x100 ? keypadkeycode(char32_t(key)) : unknownkeycode;
    }
}

bool isdeadkey(int key)
{
    return key >= Qt::Key_Dead_Grave && key <= Qt::Key_Dead_Longsolidusoverlay;
}

// The dead keys of a German layout, where it has them.
int64_t deadkeycode(int key)
{
    switch (key) {
    case Qt::Key_Dead_Circumflex: return characterkeycode(U'§');  // left of 1
    case Qt::Key_Dead_Acute:
    case Qt::Key_Dead_Grave: return characterkeycode(U'=');  // left of Backspace
    default: return unknownkeycode;
    }
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
        const int64_t code = keypadcode(key.key);
        if (code != unknownkeycode)
            return code;
    }
    t_NamedKey named{};
    if (namedkey(key.key, named))
        return namedkeycode(named);
    if (const int function = functionkeynumber(key.key))
        return functionkeycode(function);
    if (isdeadkey(key.key))
        return deadkeycode(key.key);
    return key.key < 0x100 ? characterkeycode(char32_t(key.key)) : unknownkeycode;
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
    t_NamedKey named{};
    if (namedkey(key.key, named)) {
        std::string characters = namedkeycharacters(named);
        if (!characters.empty())
            return characters;
    }
    if (const int function = functionkeynumber(key.key))
        return functionkeycharacters(function);
    return key.text.toStdString();
}

t_KeyPress keypressfrom(const QtKey& key)
{
    return t_KeyPress{keycodefor(key), keycharacters(key), modifierflags(key)};
}
