#include <gtest/gtest.h>

#include "menus/files.h"
#include "util/diagnostics.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

using namespace std::string_literals;

namespace {

class Files : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/sprecho-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + directory + "'").c_str()); }

    std::string write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = directory + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // Reads `path` and answers the lines printed meanwhile.
    static std::vector<std::string> read(const std::string& path, std::vector<uint8_t>& bytes)
    {
        DiagCapture out;
        bytes = getbinaryfromfile(path);
        return out.lines();
    }

    std::string directory;
};

}  // namespace

TEST(FilePaths, FilenameAndUrltopath)
{
    const std::pair<std::string, std::string> names[] = {
        {"/Users/a/b.font", "b.font"}, {"b.font", "b.font"}, {"/Users/a/", ""}, {"", ""}, {"/", ""},
        {"\xC3\xA4/\xC3\xB6", "\xC3\xB6"},
    };
    for (const auto& [path, name] : names)
        EXPECT_EQ(filename(path), name) << path;
    const std::pair<std::string, std::string> urls[] = {
        {"file:///tmp/a%20b.txt", "/tmp/a b.txt"}, {"file://", ""}, {"file:///x/A%CC%88", "/x/\xC3\x84"},
        {"file:///a%2fb", "/a/b"}, {"file:///100%", "/100%"}, {"file:///%4", "/%4"}, {"file:///%zz", "/%zz"},
        {"file:///%FF", "/\xFF"}, {"/plain/path", "/plain/path"},
    };
    for (const auto& [url, path] : urls)
        EXPECT_EQ(urltopath(url), path) << url;
}

TEST_F(Files, WholeFilesComeBackByteForByte)
{
    std::vector<uint8_t> large(300000);  // more than one read's worth
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<uint8_t>(i * 7 + i / 251);
    for (const auto& content : {std::vector<uint8_t>{0, 'a', 0xFF, '\r', '\n'}, large, {}}) {
        std::vector<uint8_t> bytes{1};
        EXPECT_TRUE(read(write("data.bin", content), bytes).empty());
        EXPECT_EQ(bytes, content);
    }
}

TEST_F(Files, UnreadablePathsPrintOneErrorLine)
{
    const std::string locked = write("locked", {1, 2, 3});
    chmod(locked.c_str(), 0);
    std::vector<std::string> paths = {directory + "/missing.font", directory, "", directory + "/a\0b"s};
    if (geteuid() != 0)  // root reads anything
        paths.push_back(locked);
    for (const std::string& path : paths) {
        std::vector<uint8_t> bytes{1};
        const std::vector<std::string> lines = read(path, bytes);
        EXPECT_TRUE(bytes.empty()) << path;
        ASSERT_EQ(lines.size(), 1u) << path;
        EXPECT_TRUE(lines[0].starts_with("getbinaryfromfile: Error #")) << lines[0];
    }
}
