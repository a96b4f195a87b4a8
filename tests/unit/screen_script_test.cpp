// Runs every screen script in tests/screens, one test per file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "screen_script.h"

namespace {

std::vector<std::string> scriptnames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(SPRECHO_SCREEN_SCRIPTS))
        if (entry.path().extension() == ".txt")
            names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ScreenScript : public ::testing::TestWithParam<std::string> {};

TEST_P(ScreenScript, Runs)
{
    runscreenscript(std::string(SPRECHO_SCREEN_SCRIPTS) + "/" + GetParam() + ".txt");
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenScript, ::testing::ValuesIn(scriptnames()),
                         [](const auto& info) { return info.param; });

}  // namespace
