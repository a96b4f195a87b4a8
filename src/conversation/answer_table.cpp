#include "conversation/answer_table.h"

#include "conversation/data_rows.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

#include <algorithm>
#include <array>

// Plain ASCII, so that the bitmap fonts can draw every letter of it.
const char* const noticeline = "(C) 2026 Die Sprecho-Autoren  ";

std::vector<std::string> keywords;
std::vector<std::string> answers;
int64_t answercount = 0;

// Longer phrases stand before the shorter ones they contain, because the
// first row whose keyword occurs in the line wins. The "*" row ends the
// table; its answer is the default one.
std::vector<std::string> answerrows()
{
    return {
        "GEHT ES DIR,           'Wir sprechen von dir!'",
        "LIEBE DICH NICHT,      'Meinst du etwa ich dich?'",
        "LACH,                  'Was gibt es denn Lustiges?'",
        "LIEBE DICH,            'Das ist aber nett von dir.'",
        "BIN EINSAM,            'Dann such dir doch einen Partner.'",
        "BIN EIN VERSAGER,      'Warum solltest du ein Versager sein?'",
        "BIST DOOF,             'Ich bin nicht doof - du bist doof!'",
        "WIR,                   'Wen meinst du mit <wir>?'",
        "FRAU,                  'Was ist mit dieser Frau?'",
        "MÄDCHEN,               'Was ist mit diesem Mädchen?'",
        "MANN,                  'Was ist mit diesem Mann?'",
        "JUNGEN,                'Was ist mit diesem Jungen?'",
        "BIN NICHT JUNG,        'Willst du sagen, dass du alt bist?'",
        "BIN NICHT MEHR JUNG,   'Warst du wirklich mal jung?'",
        "NICHT JUNG,            'Fühlst du dich denn alt?'",
        "NICHT MEHR JUNG,       'Hast du dich mal jung gefühlt?'",
        "LIEBE,                 'Verliebst du dich schnell?'",
        "ICH WEISS NICHT,       'Bist du immer unsicher?'",
        "ICH WEISS,             'Was weisst du schon.'",
        "SIE,                   'Wer ist sie denn?'",
        "PROBLEM,               'Erzähle mir von deinem Problem.'",
        "SCHULE,                'Hast du Schwierigkeiten in der Schule?'",
        "GEIL,                  'Was findest du denn so geil?'",
        "ONANIE,                'Versuch es doch einmal mit Mädchen.'",
        "FICK,                  'Du Schwein - du solltest dich schämen!'",
        "WICHS,                 'Oh - wie ordinär!'",
        "KOTZ,                  'Aber bitte nicht auf die Tastatur!'",
        "SCHEISS,               'Du bist wohl ein kleiner Prolo!'",
        "ARSCH,                 'Wer ist hier ein Arsch?'",
        "SCHNAUZE,              'Drücke dich bitte etwas gewählter aus!'",
        "APPLE,                 'Ja - ich bin der weltbeste Apple Computer...'",
        "COMPUTER,              'Hast du etwas gegen Computer?'",
        "DU BIST,               'Bist du doch selber.'",
        "HASS,                  'Auf wen hast du Hass?'",
        "FÜHL,                  'Wann hast du dieses Gefühl?'",
        "MANCHMAL,              'Warum nicht öfter?'",
        "GEH,                   'Wohin denn?'",
        "DAHIN,                 'Wo ist das denn?'",
        "WO,                    'Woher soll ich denn das wissen?'",
        "WANN,                  'Bestimmt nicht jetzt!'",
        "WER,                   'Guck doch mal in den Spiegel'",
        "OH,                    'Beklag dich nicht, es gibt Schlimmeres.'",
        "PARADIES,              'Das gibt es doch gar nicht!'",
        "TRAUM,                 'Von was träumst du denn?'",
        "WAS,                   'Woher soll ich denn das wissen?'",
        "MUSS,                  'Wer zwingt dich denn dazu?'",
        "WILL,                  'Warum willst du das?'",
        "LEID,                  'Erzähl mir von deinem Leiden.'",
        "GELD,                  'Hast du vielleicht finanzielle Sorgen?'",
        "WARUM,                 'Da kann ich dir auch nicht helfen.'",
        "MICH NICHT,            'Warum denn nicht?'",
        "SAG,                   'Du musst dich etwas deutlicher fassen.'",
        "NICHT,                 'Doch!'",
        "DU,                    'Wir sprechen von dir!'",
        "DIR,                   'Wir sprechen von dir!'",
        "IMMER,                 'Das ist aber ziemlich oft.'",
        "ICH,                   'Hast du Probleme?'",
        "HALLO,                 'Ich begrüsse dich!'",
        "JA,                    'Ich nehme es zur Kenntnis.'",
        "NEIN,                  'Warum denn nicht?'",
        "HILFE,                 'Wie kann ich Dir helfen?'",
        "HELFEN,                'Soll ich Dir helfen?'",
        "@,                     'Hast du einen Sprachfehler?'",
        "HOLMVIK,               'Oh, mein Meister!'",
        "SPRECHO,               'Ja - ich bin S P R E C H O'",
        std::string("COPYRIGHT,             '") + noticeline + "'",
        "*,                     'Rede bitte nicht so einen Dreck!'",
    };
}

namespace {

const std::array<const char*, 3> interruptwords = {"^C", "CTRL-C", "CTRLC"};
// Full upper-casing never yields "SCHLUß" ("Schluß" becomes "SCHLUSS"); the
// word stays for lines upper-cased some other way.
const std::array<const char*, 4> endwords = {"HÖR AUF", "ENDE", "SCHLUSS", "SCHLUß"};

template <typename Words>
bool isoneof(const std::string& line, const Words& words)
{
    for (const char* word : words)
        if (line == word)
            return true;
    return false;
}

}  // namespace

// Builds the table afresh: the data list holds exactly the table's items
// afterwards, so a second call gives the same table, not a doubled one.
void readanswertable()
{
    datalist.clear();
    dataitemcount = 0;
    for (const std::string& row : answerrows())
        adddata(row);
    restoredata();
    // Element 0 is the "*" row; its answer is read last.
    keywords.assign(1, std::string("*"));
    answers.assign(1, std::string());
    answercount = 0;
    while (datareadposition <= dataitemcount) {
        std::string keyword = readdata();
        if (keyword == "*")
            break;
        answers.push_back(readdata());
        keywords.push_back(std::move(keyword));
        ++answercount;
    }
    answers[0] = readdata();
    diag_line(std::to_string(answercount) + " Fragen und Antworten eingelesen.");
}

// The whole line must equal a word; only canonically equivalent spellings
// count as the same ("HÖR AUF" typed with a combining diaeresis).
LineKind classifyline(const std::string& upper)
{
    if (upper.empty())
        return LineKind::Empty;
    const std::string composed = unicode::nfc(upper);
    if (isoneof(composed, interruptwords))
        return LineKind::Interrupt;
    if (isoneof(composed, endwords))
        return LineKind::End;
    return LineKind::Ordinary;
}

std::string uppercaseline(const std::string& line)
{
    return unicode::toupper(line);
}

std::string choosereply(const std::string& line)
{
    const size_t rows = std::min(keywords.size(), answers.size());
    for (size_t i = 1; i < rows && static_cast<int64_t>(i) <= answercount; ++i)
        if (unicode::contains(line, keywords[i]))
            return answers[i];
    return answers.empty() ? std::string() : answers[0];
}
