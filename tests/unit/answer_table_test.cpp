#include <gtest/gtest.h>

#include "conversation/answer_table.h"
#include "conversation/data_rows.h"
#include "util/diagnostics.h"
#include "util/strings.h"
#include "util/unicode.h"

namespace {

const std::string defaultanswer = "Rede bitte nicht so einen Dreck!";

void readquietly()
{
    DiagCapture quiet;
    readanswertable();
}

// The reply the conversation gives to a typed line; "" when it gives none.
std::string replyto(const std::string& typed)
{
    const std::string upper = uppercaseline(typed);
    return classifyline(upper) == LineKind::Ordinary ? choosereply(upper) : "";
}

}  // namespace

TEST(AnswerTable, ReadsSixtySixRowsAndTheDefault)
{
    DiagCapture out;
    readanswertable();
    EXPECT_EQ(out.lines(), std::vector<std::string>{"66 Fragen und Antworten eingelesen."});
    EXPECT_EQ(answercount, 66);
    ASSERT_EQ(keywords.size(), 67u);
    ASSERT_EQ(answers.size(), 67u);
    EXPECT_EQ(keywords[0], "*");
    EXPECT_EQ(answers[0], defaultanswer);
    EXPECT_EQ(dataitemcount, 134);
    EXPECT_EQ(datareadposition, 135);  // every item was read

    struct Row {
        size_t number;
        std::string keyword, answer;
    };
    const Row rows[] = {
        {1, "GEHT ES DIR", "Wir sprechen von dir!"},
        {10, "M\xC3\x84" "DCHEN", "Was ist mit diesem M\xC3\xA4" "dchen?"},
        {13, "BIN NICHT JUNG", "Willst du sagen, dass du alt bist?"},
        {31, "APPLE", "Ja - ich bin der weltbeste Apple Computer..."},
        {35, "F\xC3\x9C" "HL", "Wann hast du dieses Gef\xC3\xBChl?"},
        {42, "OH", "Beklag dich nicht, es gibt Schlimmeres."},
        {63, "@", "Hast du einen Sprachfehler?"},
        {65, "SPRECHO", "Ja - ich bin S P R E C H O"},
        {66, "COPYRIGHT", noticeline},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(keywords[row.number], row.keyword) << row.number;
        EXPECT_EQ(answers[row.number], row.answer) << row.number;
    }
    for (size_t i = 1; i < keywords.size(); ++i) {
        EXPECT_EQ(uppercaseline(keywords[i]), keywords[i]) << "row " << i << " is not upper case";
        EXPECT_EQ(unicode::nfc(keywords[i]), keywords[i]) << "row " << i << " is not composed";
        EXPECT_FALSE(answers[i].empty()) << i;
    }
    const std::vector<std::string> first = answers;
    readquietly();  // reading again gives the same table, not a doubled one
    EXPECT_EQ(answers, first);
    EXPECT_EQ(dataitemcount, 134);
}

TEST(AnswerTable, RowsAreAlignedDataRows)
{
    const std::vector<std::string> rows = answerrows();
    ASSERT_EQ(rows.size(), 67u);
    for (const std::string& row : rows) {
        // Keyword and comma, blanks, then the quoted answer from column 24.
        const std::string head = substring(row, 1, 23);
        const std::string keyword = head.substr(0, head.find(','));
        EXPECT_EQ(head, justify(keyword + ",", "", 23)) << row;
        EXPECT_EQ(charat(row, 24), "'") << row;
        EXPECT_TRUE(row.ends_with("'")) << row;
        EXPECT_EQ(row.find('\'', row.find('\'') + 1), row.size() - 1) << row;
    }
    EXPECT_EQ(rows.front(), "GEHT ES DIR,           'Wir sprechen von dir!'");
}

TEST(AnswerTable, NoticeLineIsThirtyPrintableCharactersEndingInTwoBlanks)
{
    const std::string notice = noticeline;
    EXPECT_EQ(notice.size(), 30u);
    EXPECT_TRUE(notice.ends_with("  ") && !notice.ends_with("   ")) << '"' << notice << '"';
    for (char c : notice)
        EXPECT_TRUE(c >= 32 && c < 127) << notice;
}

TEST(AnswerTable, TypedLinesAreClassifiedByTheWholeLine)
{
    struct Row {
        std::string typed;
        LineKind kind;
    };
    using enum LineKind;
    const Row rows[] = {
        {"", Empty}, {"^c", Interrupt}, {"ctrl-c", Interrupt}, {"Ctrlc", Interrupt}, {"CTRL C", Ordinary},
        {"ctrl-c ", Ordinary}, {"ende", End}, {"H\xC3\xB6r auf", End}, {"schlu\xC3\x9F", End},
        {"Schluss", End}, {" ende", Ordinary}, {"ende.", Ordinary}, {"Ende gut", Ordinary}, {" ", Ordinary},
        {"Ho\xCC\x88r auf", End},  // decomposed ö
    };
    for (const Row& row : rows)
        EXPECT_EQ(classifyline(uppercaseline(row.typed)), row.kind) << '"' << row.typed << '"';
    EXPECT_EQ(classifyline("SCHLU\xC3\x9F"), LineKind::End);
}

TEST(AnswerTable, FirstMatchingRowAnswers)
{
    EXPECT_EQ(choosereply("HALLO"), "");  // no table yet: no answer, no crash
    readquietly();
    struct Row {
        std::string typed, reply;
    };
    const Row rows[] = {
        {"Ich bin dumm", "Wir sprechen von dir!"},  // "DU" inside "DUMM" before "ICH"
        {"Hallo", "Ich begr\xC3\xBCsse dich!"},
        {"ich wei\xC3\x9F nicht", "Bist du immer unsicher?"},
        {"Ich wei\xC3\x9F", "Was weisst du schon."},
        {"Ich bin nicht jung", "Willst du sagen, dass du alt bist?"},
        {"Ich bin nicht mehr jung", "Warst du wirklich mal jung?"},
        {"Wie geht es dir?", "Wir sprechen von dir!"},
        {"ich liebe dich nicht", "Meinst du etwa ich dich?"},
        {"ich liebe dich", "Das ist aber nett von dir."},
        {"Schei\xC3\x9F" "e!", "Du bist wohl ein kleiner Prolo!"},
        {"Ein M\xC3\xA4" "dchen", "Was ist mit diesem M\xC3\xA4" "dchen?"},
        {"ein ma\xCC\x88" "dchen", "Was ist mit diesem M\xC3\xA4" "dchen?"},  // decomposed ä
        {"F\xC3\xBChlst du", "Wann hast du dieses Gef\xC3\xBChl?"},
        {"Mein Problem ist Geld", "Erz\xC3\xA4hle mir von deinem Problem."},
        {"a@b", "Hast du einen Sprachfehler?"}, {"sprecho", "Ja - ich bin S P R E C H O"},
        {"copyright?", noticeline},
        {"xyz", defaultanswer}, {"*", defaultanswer}, {" ende", defaultanswer}, {"CTRL C", defaultanswer},
        {"Mir ist \xC3\xBC" "bel", defaultanswer},
        {"\xF0\x9F\x98\x80\xFF", defaultanswer},  // emoji and a bad byte
    };
    for (const Row& row : rows)
        EXPECT_EQ(replyto(row.typed), row.reply) << '"' << row.typed << '"';
}

