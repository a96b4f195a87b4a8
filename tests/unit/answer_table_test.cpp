#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <tuple>
#include <utility>

#include "conversation/answer_table.h"
#include "conversation/data_rows.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

// The answer table as it is written down: 66 keyword rows in their order
// (the notice line is the program's own), then the default answer.
const std::pair<const char*, const char*> table[] = {
    {"GEHT ES DIR", "Wir sprechen von dir!"}, {"LIEBE DICH NICHT", "Meinst du etwa ich dich?"},
    {"LACH", "Was gibt es denn Lustiges?"}, {"LIEBE DICH", "Das ist aber nett von dir."},
    {"BIN EINSAM", "Dann such dir doch einen Partner."},
    {"BIN EIN VERSAGER", "Warum solltest du ein Versager sein?"},
    {"BIST DOOF", "Ich bin nicht doof - du bist doof!"}, {"WIR", "Wen meinst du mit <wir>?"},
    {"FRAU", "Was ist mit dieser Frau?"}, {"MÄDCHEN", "Was ist mit diesem Mädchen?"},
    {"MANN", "Was ist mit diesem Mann?"}, {"JUNGEN", "Was ist mit diesem Jungen?"},
    {"BIN NICHT JUNG", "Willst du sagen, dass du alt bist?"},
    {"BIN NICHT MEHR JUNG", "Warst du wirklich mal jung?"}, {"NICHT JUNG", "Fühlst du dich denn alt?"},
    {"NICHT MEHR JUNG", "Hast du dich mal jung gefühlt?"}, {"LIEBE", "Verliebst du dich schnell?"},
    {"ICH WEISS NICHT", "Bist du immer unsicher?"}, {"ICH WEISS", "Was weisst du schon."},
    {"SIE", "Wer ist sie denn?"}, {"PROBLEM", "Erzähle mir von deinem Problem."},
    {"SCHULE", "Hast du Schwierigkeiten in der Schule?"}, {"GEIL", "Was findest du denn so geil?"},
    {"ONANIE", "Versuch es doch einmal mit Mädchen."}, {"FICK", "Du Schwein - du solltest dich schämen!"},
    {"WICHS", "Oh - wie ordinär!"}, {"KOTZ", "Aber bitte nicht auf die Tastatur!"},
    {"SCHEISS", "Du bist wohl ein kleiner Prolo!"}, {"ARSCH", "Wer ist hier ein Arsch?"},
    {"SCHNAUZE", "Drücke dich bitte etwas gewählter aus!"},
    {"APPLE", "Ja - ich bin der weltbeste Apple Computer..."}, {"COMPUTER", "Hast du etwas gegen Computer?"},
    {"DU BIST", "Bist du doch selber."}, {"HASS", "Auf wen hast du Hass?"},
    {"FÜHL", "Wann hast du dieses Gefühl?"}, {"MANCHMAL", "Warum nicht öfter?"}, {"GEH", "Wohin denn?"},
    {"DAHIN", "Wo ist das denn?"}, {"WO", "Woher soll ich denn das wissen?"}, {"WANN", "Bestimmt nicht jetzt!"},
    {"WER", "Guck doch mal in den Spiegel"}, {"OH", "Beklag dich nicht, es gibt Schlimmeres."},
    {"PARADIES", "Das gibt es doch gar nicht!"}, {"TRAUM", "Von was träumst du denn?"},
    {"WAS", "Woher soll ich denn das wissen?"}, {"MUSS", "Wer zwingt dich denn dazu?"},
    {"WILL", "Warum willst du das?"}, {"LEID", "Erzähl mir von deinem Leiden."},
    {"GELD", "Hast du vielleicht finanzielle Sorgen?"}, {"WARUM", "Da kann ich dir auch nicht helfen."},
    {"MICH NICHT", "Warum denn nicht?"}, {"SAG", "Du musst dich etwas deutlicher fassen."}, {"NICHT", "Doch!"},
    {"DU", "Wir sprechen von dir!"}, {"DIR", "Wir sprechen von dir!"}, {"IMMER", "Das ist aber ziemlich oft."},
    {"ICH", "Hast du Probleme?"}, {"HALLO", "Ich begrüsse dich!"}, {"JA", "Ich nehme es zur Kenntnis."},
    {"NEIN", "Warum denn nicht?"}, {"HILFE", "Wie kann ich Dir helfen?"}, {"HELFEN", "Soll ich Dir helfen?"},
    {"@", "Hast du einen Sprachfehler?"}, {"HOLMVIK", "Oh, mein Meister!"},
    {"SPRECHO", "Ja - ich bin S P R E C H O"}, {"COPYRIGHT", nullptr},
};
const std::string dreck = "Rede bitte nicht so einen Dreck!";

// Every keyword and answer verbatim, in order. Each keyword typed alone (in
// lower case) gets the answer of the first row whose keyword it contains:
// its own, unless an earlier keyword is part of it.
TEST(AnswerTable, HoldsEveryRowVerbatimAndAnswersEachKeyword)
{
    DiagCapture out;
    readanswertable();
    ASSERT_EQ(std::tuple(keywords.size(), answers.size(), answercount), std::tuple(67u, 67u, 66));
    EXPECT_EQ(keywords[0] + "|" + answers[0], "*|" + dreck);
    for (size_t i = 1; i <= 66; ++i) {
        const auto& [keyword, answer] = table[i - 1];
        EXPECT_EQ(keywords[i] + "|" + answers[i], std::string(keyword) + "|" + (answer ? answer : noticeline));
        size_t first = 0;
        while (std::string(keyword).find(table[first].first) == std::string::npos)
            ++first;
        std::string typed = keyword;  // ASCII letters in lower case, umlauts as they are
        for (char& c : typed)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(choosereply(uppercaseline(typed)), answers[first + 1]) << typed;
    }
}

// All 134 items are read; the notice fills the header's 80 columns with the
// title. Interrupt and end
// words count only as the whole line; every other line gets the first row,
// in table order, whose keyword occurs anywhere in it.
TEST(AnswerTable, ReadsSixtySixRowsAndRepliesToTypedLines)
{
    EXPECT_EQ(choosereply("HALLO"), "");  // no table yet: no answer, no crash
    DiagCapture out;
    readanswertable();
    EXPECT_EQ(out.lines(), std::vector<std::string>{"66 Fragen und Antworten eingelesen."});
    EXPECT_EQ(std::tuple(answercount, dataitemcount, datareadposition), std::tuple(66, 134, 135));
    const std::string notice = noticeline;  // notice fills 80 columns
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
