// The key codes given to characters by a front-end that has no scan codes
// (the terminal, offscreen desktops): each character gets the code of the
// key that types it, by the key's place on the keyboard.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "platform/key_meanings.h"
#include "support/keyboard.h"

// Every key of the US layout that types one character, in either case for
// letters; the German letters at their places on the German layout.
TEST(KeyMeanings, EveryCharacterHasTheCodeOfItsKeysPlace)
{
    int checked = 0;
    for (const KeyboardKey& key : keyboardkeys) {
        if (key.us == nullptr || std::strlen(key.us) != 1)
            continue;
        SCOPED_TRACE(key.us);
        const char legend = key.us[0];
        EXPECT_EQ(characterkeycode(char32_t(legend)), key.code);
        EXPECT_EQ(characterkeycode(char32_t(std::tolower(legend))), key.code);
        ++checked;
    }
    EXPECT_EQ(checked, 47);  // 26 letters, 10 digits and 11 signs
    const struct {
        const char* legend;
        char32_t small;
        char32_t capital;
    } german[] = {{"Ä", U'ä', U'Ä'}, {"Ö", U'ö', U'Ö'}, {"Ü", U'ü', U'Ü'}, {"ß", U'ß', U'ß'}};
    for (const auto& row : german)
        for (const KeyboardKey& key : keyboardkeys)
            if (std::strcmp(key.german, row.legend) == 0) {
                SCOPED_TRACE(row.legend);
                EXPECT_EQ(characterkeycode(row.small), key.code);
                EXPECT_EQ(characterkeycode(row.capital), key.code);
            }
    EXPECT_EQ(characterkeycode(U'é'), unknownkeycode);
}
