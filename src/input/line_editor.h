// The line editor: prompt, default text, cursor movement, insertion and
// deletion, copy and paste, decimal code entry and number filters.
#pragma once

#include <cstdint>
#include <string>

std::string t_InputForm(uint8_t window, const std::string& prompt, const std::string& defaultText,
                        bool noEdit, int64_t mode, int64_t maxCharacters);
void t_InputEdit(uint8_t window, int64_t key);
void t_InputInsert(uint8_t window, int64_t key);
// Queues the first line of `text` as pasted characters for the line editor
// of `window`: the following key waits insert them, control characters
// left out, and each character beyond Latin-1 as its escaped character
// (code 27, four hex digits, code 29), so a paste never ends or cancels the
// line. Any thread; Control+V and viewPaste come here.
void t_InputPaste(uint8_t window, const std::string& text);

// Escaped characters back to characters: what the line means to the person
// (copied to the pasteboard, logged and answered).
std::string unescapedtext(const std::string& input);
