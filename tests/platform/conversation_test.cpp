// Sprecho as a person uses it: the real program started offscreen, real
// key events typed into view 0, the conversation log read back from the
// printer window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QWidget>

#include "display/window_image.h"
#include "input/key_events.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "startup/launch.h"
#include "support/keys.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "windows/window_table.h"

namespace {

// The program waits for a key exactly while its text cursor is shown.
bool waitsforkey()
{
    return pump_until([] { return memoryready && windowtable[0].TextCursorLevel == 1; }, 60000);
}

QWidget* view0()
{
    return toview(windowview(0));
}

// Types a line and waits until the program asks for the next one.
void say(const QString& line)
{
    ASSERT_TRUE(waitsforkey());
    typetext(view0(), line);
    pressreturn(view0());
    ASSERT_TRUE(pump_until([] { return windowtable[0].TextCursorLevel == 0; }));
}

std::vector<std::string> loglines(const std::string& log)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    for (size_t end; (end = log.find('\r', begin)) != std::string::npos; begin = end + 1)
        lines.push_back(log.substr(begin, end - begin));
    EXPECT_EQ(begin, log.size()) << "the log ends with a carriage return";
    return lines;
}

// The line with every digit written as 9, so that dates and times compare
// with a pattern.
std::string digitsasnines(std::string line)
{
    for (char& c : line)
        if (c >= '0' && c <= '9')
            c = '9';
    return line;
}

int64_t countpixels(const WindowImage& image, uint32_t colour)
{
    return std::count(image.Pixels.begin(), image.Pixels.end(), colour);
}

// Sanitizer builds run many times slower: fewer exchanges there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

const char* const scream = "Sprecho: Aaaaaaaahhhhhhhhh........";
const char* const warning =
    "Sprecho: Wenn du das noch einmal machst, brenn' ich dir den Mikroprozessor durch!";

}  // namespace

TEST(Conversation, AWholeConversationIsLoggedLineByLine)
{
    launchwork();
    say("Hallo");
    say("");
    say(QString::fromUtf8("ich weiß nicht"));
    say("ctrl-c");
    say("ctrl-c");  // the outburst pauses ten seconds before its last line
    say("ctrl-c");
    ASSERT_TRUE(waitsforkey());
    typetext(view0(), "ende");
    pressreturn(view0());
    ASSERT_TRUE(pump_until([] { return screen_line(0, 25).rfind("(Programm Ende)", 0) == 0; }));

    const std::vector<std::string> log = loglines(p_GetPrinter());
    const std::vector<std::string> expected = {
        "(begin)", "",
        "Patient: Hallo", "Sprecho: Ich begrüsse dich!", "",
        "Patient: ",
        "Patient: ich weiß nicht", "Sprecho: Bist du immer unsicher?", "",
        "Patient: ctrl-c", scream, warning, "",
        "Patient: ctrl-c", scream, "Sprecho: Du hast es nicht anders gewollt!",
        "Sprecho: Ich will mal nicht so sein...", "",
        "Patient: ctrl-c", scream, warning, "",
        "Patient: ende", "",
        "(end)"};
    ASSERT_EQ(log.size(), expected.size());
    EXPECT_EQ(digitsasnines(log.front()), "Protokoll vom 99.99.9999, Beginn um 99:99:99 Uhr.");
    EXPECT_EQ(digitsasnines(log.back()), "Protokoll vom 99.99.9999, Ende um 99:99:99 Uhr.");
    for (size_t i = 1; i + 1 < log.size(); ++i)
        EXPECT_EQ(log[i], expected[i]) << "log line " << i + 1;

    // The screen: the header, the inverse bar, the conversation in its area.
    EXPECT_EQ(screen_line(0, 2).substr(0, 15), "  S P R E C H O");
    EXPECT_EQ(cell_attribute(0, 1, 4), 0x0D) << "the bar is yellow paper";
    EXPECT_EQ(cell_attribute(0, 80, 4), 0x0D);
    const auto image = t_WindowImage(0);
    ASSERT_NE(image, nullptr);
    EXPECT_GT(countpixels(*image, 0xFFFFFF00), 0) << "yellow";
    EXPECT_GT(countpixels(*image, 0xFF00FF00), 0) << "green";
    EXPECT_GT(countpixels(*image, 0xFFFF0000), 0) << "red";
}

// Emoji and combining marks have no key code of the home-computer
// character set: the line editor drops or replaces them, the program goes
// on. Every line of Latin-1 characters is logged exactly as typed.
TEST(Conversation, EveryLineIsLoggedExactlyAsTypedAndTheScreenKeepsItsFrame)
{
    launchwork();
    const struct {
        QString text;
        bool exact;
    } lines[] = {
        {QString(72, QLatin1Char('x')), true},  // the longest line that fits
        {QString::fromUtf8("Übermäßig öde Grüße aus Köln"), true},
        {QString::fromUtf8("Gute Nacht \U0001F600"), false},
        {QString::fromUtf8("e\u0301te"), false},
        {"", true},
    };
    ASSERT_TRUE(waitsforkey());
    std::string header = screen_line(0, 2);
    const int exchanges = sanitized ? 40 : 1000;
    for (int i = 0; i < exchanges; ++i) {
        typetext(view0(), lines[i % 5].text);
        pressreturn(view0());  // typed ahead: the program catches up below
    }
    typetext(view0(), "halt");
    pressescape(view0());  // Escape gives the empty line
    ASSERT_TRUE(pump_until(
        [] { return keyqueuelength() == 0 && windowtable[0].TextCursorLevel == 1; }, 120000));

    const std::vector<std::string> log = loglines(p_GetPrinter());
    size_t at = 2;
    for (int i = 0; i <= exchanges; ++i) {
        const bool last = i == exchanges;  // the line cancelled with Escape
        const std::string typed = last ? "" : lines[i % 5].text.toStdString();
        ASSERT_LT(at, log.size());
        if (last || lines[i % 5].exact)
            ASSERT_EQ(log[at], std::string("Patient: ") + typed) << "exchange " << i;
        else
            ASSERT_EQ(log[at].rfind("Patient: ", 0), 0u) << "exchange " << i;
        at += typed.empty() ? 1 : 3;  // the reply and the empty line after it
    }
    EXPECT_EQ(at, log.size());
    EXPECT_EQ(screen_line(0, 2), header);
    for (int64_t line = 6; line <= 24; ++line) {
        const std::string text = screen_line(0, line);
        EXPECT_EQ(text.substr(0, 2), "  ") << "line " << line;
        EXPECT_EQ(text.substr(text.size() - 3), "   ") << "line " << line;
    }
    EXPECT_EQ(screen_line(0, 25), std::string(80, ' '));
}

TEST(Conversation, TheProgramPrintsItsStartUpLinesInOrder)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + "/sprecho", {});
    ASSERT_TRUE(program.waitForStarted());
    QByteArray output;
    while (!output.contains("eingelesen.") && program.waitForReadyRead(10000))
        output += program.readAllStandardOutput();
    program.kill();
    program.waitForFinished();

    // The launch lines in their order; the program thread's lines in theirs,
    // all after "Program: Start.", with which they may interleave.
    const std::vector<std::string> launch = {
        "applicationWillFinishLaunching: Called.",
        "applicationDidFinishLaunching: Start.",
        "inittermkit: Start.",
        "inittermkit: End.",
        "Program: Start.",
        "applicationDidFinishLaunching: End.",
    };
    const std::vector<std::string> programlines = {
        "Program: Start.",
        "t_InitMemory: Start.",
        "t_InitMemory: End.",
        "t_InitWindow: GraphicWindow #0 Start.",
        "t_InitWindow: GraphicWindow #0 = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = "
        "$00D12000.",
        "t_InitWindow: GraphicWindow #0 End.",
        "p_PrinterAutoUpdateProcess: Start as thread #",
        "66 Fragen und Antworten eingelesen.",
    };
    const std::string text = std::string("\n") + output.toStdString();
    for (const auto* order : {&launch, &programlines}) {
        size_t from = 0;
        for (const std::string& line : *order) {
            const size_t at = text.find(std::string("\n") + line, from);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\n" << text;
            from = at + line.size();
        }
    }
}
