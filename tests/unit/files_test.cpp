#include <gtest/gtest.h>

#include "menus/files.h"
#include "util/diagnostics.h"

using namespace std::string_literals;

// Percent escapes decode to bytes (also "%2f" and bad UTF-8), a broken one
// stays. What cannot be read gives no bytes and one error line (reading
// whole files is proven by the font tests).
TEST(Files, PathsAndUnreadableFiles)
{
    const std::pair<std::string, std::string> rows[] = {
        {filename("/a/b.font") + filename("b.font") + filename("/a/"), "b.fontb.font"}, {urltopath("file://"), ""},
        {urltopath("file:///t/a%20A%CC%88%FF%2f"), "/t/a \xC3\x84\xFF/"},
        {urltopath("file:///100%%4%zz"), "/100%%4%zz"},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
    for (const std::string& bad : {"/nonexistent-sprecho/missing.font"s, "/tmp"s, ""s, "/tmp/a\0b"s}) {
        DiagCapture out;
        EXPECT_TRUE(getbinaryfromfile(bad).empty()) << bad;
        EXPECT_TRUE(out.lines().size() == 1 && out.lines()[0].starts_with("getbinaryfromfile: Error #"))
            << testing::PrintToString(out.lines());
    }
}
