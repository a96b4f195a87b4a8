// Key presses to one-byte codes: every row of the translation table, each
// with its condition held and failed, the general rule at its boundaries,
// and the event record a key press queues.
#include <gtest/gtest.h>

#include "hand_window.h"
#include "input/key_events.h"
#include "input/key_translation.h"
#include "util/unicode.h"
#include "windows/window_table.h"

namespace {

constexpr int64_t none = -1;  // no event

// The translation table as it is written down: key code, the condition,
// the character it names, the code it gives and whether it is a cursor key.
enum When { Char, CharOption, Dead, DeadShift, DeadOption, Always, Option };
struct Row {
    int64_t key;
    When when;
    char32_t c;
    int64_t value;
    bool cursor = false;
};
constexpr Row table[] = {
    {0, Char, 0xE5, 176},      {1, Char, 0x201A, 168},    {2, Char, 0x2202, 173},    {3, Char, 0x192, 130},
    {4, Char, 0xAA, 131},      {7, Char, 0x2248, 132},    {9, Char, 0x221A, 253},    {10, Dead, 0, 94},
    {11, Char, 0x222B, 222},   {13, Char, 0x2211, 221},   {14, Char, 0x20AC, 164},   {16, Char, 0x3A9, 128},
    {17, Char, 0x2020, 189},   {19, Char, 0x201C, 163},   {24, DeadShift, 0, 96},    {24, Dead, 0, 180},
    {27, Char, 0xBF, 166},     {29, Char, 0x2260, 172},   {32, Dead, 0, 175},        {33, Char, 0x2022, 184},
    {34, Char, 0x2044, 129},   {35, Char, 0x3C0, 240},    {35, Char, 0x220F, 208},   {37, CharOption, 12, 0},
    {38, Char, 0xBA, 183},     {40, Char, 0x2206, 254},   {41, Char, 0x153, 190},    {42, Char, 0x2018, 180},
    {43, Char, 0x221E, 255},   {44, Char, 0x2013, 154},   {45, DeadOption, 0, 126},  {47, Char, 0x2026, 191},
    {48, Char, 25, 20},        {50, Char, 0x2264, 197},   {50, Char, 0x2265, 198},   {51, Always, 0, 127},
    {71, Always, 0, 27},       {76, Always, 0, 13},       {82, Option, 0, 216},      {83, Option, 0, 185},
    {84, Option, 0, 178},      {85, Option, 0, 179},      {86, Option, 0, 170},      {87, Option, 0, 215},
    {88, Option, 0, 186},      {89, Option, 0, 229},      {91, Option, 0, 230},      {92, Option, 0, 188},
    {115, Always, 0, 2, true}, {116, Always, 0, 18, true}, {117, Always, 0, 7},      {119, Always, 0, 5, true},
    {121, Always, 0, 3, true}, {123, Always, 0, 8, true},  {124, Always, 0, 21, true}, {125, Always, 0, 10, true},
    {126, Always, 0, 11, true},
};

// The general rule on its own: the code of a character without a row.
int64_t general(char32_t c)
{
    return c <= 255 ? int64_t(c) : c >= 0xF704 ? int64_t(c) - 63107 : none;
}

struct Press {
    int64_t key;
    bool characters;
    char32_t c;
    uint64_t flags;
};

std::tuple<int64_t, bool, bool> translated(const Press& p, uint8_t window = 0)
{
    const t_KeyTranslation t = translatekey(window, p.key, p.c, p.characters, p.flags);
    return {t.Event ? t.Value : none, t.Cursor, t.Function};
}

// Each row with its condition held, then failed (the general rule takes the
// character), and its character on a key without a row.
TEST(KeyTranslation, EveryRowOfTheTableWithItsConditionHeldAndFailed)
{
    constexpr int64_t norow = 5;  // the G key
    for (const Row& row : table) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << ", character " << uint32_t(row.c));
        const uint64_t held = row.when == DeadShift ? shiftflag
                              : row.when == DeadOption || row.when == CharOption || row.when == Option ? optionflag
                                                                                                       : 0;
        const bool dead = row.when == Dead || row.when == DeadShift || row.when == DeadOption;
        const char32_t typed = dead ? 0 : row.when == Char || row.when == CharOption ? row.c : U'4';
        EXPECT_EQ(translated({row.key, !dead, typed, held}), std::tuple(row.value, row.cursor, false));
        // Failed: another character, no Option, or a character on a dead-key row.
        const Press failed = row.when == Char           ? Press{row.key, true, U'x', 0}
                             : row.when == CharOption || row.when == Option ? Press{row.key, true, typed, 0}
                             : row.when == DeadShift   ? Press{row.key, false, 0, optionflag}
                             : row.when == DeadOption  ? Press{row.key, false, 0, shiftflag}
                             : row.when == Always      ? Press{row.key, false, 0, 0}
                                                       : Press{row.key, true, U'x', 0};
        const int64_t otherwise = row.when == DeadShift ? 180  // the key's other row
                                  : row.when == Always  ? row.value
                                                        : general(failed.characters ? failed.c : 0);
        EXPECT_EQ(std::get<0>(translated(failed)), otherwise);
        if (row.when == Char) {
            EXPECT_EQ(std::get<0>(translated({norow, true, row.c, 0})), general(row.c));
        }
    }
}

// Control codes, the one-byte characters, nothing between 256 and the F1
// character, function keys from F1 on; a dead key without a row gives 0.
// Return, Escape and Tab have no row that applies.
TEST(KeyTranslation, TheGeneralRuleAtItsBoundaries)
{
    const struct { int64_t key; const char* characters; int64_t value; bool function = false; } rows[] = {
        {5, "\x1F", 31}, {5, " ", 32}, {5, "\u00FF", 255}, {5, "\u0100", none}, {5, "\uF703", none},
        {122, "\uF704", 129, true}, {120, "\uF705", 130, true}, {5, "\uFFFF", 0xFFFF - 63107, true},
        {5, "", 0}, {36, "\r", 13}, {53, "\x1B", 27}, {48, "\t", 9}, {127, "\u00E5", 229},
        {0xFFFF, "\u00E9", 233}, {0xFFFF, "\u20AC", none}, {10, "\u00A7", 0xA7},
    };
    for (const auto& row : rows) {
        const std::string characters = row.characters;
        EXPECT_EQ(translated({row.key, !characters.empty(), unicode::firstscalar(characters), 0}),
                  std::tuple(row.value, false, row.function))
            << row.key << " " << testing::PrintToString(characters);
    }
}

// Control without Option on keypad 7, 8, 9 switches the window's output
// and queues nothing; with Option the Option rows win.
TEST(KeyTranslation, ControlWithKeypadSevenEightNineRedirectsOutput)
{
    sethandwindow({.number = 2, .width = 80, .height = 40}, handfont(8, 8));
    for (const auto& [key, mode, option] : {std::tuple{89, 0, 229}, {91, 2, 230}, {92, 1, 188}}) {
        windowtable[2].TextRedirectOutput = 7;
        EXPECT_EQ(translated({key, true, 0x7F, controlflag | numericpadflag}, 2), std::tuple(none, false, false));
        EXPECT_EQ(windowtable[2].TextRedirectOutput, mode) << key;
        windowtable[2].TextRedirectOutput = 7;
        EXPECT_EQ(std::get<0>(translated({key, true, 0x7F, controlflag | optionflag}, 2)), option);
        EXPECT_EQ(windowtable[2].TextRedirectOutput, 7) << key;
    }
}

// The queued record: the key's code and characters unchanged, the flags
// shifted into Mods and spread over the eight modifier fields.
TEST(KeyTranslation, AKeyPressQueuesItsWholeRecord)
{
    sethandwindow({.number = 4, .width = 80, .height = 40}, handfont(8, 8));
    const uint64_t flags = capslockflag | controlflag | commandflag | helpflag | fnflag;
    viewKeyDown(4, t_KeyPress{126, "\uF700", flags});
    viewKeyDown(4, t_KeyPress{122, "\uF704", shiftflag | optionflag | numericpadflag});
    ASSERT_EQ(keyqueuelength(), 2u);
    std::vector<std::string> records;
    for (const t_Event& e : t_KeyEvents)
        records.push_back(testing::PrintToString(std::vector<int64_t>{
            e.Kind, e.Index, e.Value, e.WindowX + e.WindowY + e.ClickX + e.ClickY, e.Mods, e.Window, e.CloseBox,
            e.CapsLockPressed, e.ShiftPressed, e.ControlPressed, e.OptionPressed, e.CommandPressed,
            e.NumericPadPressed, e.HelpPressed, e.FnPressed, e.CursorKeyPressed, e.FunctionKeyPressed}) +
            e.Description);
    EXPECT_EQ(records, (std::vector<std::string>{
                           "{ 1, 126, 11, 0, 213, 4, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0 }\uF700",
                           "{ 1, 122, 129, 0, 42, 4, 0, 0, 1, 0, 1, 0, 1, 0, 0, 0, 1 }\uF704"}));
    EXPECT_TRUE(t_ShiftPressed && t_OptionPressed && !t_ControlPressed && t_KeyPressed);
}

}  // namespace
