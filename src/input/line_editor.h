// The line editor: prompt, default text, cursor movement, insertion and
// deletion, copy and paste, decimal code entry and number filters.
#pragma once

#include <cstdint>
#include <string>

std::string t_InputForm(uint8_t window, const std::string& prompt, const std::string& defaultText,
                        bool noEdit, int64_t mode, int64_t maxCharacters);
void t_InputEdit(uint8_t window, int64_t key);
void t_InputInsert(uint8_t window, int64_t key);

// Escaped characters (code 27, four hex digits, code 29) back to characters.
std::string topasteboardtext(const std::string& input);
// Characters above 255 to escaped characters.
std::string frompasteboardtext(const std::string& pasted);
