#include <gtest/gtest.h>

#include "startup/tables.h"
#include "util/diagnostics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>

// Starts from zeroed tables: inittermkit must build them itself.
TEST(Tables, InittermkitBuildsTheTablesBetweenItsTwoLines)
{
    std::memset(uppercasetable, 0, sizeof uppercasetable);
    std::memset(lowercasetable, 0, sizeof lowercasetable);
    std::memset(hexdigittable, 0, sizeof hexdigittable);
    std::memset(hexvaluetable, 0, sizeof hexvaluetable);
    DiagCapture out;
    inittermkit();
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"inittermkit: Start.", "inittermkit: End."}));

    struct Row {
        int code, upper, lower;
    };
    const Row cases[] = {
        {97, 65, 97}, {122, 90, 122}, {65, 65, 97}, {90, 90, 122}, {64, 64, 64}, {91, 91, 91},
        {96, 96, 96}, {123, 123, 123}, {228, 196, 228}, {224, 192, 224}, {229, 229, 229}, {230, 230, 230},
        {231, 199, 231}, {246, 214, 246}, {247, 247, 247}, {248, 248, 248}, {249, 217, 249}, {252, 220, 252},
        {253, 253, 253}, {254, 254, 254}, {255, 255, 255}, {223, 223, 223}, {214, 214, 246}, {215, 215, 215},
        {192, 192, 224}, {197, 197, 197}, {198, 198, 198}, {216, 216, 216}, {220, 220, 252}, {0, 0, 0},
    };
    for (const Row& row : cases) {
        EXPECT_EQ(uppercasetable[row.code], row.upper) << "upper " << row.code;
        EXPECT_EQ(lowercasetable[row.code], row.lower) << "lower " << row.code;
    }
    int pairs = 0;
    for (int code = 0; code < 256; ++code) {
        if (uppercasetable[code] != code) {
            ++pairs;
            EXPECT_EQ(lowercasetable[uppercasetable[code]], code) << code;
        }
    }
    EXPECT_EQ(pairs, 26 + 5 + 16 + 4);

    EXPECT_EQ(std::string(hexdigittable, hexdigittable + 16), "0123456789ABCDEF");
    const std::pair<char, int64_t> digits[] = {
        {'0', 0}, {'9', 9}, {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15}, {'G', -1}, {'g', -1},
        {'/', -1}, {':', -1}, {'@', -1}, {'`', -1},
    };
    for (const auto& [digit, value] : digits)
        EXPECT_EQ(hexvaluetable[static_cast<uint8_t>(digit)], value) << digit;
    EXPECT_EQ(std::count(std::begin(hexvaluetable), std::end(hexvaluetable), -1), 256 - 22);
}

TEST(Tables, InittermkitSeedsTheRandomGeneratorWithTheTime)
{
    DiagCapture quiet;
    const std::time_t before = std::time(nullptr);
    inittermkit();
    const std::time_t after = std::time(nullptr);
    const long drawn = random();
    bool matched = false;
    for (std::time_t t = before; t <= after; ++t) {
        srandom(static_cast<unsigned>(t & 0x7FFFFFFF));
        matched = matched || random() == drawn;
    }
    EXPECT_TRUE(matched);
}
