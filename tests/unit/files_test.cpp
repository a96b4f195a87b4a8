#include <gtest/gtest.h>

#include "menus/files.h"
#include "util/diagnostics.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace std::string_literals;

// Percent escapes decode to bytes (also "%2f" and bad UTF-8); a broken
// escape stays as it stands.
TEST(FilePaths, FilenameAndUrltopath)
{
    const std::pair<std::string, std::string> rows[] = {
        {filename("/Users/a/b.font"), "b.font"}, {filename("b.font"), "b.font"}, {filename("/Users/a/"), ""},
        {filename("\xC3\xA4/\xC3\xB6"), "\xC3\xB6"}, {urltopath("file:///tmp/a%20b.txt"), "/tmp/a b.txt"},
        {urltopath("file://"), ""}, {urltopath("file:///A%CC%88"), "/\xC3\x84"}, {urltopath("file:///%FF"), "/\xFF"},
        {urltopath("file:///a%2fb"), "/a/b"}, {urltopath("file:///100%"), "/100%"}, {urltopath("file:///%4"), "/%4"},
        {urltopath("file:///%zz"), "/%zz"}, {urltopath("/plain/path"), "/plain/path"},
    };
    for (size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}

// Whole files come back byte for byte (also beyond one read's worth, and
// empty); whatever cannot be read gives no bytes and one error line.
TEST(Files, WholeFilesOrOneErrorLine)
{
    char pattern[] = "/tmp/sprecho-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string directory = pattern, path = directory + "/data.bin", locked = directory + "/locked";
    std::string large(300000, '\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = char(i * 7 + i / 251);
    for (const std::string& content : {"\0a\xFF\r\n"s, large, ""s}) {
        std::ofstream(path, std::ios::binary) << content;
        DiagCapture out;
        EXPECT_EQ(getbinaryfromfile(path), std::vector<uint8_t>(content.begin(), content.end()));
        EXPECT_TRUE(out.lines().empty());
    }
    std::ofstream(locked) << "abc";
    chmod(locked.c_str(), 0);
    std::vector<std::string> bad = {directory + "/missing.font", directory, "", directory + "/a\0b"s};
    if (geteuid() != 0)  // root reads anything
        bad.push_back(locked);
    for (const std::string& unreadable : bad) {
        DiagCapture out;
        EXPECT_TRUE(getbinaryfromfile(unreadable).empty()) << unreadable;
        const std::vector<std::string> lines = out.lines();
        ASSERT_EQ(lines.size(), 1u) << unreadable;
        EXPECT_TRUE(lines[0].starts_with("getbinaryfromfile: Error #")) << lines[0];
    }
    std::filesystem::remove_all(directory);
}
