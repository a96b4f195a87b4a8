// STUB: placeholder definitions so that everything links while this
// module is being written. Replace every one of them.
#include "menus/file_panels.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

std::string openprompt;
std::string chooseprompt;
std::vector<std::string> openpanel(const std::string& title, const std::string& message, const std::string& fileTypes, bool multiple, bool files, bool folders) { return {}; }
std::string savepanel(const std::string& defaultName, const std::string& title, const std::string& message, const std::string& fileTypes) { return {}; }
std::string openfile(const std::string& title, const std::string& message, const std::string& fileTypes, bool files, bool folders) { return {}; }
std::string savefile(const std::string& defaultName, const std::string& title, const std::string& message, const std::string& fileTypes) { return {}; }
