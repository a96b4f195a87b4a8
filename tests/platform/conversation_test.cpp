// Sprecho as a person uses it: the real program started offscreen, real
// key events typed into view 0, the conversation log read back from the
// printer window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <filesystem>
#include <string>

#include "menus/virtual_printer.h"
#include "startup/launch.h"
#include "support/conversation.h"
#include "support/program_thread.h"
#include "support/screen.h"
#include "support/temp_folder.h"
#include "util/strings.h"

using Lines = std::vector<std::string>;

// A scripted conversation typed key by key, the outburst with its
// ten-second pause, and the end word; the log is read back whole, its
// dated first and last lines reduced to their word. Its file holds the
// same lines.
TEST(Conversation, AWholeConversationIsLoggedLineByLine)
{
    const TempFolder datahome(true);
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
    const std::filesystem::directory_iterator files(datahome.path() + "/sprecho/Protokolle");
    ASSERT_NE(files, std::filesystem::directory_iterator());
    EXPECT_EQ(filetext(files->path()), linuxlineends(p_GetPrinter()));
}

// The launch lines in their order; the program thread's lines in theirs,
// all after "Program: Start.", with which they may interleave.
TEST(Conversation, TheProgramPrintsItsStartUpLinesInOrder)
{
    const TempFolder datahome(true);
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
