// Sprecho as a person uses it: the real program started offscreen, real
// key events typed into view 0, the conversation log read back from the
// printer window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QWidget>
#include <cctype>
#include <string>

#include "input/key_events.h"
#include "menus/virtual_printer.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "startup/launch.h"
#include "support/keys.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "windows/window_table.h"

namespace {

using Lines = std::vector<std::string>;

// The program waits for a key exactly while its text cursor is shown.
bool waitsforkey()
{
    return pump_until(
        [] { return memoryready && keyqueuelength() == 0 && windowtable[0].TextCursorLevel == 1; }, 120000);
}

// Types a line into view 0 and, unless it is typed ahead, waits until the
// program has taken it. The keys are queued before this returns, so an
// empty queue means the program has taken the Return (its cursor may be
// back at the next prompt already).
void say(const QString& line, bool ahead = false)
{
    QWidget* view = toview(windowview(0));
    ASSERT_TRUE(ahead || waitsforkey());
    typetext(view, line);
    pressreturn(view);
    ASSERT_TRUE(ahead || pump_until([] { return keyqueuelength() == 0; }));
}

// The dated begin and end lines become "[Beginn]" and "[Ende]" when their
// shape is exact (digits where the date and time go).
std::string withoutstamps(const std::string& log)
{
    std::string result;
    size_t at = 0;
    while (at < log.size()) {
        std::string found = log.substr(at, 50);
        for (char& c : found)
            c = std::isdigit(static_cast<unsigned char>(c)) ? '9' : c;
        const std::string stamp = "Protokoll vom 99.99.9999, ";
        const std::string begin = stamp + "Beginn um 99:99:99 Uhr.";
        const std::string end = stamp + "Ende um 99:99:99 Uhr.";
        if (found.starts_with(begin)) {
            result += "[Beginn]";
            at += begin.size();
        } else if (found.starts_with(end)) {
            result += "[Ende]";
            at += end.size();
        } else {
            result += log[at++];
        }
    }
    return result;
}

}  // namespace

// A scripted conversation typed key by key, the outburst with its
// ten-second pause, and the end word; the log is read back whole, its
// dated first and last lines reduced to their word.
TEST(Conversation, AWholeConversationIsLoggedLineByLine)
{
    launchwork();
    for (const char* line : {"Hallo", "", "ich weiß nicht", "ctrl-c", "ctrl-c", "ctrl-c"})
        say(QString::fromUtf8(line));  // the second outburst pauses ten seconds before its last line
    ASSERT_TRUE(waitsforkey());
    say("ende", true);
    ASSERT_TRUE(pump_until([] { return screen_line(0, 25).starts_with("(Programm Ende)"); }));

    const std::string scream = "Sprecho: Aaaaaaaahhhhhhhhh........\r";
    const std::string warning =
        "Sprecho: Wenn du das noch einmal machst, brenn' ich dir den Mikroprozessor durch!\r\r";
    EXPECT_EQ(withoutstamps(p_GetPrinter()),
              "[Beginn]\r\rPatient: Hallo\rSprecho: Ich begrüsse dich!\r\rPatient: \r"
              "Patient: ich weiß nicht\rSprecho: Bist du immer unsicher?\r\r"
              "Patient: ctrl-c\r" + scream + warning +
              "Patient: ctrl-c\r" + scream + "Sprecho: Du hast es nicht anders gewollt!\r"
              "Sprecho: Ich will mal nicht so sein...\r\r"
              "Patient: ctrl-c\r" + scream + warning + "Patient: ende\r\r[Ende]\r");
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
    std::string text = "\n";
    text += output.toStdString();
    for (const Lines* order : {&launch, &programlines}) {
        size_t from = 0;
        for (const std::string& line : *order) {
            const size_t at = text.find(std::string("\n") + line, from);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\n" << text;
            from = at + 1;
        }
    }
}
