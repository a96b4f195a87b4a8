// Folders and files of one test, gone when the test ends.
#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes. As the data home, XDG_DATA_HOME names it
// meanwhile (the old value comes back after), so the program's log files
// land there and never in the user's home.
class TempFolder {
public:
    explicit TempFolder(bool datahome = false);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool datahome_;
    bool hadold_ = false;
    std::string old_;
};

// The whole file as bytes in a string; empty when it cannot be read.
std::string filetext(const std::string& path);
