#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempFolder::TempFolder(bool datahome) : datahome_(datahome)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "sprecho-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
    if (!datahome_)
        return;
    if (const char* old = std::getenv("XDG_DATA_HOME")) {
        hadold_ = true;
        old_ = old;
    }
    setenv("XDG_DATA_HOME", path_.c_str(), 1);
}

TempFolder::~TempFolder()
{
    if (datahome_) {
        if (hadold_)
            setenv("XDG_DATA_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string filetext(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
