#include <gtest/gtest.h>

#include "conversation/answer_table.h"
#include "conversation/data_rows.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

// All 134 items are read and "*" ends up as element 0; a keyword not in
// composed upper case could never match a typed line. Interrupt and end
// words count only as the whole line; every other line gets the first row,
// in table order, whose keyword occurs anywhere in it.
TEST(AnswerTable, ReadsSixtySixRowsAndRepliesToTypedLines)
{
    EXPECT_EQ(choosereply("HALLO"), "");  // no table yet: no answer, no crash
    DiagCapture out;
    readanswertable();
    EXPECT_EQ(out.lines(), std::vector<std::string>{"66 Fragen und Antworten eingelesen."});
    EXPECT_EQ(std::tuple(answercount, dataitemcount, datareadposition), std::tuple(66, 134, 135));
    ASSERT_EQ(std::pair(keywords.size(), answers.size()), std::pair(67ul, 67ul));
    const std::string dreck = "Rede bitte nicht so einen Dreck!", notice = noticeline;  // notice fills 80 columns
    EXPECT_EQ(keywords[0] + answers[0], "*" + dreck);
    for (size_t i = 1; i < keywords.size(); ++i)
        EXPECT_EQ(unicode::nfc(uppercaseline(keywords[i])), keywords[i]) << "row " << i;
    EXPECT_TRUE(notice.size() == 30 && notice.ends_with("  ") && !notice.ends_with("   ")) << '"' << notice << '"';
    using enum LineKind;
    const std::pair<std::string, LineKind> kinds[] = {
        {"", Empty}, {"^c", Interrupt}, {"ctrl-c", Interrupt}, {"Ctrlc", Interrupt}, {"ende", End},
        {"H\xC3\xB6r auf", End}, {"Ho\xCC\x88r auf", End}, {"schlu\xC3\x9F", End}, {"Schluss", End},
        {"ctrl-c ", Ordinary}, {" ende", Ordinary}, {"Ende gut", Ordinary}, {"x", Ordinary},
    };
    for (const auto& [typed, kind] : kinds)
        EXPECT_EQ(classifyline(uppercaseline(typed)), kind) << '"' << typed << '"';
    EXPECT_EQ(classifyline("SCHLU\xC3\x9F"), End);  // the list's own spelling
    const std::pair<std::string, std::string> rows[] = {
        {"Ende gut", dreck}, {"*", dreck}, {"\xF0\x9F\x98\x80\xFF", dreck},  // emoji and a bad byte
        {"Ich bin dumm", "Wir sprechen von dir!"},  // "DU" inside "DUMM" comes before "ICH"
        {"Ich wei\xC3\x9F", "Was weisst du schon."}, {"Ich bin nicht jung", "Willst du sagen, dass du alt bist?"},
        {"Ich bin nicht mehr jung", "Warst du wirklich mal jung?"}, {"copyright?", noticeline},
        {"ich liebe dich nicht", "Meinst du etwa ich dich?"}, {"ich liebe dich", "Das ist aber nett von dir."},
        {"Schei\xC3\x9F" "e!", "Du bist wohl ein kleiner Prolo!"},
        {"ein ma\xCC\x88" "dchen", "Was ist mit diesem M\xC3\xA4" "dchen?"},  // decomposed ä
    };
    for (const auto& [typed, reply] : rows)
        EXPECT_EQ(choosereply(uppercaseline(typed)), reply) << '"' << typed << '"';
}

// Items end at the first comma outside quotes; blanks around an item and the
// quotes go; a quote or comma carrying an accent is a letter. adddata keeps
// every item (a trailing comma adds none); readdata answers "" past the end
// and restoredata starts over.
TEST(DataRows, SplitAddAndReadItems)
{
    const std::tuple<std::string, std::string, std::string> rows[] = {  // row, item, rest
        {"BIN NICHT JUNG,        'Willst du sagen, dass du alt bist?'", "BIN NICHT JUNG",
         "        'Willst du sagen, dass du alt bist?'"},
        {"\tA \t, B", "A", " B"}, {",B", "", "B"}, {"", "", ""}, {"x 'a,b' , y", "a,b", " y"},
        {"'  keep  '", "  keep  ", ""}, {"'unclosed, still ", "unclosed, still ", ""}, {"\"a,b\"", "\"a", "b\""},
        {"A\r\n", "A\r\n", ""},  // line ends are not blanks
        {"'\xCC\x81x,y", "'\xCC\x81x", "y"}, {",\xCC\x81" "a,b", ",\xCC\x81" "a", "b"},
    };
    for (const auto& [row, item, rest] : rows)
        EXPECT_EQ(nextdataitem(row), std::pair(item, rest)) << testing::PrintToString(row);
    EXPECT_EQ(readdata(), "");  // nothing added yet
    for (const char* row : {"", "A,,B", "x,'y',", "'c,d',e"})
        adddata(row);
    for (int pass = 0; pass < 2; ++pass) {
        restoredata();
        for (const char* item : {"", "A", "", "B", "x", "y", "c,d", "e", "", ""})
            EXPECT_EQ(readdata(), item) << pass;
        EXPECT_EQ(datareadposition, 9);
    }
    datareadposition = 0;  // a bad position reads nothing rather than outside the list
    EXPECT_EQ(readdata(), "");
}
