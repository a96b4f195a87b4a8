// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "windows/font_file.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

t_Font emptyfont() { return {}; }
t_Font t_LoadFontResource(const std::string& fileName) { return {}; }
t_Font parsefontfile(const std::vector<uint8_t>& bytes, const std::string& fileName) { return {}; }
std::vector<uint8_t> lzwexpand(const std::vector<uint8_t>& compressed) { return {}; }
