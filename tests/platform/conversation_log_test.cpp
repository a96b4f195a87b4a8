// The conversation log on disk, as a person meets it: a conversation in a
// process of its own that is killed, a data home where no folder can be
// made, quitting the real program, and "Protokoll sichern …".
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "conversation/conversation.h"
#include "input/mouse_events.h"
#include "menus/menu_actions.h"
#include "menus/virtual_printer.h"
#include "platform/platform.h"
#include "startup/launch.h"
#include "support/conversation.h"
#include "support/menu_items.h"
#include "support/program_thread.h"
#include "support/temp_folder.h"
#include "util/dates.h"
#include "util/diagnostics.h"
#include "util/strings.h"

namespace {

using Lines = std::vector<std::string>;

const char* const linesvariable = "SPRECHO_TEST_LINES";
const std::string childmark = "conversation child: printer ";

// The lines of the program's output that report on the log file.
Lines logfilelines(const std::string& output)
{
    Lines found;
    for (const std::string& line : splitat(output, '\n'))
        if (line.starts_with("openlogfile:") || line.starts_with("appendlogfile:") ||
            line.starts_with("closelogfile:"))
            found.push_back(line);
    return found;
}

// Runs the conversation child below in a process of its own, with the
// lines to say and the data home given; kills it with SIGKILL once it has
// said them all. Answers its output.
std::string killedconversation(const std::string& lines, const std::string& datahome)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_DATA_HOME", QString::fromStdString(datahome));
    environment.insert(linesvariable, QString::fromStdString(lines));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=ConversationChild.*"});
    EXPECT_TRUE(child.waitForStarted());
    QByteArray output;
    while (!output.contains(QByteArray::fromStdString(childmark)) && child.waitForReadyRead(60000))
        output += child.readAllStandardOutput();
    child.kill();
    child.waitForFinished();
    output += child.readAllStandardOutput();
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "killed, not ended";
    return output.toStdString();
}

std::vector<std::filesystem::path> logfiles(const std::string& datahome)
{
    std::vector<std::filesystem::path> files;
    std::error_code none;
    for (const auto& entry : std::filesystem::directory_iterator(datahome + "/sprecho/Protokolle", none))
        files.push_back(entry.path());
    return files;
}

}  // namespace

// Not a test of its own: the tests below run it in a child process, which
// holds the conversation they give and then waits to be killed.
TEST(ConversationChild, DISABLED_HoldsTheConversationItIsGivenAndWaits)
{
    const char* lines = std::getenv(linesvariable);
    if (lines == nullptr)
        GTEST_SKIP() << "runs in a child process of the log tests";
    launchwork();
    for (const std::string& line : splitat(lines, '\n'))
        say(QString::fromStdString(line));
    ASSERT_TRUE(waitsforkey());
    std::string printer = p_GetPrinter();
    std::replace(printer.begin(), printer.end(), '\r', '|');
    diag_line(childmark + printer);
    const pid_t parent = getppid();
    pump_until([parent] { return getppid() != parent; }, 600000);  // ends early when orphaned
}

// Killed at the prompt, the program leaves every finished line in the
// file, in order, with line feeds and no carriage return, its UTF-8 intact;
// the file is named by the time of its first line.
TEST(ConversationLog, AKilledProgramLeavesEveryFinishedLineInTheFile)
{
    const TempFolder datahome;
    const std::string output = killedconversation("Hallo\nIch weiß, Mädchen", datahome.path());
    const auto files = logfiles(datahome.path());
    ASSERT_EQ(files.size(), 1u) << output;
    const std::string text = filetext(files[0]);
    EXPECT_EQ(withoutstamps(text), "[Beginn]\n\nPatient: Hallo\nSprecho: Ich begrüsse dich!\n\n"
                                   "Patient: Ich weiß, Mädchen\nSprecho: Was ist mit diesem Mädchen?\n\n");
    const std::string begin = "Protokoll vom ";
    ASSERT_TRUE(text.starts_with(begin)) << text;
    const std::string date = text.substr(begin.size(), 10);
    const std::string time = text.substr(begin.size() + 22, 8);
    EXPECT_EQ(files[0].filename(), "Protokoll-" + filestamp(date, time) + ".txt");
    EXPECT_EQ(logfilelines(output), Lines{"openlogfile: The conversation is logged to " + files[0].string() + "."});
}

// Where no log folder can be made, one line says so and the conversation
// goes on in the printer window alone.
TEST(ConversationLog, AnUnwritableFolderLeavesTheLogToTheWindow)
{
    const TempFolder temp;
    const std::string blocked = temp.path() + "/datei";
    std::ofstream(blocked) << "kein Ordner";
    const std::string output = killedconversation("Hallo\nIch weiß, Mädchen", blocked);
    EXPECT_EQ(logfilelines(output), Lines{"openlogfile: Cannot create " + blocked + "/sprecho/Protokolle: Not a "
                                          "directory; the log is kept in the printer window only."});
    EXPECT_NE(output.find("|Patient: Ich weiß, Mädchen|Sprecho: Was ist mit diesem Mädchen?||"), std::string::npos)
        << output;
}

// Quitting the real program (here by SIGTERM, as at logout) ends its log
// file with the end line.
TEST(ConversationLog, QuittingTheProgramEndsTheFile)
{
    const TempFolder datahome;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_DATA_HOME", QString::fromStdString(datahome.path()));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + "/sprecho", {});
    ASSERT_TRUE(program.waitForStarted());
    const auto begun = [&] {
        const auto files = logfiles(datahome.path());
        return files.size() == 1 && filetext(files[0]).ends_with(" Uhr.\n\n");
    };
    ASSERT_TRUE(pump_until(begun, 10000));
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(10000));
    const QByteArray output = program.readAllStandardOutput();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(output.contains("\napplicationWillTerminate: Called.\n")) << output.toStdString();
    const auto files = logfiles(datahome.path());
    ASSERT_EQ(files.size(), 1u) << output.toStdString();
    EXPECT_EQ(withoutstamps(filetext(files[0])), "[Beginn]\n\n[Ende]\n");
}

namespace {

// Plays the user for "Protokoll sichern …": answers the save panel with
// the chosen file, agrees to replace a file that exists, and notes and
// closes a warning.
struct SaveAnswer {
    explicit SaveAnswer(const std::string& chosen)
    {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this, chosen] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                if (QAbstractButton* replace = box->button(QMessageBox::Yes)) {
                    QTimer::singleShot(0, replace, &QAbstractButton::click);
                    return;
                }
                warning = box->text().toStdString();
                QTimer::singleShot(0, box, &QMessageBox::accept);
                return;
            }
            auto* dialog = modal != nullptr ? modal->findChild<QFileDialog*>() : nullptr;
            if (dialog == nullptr || !proposed.empty())
                return;
            proposed = std::filesystem::path(dialog->selectedFiles().value(0).toStdString()).filename();
            const std::filesystem::path path(chosen);
            dialog->setDirectory(QString::fromStdString(path.parent_path()));
            dialog->selectFile(QString::fromStdString(path.filename()));
            // A question the dialog asks comes up while it accepts; the
            // answer comes from the next round of this timer.
            QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
        });
        timer.start(5);
    }
    QTimer timer;
    std::string proposed, warning;
};

}  // namespace

// The menu item saves the printer text as it stands, with line feeds,
// under a name with the conversation's date. A file that cannot be written
// (here a full disk) brings a German warning, and the printer keeps its
// text.
TEST(ConversationLog, ProtokollSichernSavesThePrinterText)
{
    const TempFolder temp;
    const std::string printer = "Protokoll vom 07.12.2026, Beginn um 14:03:27 Uhr.\r\rPatient: Ich weiß\r";
    p_SetPrinter(printer);
    buildmenuactions();
    setprogrammenuhandler([] { menuchoice("07.12.2026"); });
    QAction* item = itemwithtag(platform::savelogtag);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text() + u' ' + item->shortcut().toString(), "Protokoll sichern … Ctrl+Shift+S");
    // A name that leads to a full disk.
    const std::string full = temp.path() + "/voll.txt";
    std::filesystem::create_symlink("/dev/full", full);
    const struct {
        std::string chosen, content, warning;
    } rows[] = {
        {temp.path() + "/kopie.txt", linuxlineends(printer), ""},
        {full, "",
         "Das Protokoll konnte nicht unter „" + full + "“ gesichert werden. Auf dem Datenträger ist kein "
         "Platz mehr frei.\n\nIm Protokollfenster ist nichts verloren."},
    };
    for (const auto& row : rows) {
        SaveAnswer answer(row.chosen);
        item->trigger();
        const auto done = [&] {
            return row.warning.empty() ? filetext(row.chosen) == row.content : !answer.warning.empty();
        };
        EXPECT_TRUE(pump_until(done, 20000)) << row.chosen;
        EXPECT_EQ(answer.proposed, "Protokoll-2026-12-07.txt");
        EXPECT_EQ(answer.warning, row.warning);
        EXPECT_EQ(p_GetPrinter(), printer);
    }
    setprogrammenuhandler({});
    p_SetPrinter("");
}
