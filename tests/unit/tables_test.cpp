#include <gtest/gtest.h>

#include "startup/tables.h"
#include "util/diagnostics.h"

#include <algorithm>
#include <cstring>

// From zeroed tables: case pairs only for A-Z and the Latin-1 letters with
// both cases in the character set, hex values for both digit cases.
TEST(Tables, InittermkitBuildsTheTablesBetweenItsTwoLines)
{
    std::memset(uppercasetable, 0, sizeof uppercasetable);
    std::memset(lowercasetable, 0, sizeof lowercasetable);
    std::memset(hexdigittable, 0, sizeof hexdigittable);
    std::memset(hexvaluetable, 0, sizeof hexvaluetable);
    DiagCapture out;
    inittermkit();
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"inittermkit: Start.", "inittermkit: End."}));

    const int rows[][3] = {  // code, upper, lower
        {97, 65, 97}, {122, 90, 122}, {65, 65, 97}, {64, 64, 64}, {91, 91, 91}, {96, 96, 96}, {123, 123, 123},
        {228, 196, 228}, {229, 229, 229}, {223, 223, 223}, {247, 247, 247}, {255, 255, 255}, {214, 214, 246},
        {215, 215, 215}, {0, 0, 0},
    };
    for (const auto& [code, upper, lower] : rows)
        EXPECT_EQ((std::pair<int, int>(uppercasetable[code], lowercasetable[code])), std::pair(upper, lower)) << code;
    int pairs = 0;
    for (int code = 0; code < 256; ++code)
        if (uppercasetable[code] != code) {
            ++pairs;
            EXPECT_EQ(lowercasetable[uppercasetable[code]], code) << code;
        }
    EXPECT_EQ(pairs, 26 + 5 + 16 + 4);
    EXPECT_EQ(std::string(hexdigittable, hexdigittable + 16), "0123456789ABCDEF");
    for (const char digit : std::string("09AFaf"))
        EXPECT_EQ(hexvaluetable[uint8_t(digit)], std::stoi(std::string(1, digit), nullptr, 16)) << digit;
    for (const char notdigit : std::string("Gg/:@`"))
        EXPECT_EQ(hexvaluetable[uint8_t(notdigit)], -1) << notdigit;
    EXPECT_EQ(std::count(std::begin(hexvaluetable), std::end(hexvaluetable), -1), 256 - 22);
}
