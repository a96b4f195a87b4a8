#include <gtest/gtest.h>

#include "conversation/data_rows.h"

// Items end at the first comma outside quotes; blanks around an item and
// the quotes go; a quote or comma carrying an accent is a letter.
TEST(DataRows, NextdataitemSplitsOneItemOff)
{
    const std::tuple<std::string, std::string, std::string> rows[] = {  // row, item, rest
        {"BIN NICHT JUNG,        'Willst du sagen, dass du alt bist?'", "BIN NICHT JUNG",
         "        'Willst du sagen, dass du alt bist?'"},
        {" A , B", "A", " B"}, {"A,,B", "A", ",B"}, {",B", "", "B"}, {"", "", ""}, {"'a,b' x, c", "a,b", " c"},
        {"\tA \t", "A", ""}, {"x 'quoted' , y", "quoted", " y"}, {"'  keep  '", "  keep  ", ""},
        {"'unclosed, still ", "unclosed, still ", ""}, {"\"a,b\"", "\"a", "b\""},
        {"A\r\n", "A\r\n", ""},  // line ends are not blanks
        {"'\xCC\x81x,y", "'\xCC\x81x", "y"}, {",\xCC\x81" "a,b", ",\xCC\x81" "a", "b"},
    };
    for (const auto& [row, item, rest] : rows)
        EXPECT_EQ(nextdataitem(row), std::pair(item, rest)) << testing::PrintToString(row);
}

// adddata keeps every item of a row (a trailing comma adds none); readdata
// answers "" past the end, and restoredata starts over.
TEST(DataRows, AdddataAndReaddata)
{
    EXPECT_EQ(readdata(), "");  // nothing added yet
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"A,,B", {"A", "", "B"}}, {"A,", {"A"}}, {"", {""}}, {"x,'y',", {"x", "y"}},
        {"a,b,'c,d',e", {"a", "b", "c,d", "e"}},
    };
    for (const auto& [row, items] : rows) {
        datalist.clear();
        dataitemcount = 0;
        adddata(row);
        EXPECT_EQ(datalist, items) << row;
        EXPECT_EQ(dataitemcount, static_cast<int64_t>(items.size())) << row;
    }
    for (int pass = 0; pass < 2; ++pass) {
        restoredata();
        for (const char* item : {"a", "b", "c,d", "e", "", ""})
            EXPECT_EQ(readdata(), item);
        EXPECT_EQ(datareadposition, 5);
    }
    datareadposition = 0;  // a bad position reads nothing rather than outside the list
    EXPECT_EQ(readdata(), "");
}
