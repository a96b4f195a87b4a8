// The key translation: a table of special cases by key code, then one
// general rule for everything the table does not decide.
#include "input/key_translation.h"

#include "text/screen_readback.h"

namespace {

// When a row applies, beside its key code.
enum class When : uint8_t {
    always,
    character,            // the first character is `c`
    characteroption,      // the first character is `c` and Option is held
    nocharacter,          // a dead key: no characters at all
    nocharactershift,     // no characters, Shift held
    nocharacteroption,    // no characters, Option held
    option,               // Option held
    controlwithoutoption  // Control held, Option not
};

// What a row gives: a code, or a change of the window's output redirection
// instead of an event.
struct KeyRow {
    int64_t key;
    When when;
    char32_t c;
    int64_t value;
    bool cursor;
    int64_t redirect;  // -1: the row gives the code `value`
};

constexpr int64_t code = -1;

// Rows for one key are tried in order; the first whose condition holds
// decides. The Option rows of keypad 7, 8 and 9 stand for "the character
// becomes 229, 230, 188 before the general rule", which gives exactly that
// code.
constexpr KeyRow keyrows[] = {
    {0, When::character, U'\u00E5', 176, false, code},
    {1, When::character, U'\u201A', 168, false, code},
    {2, When::character, U'\u2202', 173, false, code},
    {3, When::character, U'\u0192', 130, false, code},
    {4, When::character, U'\u00AA', 131, false, code},
    {7, When::character, U'\u2248', 132, false, code},
    {9, When::character, U'\u221A', 253, false, code},
    {10, When::nocharacter, 0, 94, false, code},
    {11, When::character, U'\u222B', 222, false, code},
    {13, When::character, U'\u2211', 221, false, code},
    {14, When::character, U'\u20AC', 164, false, code},
    {16, When::character, U'\u03A9', 128, false, code},
    {17, When::character, U'\u2020', 189, false, code},
    {19, When::character, U'\u201C', 163, false, code},
    {24, When::nocharactershift, 0, 96, false, code},
    {24, When::nocharacter, 0, 180, false, code},
    {27, When::character, U'\u00BF', 166, false, code},
    {29, When::character, U'\u2260', 172, false, code},
    {32, When::nocharacter, 0, 175, false, code},
    {33, When::character, U'\u2022', 184, false, code},
    {34, When::character, U'\u2044', 129, false, code},
    {35, When::character, U'\u03C0', 240, false, code},
    {35, When::character, U'\u220F', 208, false, code},
    {37, When::characteroption, 12, 0, false, code},
    {38, When::character, U'\u00BA', 183, false, code},
    {40, When::character, U'\u2206', 254, false, code},
    {41, When::character, U'\u0153', 190, false, code},
    {42, When::character, U'\u2018', 180, false, code},
    {43, When::character, U'\u221E', 255, false, code},
    {44, When::character, U'\u2013', 154, false, code},
    {45, When::nocharacteroption, 0, 126, false, code},
    {47, When::character, U'\u2026', 191, false, code},
    {48, When::character, 25, 20, false, code},
    {50, When::character, U'\u2264', 197, false, code},
    {50, When::character, U'\u2265', 198, false, code},
    {51, When::always, 0, 127, false, code},
    {71, When::always, 0, 27, false, code},
    {76, When::always, 0, 13, false, code},
    {82, When::option, 0, 216, false, code},
    {83, When::option, 0, 185, false, code},
    {84, When::option, 0, 178, false, code},
    {85, When::option, 0, 179, false, code},
    {86, When::option, 0, 170, false, code},
    {87, When::option, 0, 215, false, code},
    {88, When::option, 0, 186, false, code},
    {89, When::option, 0, 229, false, code},
    {89, When::controlwithoutoption, 0, 0, false, 0},
    {91, When::option, 0, 230, false, code},
    {91, When::controlwithoutoption, 0, 0, false, 2},
    {92, When::option, 0, 188, false, code},
    {92, When::controlwithoutoption, 0, 0, false, 1},
    {115, When::always, 0, 2, true, code},
    {116, When::always, 0, 18, true, code},
    {117, When::always, 0, 7, false, code},
    {119, When::always, 0, 5, true, code},
    {121, When::always, 0, 3, true, code},
    {123, When::always, 0, 8, true, code},
    {124, When::always, 0, 21, true, code},
    {125, When::always, 0, 10, true, code},
    {126, When::always, 0, 11, true, code},
};

// Codes above the table's range never have a row.
constexpr int64_t lastrowkey = 126;
// The platform's character for F1; F1 becomes 129, F2 130 and so on.
constexpr char32_t functionkeybase = U'\uF704';
constexpr int64_t functioncodeoffset = 63107;

bool holds(const KeyRow& row, char32_t c, bool hasCharacters, uint64_t flags)
{
    const bool shift = (flags & shiftflag) != 0;
    const bool control = (flags & controlflag) != 0;
    const bool option = (flags & optionflag) != 0;
    switch (row.when) {
    case When::always: return true;
    case When::character: return hasCharacters && c == row.c;
    case When::characteroption: return hasCharacters && c == row.c && option;
    case When::nocharacter: return !hasCharacters;
    case When::nocharactershift: return !hasCharacters && shift;
    case When::nocharacteroption: return !hasCharacters && option;
    case When::option: return option;
    case When::controlwithoutoption: return control && !option;
    }
    return false;
}

const KeyRow* findrow(int64_t keyCode, char32_t c, bool hasCharacters, uint64_t flags)
{
    if (keyCode < 0 || keyCode > lastrowkey)
        return nullptr;
    for (const KeyRow& row : keyrows)
        if (row.key == keyCode && holds(row, c, hasCharacters, flags))
            return &row;
    return nullptr;
}

// Control codes and the one-byte characters keep their code; the private
// function-key characters count up from 129; every other character has no
// code in the home-computer character set.
t_KeyTranslation generalrule(char32_t c)
{
    if (c <= 255)
        return {true, static_cast<int64_t>(c), false, false};
    if (c >= functionkeybase)
        return {true, static_cast<int64_t>(c) - functioncodeoffset, false, true};
    return {};
}

}  // namespace

t_KeyTranslation translatekey(uint8_t window, int64_t keyCode, char32_t c, bool hasCharacters,
                              uint64_t flags)
{
    const KeyRow* row = findrow(keyCode, c, hasCharacters, flags);
    if (row == nullptr)
        return generalrule(hasCharacters ? c : 0);
    if (row->redirect != code) {
        t_RedirectOutput(window, row->redirect);
        return {};
    }
    return {true, row->value, row->cursor, false};
}
