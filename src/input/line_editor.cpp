// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "input/line_editor.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::string t_InputForm(uint8_t window, const std::string& prompt, const std::string& defaultText, bool noEdit, int64_t mode, int64_t maxCharacters) { return {}; }
void t_InputEdit(uint8_t window, int64_t key) {}
void t_InputInsert(uint8_t window, int64_t key) {}
std::string topasteboardtext(const std::string& input) { return {}; }
std::string frompasteboardtext(const std::string& pasted) { return {}; }
