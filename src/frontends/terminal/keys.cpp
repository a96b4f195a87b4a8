#include "frontends/terminal/keys.h"

#include <curses.h>

#include <string>

#include "frontends/terminal/terminfo.h"

#include "util/unicode.h"

namespace {

struct CodeRow {
    int keycode;
    t_NamedKey key;
    uint64_t flags;
};

// The terminal library's own names for keys.
const CodeRow coderows[] = {
    {KEY_UP, t_NamedKey::up, 0},                 {KEY_DOWN, t_NamedKey::down, 0},
    {KEY_LEFT, t_NamedKey::left, 0},             {KEY_RIGHT, t_NamedKey::right, 0},
    {KEY_HOME, t_NamedKey::home, 0},             {KEY_END, t_NamedKey::end, 0},
    {KEY_FIND, t_NamedKey::home, 0},             {KEY_SELECT, t_NamedKey::end, 0},
    {KEY_PPAGE, t_NamedKey::pageup, 0},          {KEY_NPAGE, t_NamedKey::pagedown, 0},
    {KEY_DC, t_NamedKey::forwarddelete, 0},      {KEY_IC, t_NamedKey::insert, 0},
    {KEY_BACKSPACE, t_NamedKey::backspace, 0},   {KEY_ENTER, t_NamedKey::enter, 0},
    {KEY_HELP, t_NamedKey::help, 0},             {KEY_B2, t_NamedKey::clear, 0},
    {KEY_BTAB, t_NamedKey::backtab, shiftflag},  {KEY_SLEFT, t_NamedKey::left, shiftflag},
    {KEY_SRIGHT, t_NamedKey::right, shiftflag},  {KEY_SR, t_NamedKey::up, shiftflag},
    {KEY_SF, t_NamedKey::down, shiftflag},       {KEY_SHOME, t_NamedKey::home, shiftflag},
    {KEY_SEND, t_NamedKey::end, shiftflag},      {KEY_SPREVIOUS, t_NamedKey::pageup, shiftflag},
    {KEY_SNEXT, t_NamedKey::pagedown, shiftflag}, {KEY_SDC, t_NamedKey::forwarddelete, shiftflag},
    {KEY_SIC, t_NamedKey::insert, shiftflag},
};

// Terminal descriptions name modified keys "kLFT5": the key, then xterm's
// modifier number (1 + Shift 1 + Alt 2 + Control 4).
struct ModifiedName {
    const char* name;
    t_NamedKey key;
};
const ModifiedName modifiednames[] = {
    {"kUP", t_NamedKey::up},     {"kDN", t_NamedKey::down},      {"kLFT", t_NamedKey::left},
    {"kRIT", t_NamedKey::right}, {"kHOM", t_NamedKey::home},     {"kEND", t_NamedKey::end},
    {"kPRV", t_NamedKey::pageup}, {"kNXT", t_NamedKey::pagedown}, {"kDC", t_NamedKey::forwarddelete},
    {"kIC", t_NamedKey::insert},
};

uint64_t xtermmodifiers(int number)
{
    const int bits = number - 1;
    return ((bits & 1) != 0 ? shiftflag : 0) | ((bits & 2) != 0 ? optionflag : 0) |
           ((bits & 4) != 0 ? controlflag : 0);
}

t_KeyPress namedpress(t_NamedKey key, uint64_t flags, const std::string& typed)
{
    std::string characters = namedkeycharacters(key);
    return t_KeyPress{namedkeycode(key), characters.empty() ? typed : characters, flags};
}

// What typing text in a named key's place gives when the key reports none.
std::string typedby(t_NamedKey key)
{
    switch (key) {
    case t_NamedKey::space: return " ";
    case t_NamedKey::enter: return "\r";
    default: return {};
    }
}

KeyResult pressed(t_KeyPress press)
{
    return KeyResult{KeyAction::press, std::move(press)};
}

// F1..F12 come with Shift, Control or both as F13..F48 in the usual
// terminal descriptions; F13..F20 are taken as themselves, since some
// keyboards have them.
KeyResult functionkey(int number, uint64_t flags)
{
    if (number > 20) {
        static const uint64_t blocks[] = {0, shiftflag, controlflag, controlflag | shiftflag,
                                          optionflag, optionflag | shiftflag};
        const int block = (number - 1) / 12;
        flags |= block < 6 ? blocks[block] : 0;
        number = (number - 1) % 12 + 1;
    }
    return pressed(t_KeyPress{functionkeycode(number), functionkeycharacters(number), flags});
}

KeyResult keycodepress(const TerminalKey& key, const std::vector<ModifiedKey>& modified,
                       uint64_t flags)
{
    if (key.value >= KEY_F(1) && key.value <= KEY_F(63))
        return functionkey(key.value - KEY_F0, flags);
    for (const CodeRow& row : coderows)
        if (row.keycode == key.value)
            return pressed(namedpress(row.key, row.flags | flags, typedby(row.key)));
    for (const ModifiedKey& row : modified)
        if (row.keycode == key.value)
            return pressed(namedpress(row.key, row.flags | flags, typedby(row.key)));
    return {};
}

KeyAction ownkey(char32_t character)
{
    switch (unicode::lowercase(character)) {
    case logkeyletter: return KeyAction::showlog;
    case copykeyletter: return KeyAction::copytext;
    case quitkeyletter: return KeyAction::quit;
    default: return KeyAction::none;
    }
}

// Control with a key of the main block types codes 0..31; Return, Tab,
// Escape and Backspace type some of them too, and are taken for those.
KeyResult controlpress(char32_t code, uint64_t flags)
{
    switch (code) {
    case U'\r': return pressed(namedpress(t_NamedKey::returnkey, flags, "\r"));
    case U'\t': return pressed(namedpress(t_NamedKey::tab, flags, "\t"));
    case U'\x1B': return pressed(namedpress(t_NamedKey::escape, flags, "\x1B"));
    default: break;
    }
    // ^@ is Control+Space; ^\ ^] ^^ ^_ sit on the keys of \ ] 6 and -.
    char32_t key = U' ';
    if (code >= 1 && code <= 26)
        key = U'a' + code - 1;
    else if (code == 28)
        key = U'\\';
    else if (code == 29)
        key = U']';
    else if (code == 30)
        key = U'6';
    else if (code == 31)
        key = U'-';
    return pressed(t_KeyPress{characterkeycode(key), std::string(1, char(code)), flags | controlflag});
}

}  // namespace

std::vector<ModifiedKey> modifiedkeys()
{
    std::vector<ModifiedKey> keys;
    for (const ModifiedName& entry : modifiednames)
        for (int number = 2; number <= 8; ++number) {
            std::string name = entry.name;
            if (number > 2)
                name += std::to_string(number);
            const char* sequence = terminfostring(name.c_str());
            if (sequence == nullptr)
                continue;
            const int keycode = key_defined(sequence);
            if (keycode > 0)
                keys.push_back(ModifiedKey{keycode, entry.key, xtermmodifiers(number)});
        }
    return keys;
}

KeyResult translatekey(const TerminalKey& key, const std::vector<ModifiedKey>& modified)
{
    const uint64_t alt = key.alt ? optionflag : 0;
    if (key.iskeycode)
        return keycodepress(key, modified, alt);
    if (key.value < 0 || !unicode::isscalar(key.value))
        return {};
    const auto character = char32_t(key.value);
    if (key.alt) {
        const KeyAction own = ownkey(character);
        if (own != KeyAction::none)
            return KeyResult{own, {}};
    }
    if (character == 0x7F)
        return pressed(namedpress(t_NamedKey::backspace, alt, "\x7F"));
    if (character < 32)
        return controlpress(character, alt);
    const uint64_t shift = shiftedcharacter(character) ? shiftflag : 0;
    return pressed(t_KeyPress{characterkeycode(character), unicode::encode(character), shift | alt});
}
