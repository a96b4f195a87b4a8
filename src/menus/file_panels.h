// The open and save panels, with German texts.
#pragma once

#include <string>
#include <vector>

extern std::string openprompt;    // "Öffnen"
extern std::string chooseprompt;  // "Wählen"

// Main thread only; paths in plain, precomposed form.
std::vector<std::string> openpanel(const std::string& title, const std::string& message,
                                   const std::string& fileTypes, bool multiple, bool files,
                                   bool folders);
std::string savepanel(const std::string& defaultName, const std::string& title,
                      const std::string& message, const std::string& fileTypes);
// Any thread.
std::string openfile(const std::string& title, const std::string& message,
                     const std::string& fileTypes, bool files, bool folders);
std::string savefile(const std::string& defaultName, const std::string& title,
                     const std::string& message, const std::string& fileTypes);

