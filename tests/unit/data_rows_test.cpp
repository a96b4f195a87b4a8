#include <gtest/gtest.h>

#include "conversation/data_rows.h"

TEST(DataRows, NextdataitemSplitsOneItemOff)
{
    struct Row {
        std::string row, item, rest;
    };
    const Row rows[] = {
        {"BIN NICHT JUNG,        'Willst du sagen, dass du alt bist?'", "BIN NICHT JUNG",
         "        'Willst du sagen, dass du alt bist?'"},
        {"        'Willst du sagen, dass du alt bist?'", "Willst du sagen, dass du alt bist?", ""},
        {" A , B", "A", " B"}, {"A,,B", "A", ",B"}, {",B", "", "B"}, {"A,", "A", ""}, {"", "", ""},
        {"'a,b' x, c", "a,b", " c"}, {"\tA \t", "A", ""}, {"x 'quoted' , y", "quoted", " y"},
        {"'  keep  '", "  keep  ", ""}, {"'unclosed, still ", "unclosed, still ", ""},
        {"\"a,b\"", "\"a", "b\""},
        {"A\r\n", "A\r\n", ""},                     // line ends are not blanks
        {"'\xCC\x81x,y", "'\xCC\x81x", "y"},        // a quote with an accent is a letter
        {",\xCC\x81" "a,b", ",\xCC\x81" "a", "b"},  // and so is such a comma
    };
    for (const Row& row : rows) {
        const auto [item, rest] = nextdataitem(row.row);
        EXPECT_EQ(item, row.item) << testing::PrintToString(row.row);
        EXPECT_EQ(rest, row.rest) << testing::PrintToString(row.row);
    }
}

TEST(DataRows, AdddataAppendsEveryItemOfARow)
{
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"A,,B", {"A", "", "B"}}, {"A,", {"A"}}, {"", {""}}, {"'a,b' x, c", {"a,b", "c"}},
        {"x,'y',", {"x", "y"}}, {"a,b,'c,d',e", {"a", "b", "c,d", "e"}},
    };
    for (const auto& [row, items] : rows) {
        datalist.clear();
        dataitemcount = 0;
        adddata(row);
        EXPECT_EQ(datalist, items) << row;
        EXPECT_EQ(dataitemcount, static_cast<int64_t>(items.size())) << row;
    }
}

TEST(DataRows, ReaddataStopsAtTheEndUntilRestored)
{
    EXPECT_EQ(readdata(), "");  // nothing added yet
    adddata("a, b");
    adddata("'c'");
    for (const char* item : {"a", "b", "c", "", ""})
        EXPECT_EQ(readdata(), item);
    EXPECT_EQ(datareadposition, 4);
    restoredata();
    EXPECT_EQ(readdata(), "a");
    datareadposition = 0;  // a bad position reads nothing rather than outside the list
    EXPECT_EQ(readdata(), "");
}
