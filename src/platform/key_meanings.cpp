#include "platform/key_meanings.h"

#include <array>
#include <utility>

#include "util/unicode.h"

namespace {

struct NamedKeyRow {
    t_NamedKey key;
    uint16_t code;
    char32_t character;  // 0: what the key typed
};

constexpr std::array<NamedKeyRow, 20> namedkeys = {{
    {t_NamedKey::escape, 53, U'\x1B'},      {t_NamedKey::tab, 48, U'\t'},
    {t_NamedKey::backtab, 48, U'\x19'},     {t_NamedKey::backspace, 51, U'\x7F'},
    {t_NamedKey::returnkey, 36, U'\r'},     {t_NamedKey::enter, 76, 0},
    {t_NamedKey::space, 49, 0},             {t_NamedKey::insert, 114, U'\uF727'},
    {t_NamedKey::help, 114, 0},             {t_NamedKey::forwarddelete, 117, U'\uF728'},
    {t_NamedKey::home, 115, U'\uF729'},     {t_NamedKey::end, 119, U'\uF72B'},
    {t_NamedKey::pageup, 116, U'\uF72C'},   {t_NamedKey::pagedown, 121, U'\uF72D'},
    {t_NamedKey::left, 123, U'\uF702'},     {t_NamedKey::right, 124, U'\uF703'},
    {t_NamedKey::down, 125, U'\uF701'},     {t_NamedKey::up, 126, U'\uF700'},
    {t_NamedKey::clear, 71, 0},             {t_NamedKey::menu, 110, 0},
}};

// F1..F20 in order.
constexpr std::array<uint16_t, 20> functionkeys = {122, 120, 99, 118, 96, 97, 98, 100, 101, 109,
                                                   103, 111, 105, 107, 113, 106, 64, 79, 80, 90};

// Each key of the main block with what it types unshifted and shifted.
struct CharacterRow {
    char32_t plain;
    char32_t shifted;
    uint16_t code;
};

constexpr CharacterRow characterkeys[] = {
    {U'a', U'A', 0},   {U'b', U'B', 11},  {U'c', U'C', 8},   {U'd', U'D', 2},   {U'e', U'E', 14},
    {U'f', U'F', 3},   {U'g', U'G', 5},   {U'h', U'H', 4},   {U'i', U'I', 34},  {U'j', U'J', 38},
    {U'k', U'K', 40},  {U'l', U'L', 37},  {U'm', U'M', 46},  {U'n', U'N', 45},  {U'o', U'O', 31},
    {U'p', U'P', 35},  {U'q', U'Q', 12},  {U'r', U'R', 15},  {U's', U'S', 1},   {U't', U'T', 17},
    {U'u', U'U', 32},  {U'v', U'V', 9},   {U'w', U'W', 13},  {U'x', U'X', 7},   {U'y', U'Y', 16},
    {U'z', U'Z', 6},
    {U'1', U'!', 18},  {U'2', U'@', 19},  {U'3', U'#', 20},  {U'4', U'$', 21},  {U'5', U'%', 23},
    {U'6', U'^', 22},  {U'7', U'&', 26},  {U'8', U'*', 28},  {U'9', U'(', 25},  {U'0', U')', 29},
    {U'-', U'_', 27},  {U'=', U'+', 24},  {U'[', U'{', 33},  {U']', U'}', 30},  {U';', U':', 41},
    {U'\'', U'"', 39}, {U',', U'<', 43},  {U'.', U'>', 47},  {U'/', U'?', 44},  {U'\\', U'|', 42},
    {U'`', U'~', 10},  {U' ', U' ', 49},  {U'§', U'°', 10},
    {U'ä', U'Ä', 39},  {U'ö', U'Ö', 41},  {U'ü', U'Ü', 33},  {U'ß', U'ß', 27},
};

constexpr std::pair<char32_t, uint16_t> keypadkeys[] = {
    {U'0', 82}, {U'1', 83}, {U'2', 84}, {U'3', 85}, {U'4', 86}, {U'5', 87}, {U'6', 88},
    {U'7', 89}, {U'8', 91}, {U'9', 92}, {U'.', 65}, {U',', 65}, {U'*', 67}, {U'+', 69},
    {U'-', 78}, {U'/', 75}, {U'=', 81},
};

const NamedKeyRow& namedrow(t_NamedKey key)
{
    for (const NamedKeyRow& row : namedkeys)
        if (row.key == key)
            return row;
    return namedkeys[0];
}

}  // namespace

int64_t namedkeycode(t_NamedKey key)
{
    return namedrow(key).code;
}

std::string namedkeycharacters(t_NamedKey key)
{
    const char32_t character = namedrow(key).character;
    return character == 0 ? std::string() : unicode::encode(character);
}

int64_t functionkeycode(int number)
{
    return number >= 1 && number <= int(functionkeys.size()) ? functionkeys[size_t(number - 1)]
                                                              : unknownkeycode;
}

std::string functionkeycharacters(int number)
{
    return unicode::encode(U'\uF703' + char32_t(number));
}

int64_t characterkeycode(char32_t character)
{
    for (const CharacterRow& row : characterkeys)
        if (row.plain == character || row.shifted == character)
            return row.code;
    return unknownkeycode;
}

int64_t keypadkeycode(char32_t character)
{
    for (const auto& [typed, code] : keypadkeys)
        if (typed == character)
            return code;
    return unknownkeycode;
}

bool shiftedcharacter(char32_t character)
{
    for (const CharacterRow& row : characterkeys)
        if (row.shifted == character)
            return row.plain != character;
    return false;
}
