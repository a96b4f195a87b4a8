// Sprecho as a person uses it: the real program started offscreen, real
// key events typed into view 0, the conversation log read back from the
// printer window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QWidget>
#include <algorithm>
#include <regex>

#include "display/window_image.h"
#include "input/key_events.h"
#include "menus/virtual_printer.h"
#include "platform/qt/graphic_views.h"
#include "platform/qt/handles.h"
#include "startup/launch.h"
#include "support/keys.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

// Sanitizer builds run many times slower: fewer exchanges there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int exchanges = 40;
#else
constexpr int exchanges = 200;
#endif

// The program waits for a key exactly while its text cursor is shown.
bool waitsforkey()
{
    return pump_until(
        [] { return memoryready && keyqueuelength() == 0 && windowtable[0].TextCursorLevel == 1; }, 120000);
}

// Types a line into view 0 and, unless it is typed ahead, waits until the
// program has taken it.
void say(const QString& line, bool ahead = false)
{
    QWidget* view = toview(windowview(0));
    ASSERT_TRUE(ahead || waitsforkey());
    typetext(view, line);
    pressreturn(view);
    ASSERT_TRUE(ahead || pump_until([] { return windowtable[0].TextCursorLevel == 0; }));
}

}  // namespace

// Lines typed ahead of the program are all taken in order; emoji and
// combining marks, which the home-computer character set lacks, are
// dropped or replaced and the program goes on; every Latin-1 line is logged
// exactly as typed; the scrolling area keeps its frame. Then a scripted
// conversation, the outburst with its ten-second pause, and the end word.
TEST(Conversation, AWholeConversationIsLoggedLineByLine)
{
    launchwork();
    const struct {
        QString text;
        bool exact;
    } ahead[] = {
        {QString(72, QLatin1Char('x')), true},  // the longest line that fits
        {QString::fromUtf8("Übermäßig öde Grüße aus Köln"), true},
        {QString::fromUtf8("Gute Nacht \U0001F600"), false},
        {QString::fromUtf8("e\u0301te"), false},
        {"", true},
    };
    ASSERT_TRUE(waitsforkey());
    const std::string header = screen_line(0, 2);
    for (int i = 0; i < exchanges; ++i)
        say(ahead[i % 5].text, true);
    typetext(toview(windowview(0)), "halt");
    pressescape(toview(windowview(0)));  // Escape gives the empty line
    ASSERT_TRUE(waitsforkey());
    EXPECT_EQ(screen_line(0, 2), header);
    for (int64_t line = 6; line <= 24; ++line)
        EXPECT_TRUE(screen_line(0, line).starts_with("  ") && screen_line(0, line).ends_with("   ")) << line;
    EXPECT_EQ(screen_line(0, 25), std::string(80, ' '));

    for (const char* line : {"Hallo", "", "ich weiß nicht", "ctrl-c", "ctrl-c", "ctrl-c"})
        say(QString::fromUtf8(line));  // the second outburst pauses ten seconds before its last line
    ASSERT_TRUE(waitsforkey());
    say("ende", true);
    ASSERT_TRUE(pump_until([] { return screen_line(0, 25).starts_with("(Programm Ende)"); }));

    const std::string log = p_GetPrinter();
    ASSERT_TRUE(log.ends_with('\r'));
    Lines lines;
    for (size_t begin = 0, end; (end = log.find('\r', begin)) != std::string::npos; begin = end + 1)
        lines.push_back(log.substr(begin, end - begin));
    const auto stamp = [](const std::string& word) {
        return std::regex("Protokoll vom \\d\\d\\.\\d\\d\\.\\d{4}, " + word + " um \\d\\d:\\d\\d:\\d\\d Uhr\\.");
    };
    EXPECT_TRUE(std::regex_match(lines.front(), stamp("Beginn"))) << lines.front();
    EXPECT_TRUE(std::regex_match(lines.back(), stamp("Ende"))) << lines.back();
    EXPECT_EQ(lines.at(1), "");
    size_t at = 2;
    for (int i = 0; i <= exchanges; ++i) {
        const std::string typed = i == exchanges ? "" : ahead[i % 5].text.toStdString();
        ASSERT_LT(at, lines.size());
        if (i == exchanges || ahead[i % 5].exact)
            ASSERT_EQ(lines[at], std::string("Patient: ") + typed) << "exchange " << i;
        else
            ASSERT_TRUE(lines[at].starts_with("Patient: ")) << "exchange " << i;
        at += typed.empty() ? 1 : 3;  // the reply and the empty line after it
    }
    const char* const scream = "Sprecho: Aaaaaaaahhhhhhhhh........";
    const char* const warning = "Sprecho: Wenn du das noch einmal machst, brenn' ich dir den Mikroprozessor durch!";
    const Lines expected = {"Patient: Hallo", "Sprecho: Ich begrüsse dich!", "",
                            "Patient: ",
                            "Patient: ich weiß nicht", "Sprecho: Bist du immer unsicher?", "",
                            "Patient: ctrl-c", scream, warning, "",
                            "Patient: ctrl-c", scream, "Sprecho: Du hast es nicht anders gewollt!",
                            "Sprecho: Ich will mal nicht so sein...", "",
                            "Patient: ctrl-c", scream, warning, "",
                            "Patient: ende", ""};
    ASSERT_EQ(lines.size(), at + expected.size() + 1);
    EXPECT_EQ(Lines(lines.begin() + int64_t(at), lines.end() - 1), expected);

    // The yellow inverse bar and the three text colours in the image.
    EXPECT_EQ(cell_attribute(0, 1, 4) * 256 + cell_attribute(0, 80, 4), 0x0D0D);
    const auto image = t_WindowImage(0);
    ASSERT_NE(image, nullptr);
    for (const uint32_t colour : {0xFFFFFF00u, 0xFF00FF00u, 0xFFFF0000u})  // yellow, green, red
        EXPECT_NE(std::count(image->Pixels.begin(), image->Pixels.end(), colour), 0) << colour;
}

// The launch lines in their order; the program thread's lines in theirs,
// all after "Program: Start.", with which they may interleave.
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

    const Lines launch = {"applicationWillFinishLaunching: Called.", "applicationDidFinishLaunching: Start.",
                          "inittermkit: Start.", "inittermkit: End.", "Program: Start.",
                          "applicationDidFinishLaunching: End."};
    const Lines programlines = {
        "Program: Start.", "t_InitMemory: Start.", "t_InitMemory: End.", "t_InitWindow: GraphicWindow #0 Start.",
        "t_InitWindow: GraphicWindow #0 = 1280 x 800 pixel x 24 bit = 3.000,00K video-memory = $00D12000.",
        "t_InitWindow: GraphicWindow #0 End.", "p_PrinterAutoUpdateProcess: Start as thread #",
        "66 Fragen und Antworten eingelesen."};
    const std::string text = std::string("\n") + output.toStdString();
    for (const Lines* order : {&launch, &programlines}) {
        size_t from = 0;
        for (const std::string& line : *order) {
            const size_t at = text.find(std::string("\n") + line, from);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\n" << text;
            from = at + 1;
        }
    }
}
