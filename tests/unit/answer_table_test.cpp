#include <gtest/gtest.h>

#include "conversation/answer_table.h"
#include "conversation/data_rows.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

namespace {

const std::string defaultanswer = "Rede bitte nicht so einen Dreck!";

}  // namespace

// Every one of the 134 items is read and "*" ends up as element 0; a keyword
// not in composed upper case could never match a typed line.
TEST(AnswerTable, ReadsSixtySixRowsAndTheDefault)
{
    DiagCapture out;
    readanswertable();
    EXPECT_EQ(out.lines(), std::vector<std::string>{"66 Fragen und Antworten eingelesen."});
    EXPECT_EQ(answercount, 66);
    ASSERT_EQ(keywords.size(), 67u);
    ASSERT_EQ(answers.size(), 67u);
    EXPECT_EQ(keywords[0] + answers[0], "*" + defaultanswer);
    EXPECT_EQ(dataitemcount, 134);
    EXPECT_EQ(datareadposition, 135);
    for (size_t i = 1; i < keywords.size(); ++i) {
        EXPECT_EQ(uppercaseline(keywords[i]), keywords[i]) << "row " << i << " is not upper case";
        EXPECT_EQ(unicode::nfc(keywords[i]), keywords[i]) << "row " << i << " is not composed";
    }
    const std::string notice = noticeline;  // fills the header's 80 columns
    EXPECT_EQ(notice.size(), 30u);
    EXPECT_TRUE(notice.ends_with("  ") && !notice.ends_with("   ")) << '"' << notice << '"';
}

// Interrupt and end words count only as the whole line; every other line
// gets the first row, in table order, whose keyword occurs anywhere in it.
TEST(AnswerTable, RepliesToTypedLines)
{
    EXPECT_EQ(choosereply("HALLO"), "");  // no table yet: no answer, no crash
    const std::string interrupt = "(interrupt)", end = "(end)", empty = "(empty)";
    const auto replyto = [&](const std::string& typed) {
        const std::string upper = uppercaseline(typed);
        switch (classifyline(upper)) {
        case LineKind::Empty: return empty;
        case LineKind::Interrupt: return interrupt;
        case LineKind::End: return end;
        default: return choosereply(upper);
        }
    };
    DiagCapture quiet;
    readanswertable();
    const std::pair<std::string, std::string> rows[] = {
        {"", empty}, {"^c", interrupt}, {"ctrl-c", interrupt}, {"Ctrlc", interrupt}, {"ende", end},
        {"H\xC3\xB6r auf", end}, {"Ho\xCC\x88r auf", end}, {"schlu\xC3\x9F", end}, {"Schluss", end},
        {"CTRL C", defaultanswer}, {"ctrl-c ", defaultanswer}, {" ende", defaultanswer}, {"ende.", defaultanswer},
        {"Ende gut", defaultanswer}, {"xyz", defaultanswer}, {"*", defaultanswer},
        {"\xF0\x9F\x98\x80\xFF", defaultanswer},  // emoji and a bad byte
        {"Ich bin dumm", "Wir sprechen von dir!"},  // "DU" inside "DUMM" comes before "ICH"
        {"Wie geht es dir?", "Wir sprechen von dir!"}, {"Ich wei\xC3\x9F", "Was weisst du schon."},
        {"Ich bin nicht jung", "Willst du sagen, dass du alt bist?"}, {"a@b", "Hast du einen Sprachfehler?"},
        {"Ich bin nicht mehr jung", "Warst du wirklich mal jung?"}, {"copyright?", noticeline},
        {"ich liebe dich nicht", "Meinst du etwa ich dich?"}, {"ich liebe dich", "Das ist aber nett von dir."},
        {"Schei\xC3\x9F" "e!", "Du bist wohl ein kleiner Prolo!"},
        {"ein ma\xCC\x88" "dchen", "Was ist mit diesem M\xC3\xA4" "dchen?"},  // decomposed ä
        {"Mein Problem ist Geld", "Erz\xC3\xA4hle mir von deinem Problem."},
    };
    for (const auto& [typed, reply] : rows)
        EXPECT_EQ(replyto(typed), reply) << '"' << typed << '"';
    EXPECT_EQ(classifyline("SCHLU\xC3\x9F"), LineKind::End);  // the list's own spelling
}
