// The open and save panels on the real desktop, offscreen: a timer plays
// the user, answering the modal panel once it is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

#include "menus/file_panels.h"
#include "support/program_thread.h"

namespace {

using Answer = std::function<void(QFileDialog&)>;

// Answers the next modal file panel and notes what it showed.
struct PanelAnswer {
    explicit PanelAnswer(Answer answer)
    {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this, answer] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* dialog = modal != nullptr ? modal->findChild<QFileDialog*>() : nullptr;
            if (dialog == nullptr)
                return;
            timer.stop();
            shown = (modal->windowTitle() + u'|' + dialog->labelText(QFileDialog::Accept)).toStdString();
            lookin = dialog->labelText(QFileDialog::LookIn).toStdString();
            filters = dialog->nameFilters().join(u' ').toStdString();
            answer(*dialog);
        });
        timer.start(5);
    }
    QTimer timer;
    std::string shown, filters, lookin;  // shown: title|prompt
};

}  // namespace

// From the program thread the panels wait for the user. The open panel
// gives a chosen file as a plain path with a real blank (no %20, no
// file://), the save panel the proposed name in the chosen folder, a
// cancelled panel nothing; prompts and type filters follow the call. A name
// typed without an extension gets the first allowed type's. Qt's own texts
// are German too.
TEST(FilePanels, FromTheProgramThreadThePanelsWaitForTheUser)
{
    const std::string folder = std::filesystem::temp_directory_path().string() +
                               "/sprecho-panels-" + std::to_string(::getpid());
    const std::string file = folder + "/a b.txt";
    std::filesystem::create_directories(folder);
    std::ofstream(file) << "Hallo";
    const auto accept = [&](const std::string& chosen) -> Answer {
        return [chosen, folder](QFileDialog& dialog) {
            dialog.setDirectory(QString::fromStdString(folder));
            if (!chosen.empty())
                dialog.selectFile(QString::fromStdString(chosen));
            static_cast<QDialog&>(dialog).accept();  // runs the file dialog's own checks
        };
    };
    const struct {
        std::function<std::string()> call;
        Answer answer;
        std::string prompt, pattern, path;  // pattern "": no file type offered
    } rows[] = {
        {[] { return openfile("Datei", "", "txt,text", true, false); }, accept(file), "Öffnen",
         "*.text", file},
        {[] { return openfile("Datei", "", "", false, true); }, [](QFileDialog& d) { d.reject(); }, "Wählen", "",
         ""},
        {[] { return savefile("Protokoll 1.txt", "Datei", "Wohin?", "txt"); }, accept(""),
         "Sichern", "*.txt", folder + "/Protokoll 1.txt"},
        {[] { return savefile("Brief", "Datei", "", ",md,txt"); }, accept(""), "Sichern", "*.md",
         folder + "/Brief.md"},
        {[] { return savefile("Brief.txt", "Datei", "", "md"); }, accept(""), "Sichern", "*.md",
         folder + "/Brief.txt"},
    };
    for (const auto& row : rows) {
        PanelAnswer answer(row.answer);
        std::string path = "unverändert";
        ASSERT_TRUE(run_on_program_thread([&] { path = row.call(); }));
        EXPECT_EQ(path, row.path) << row.prompt << " " << row.pattern;
        EXPECT_EQ(answer.shown, "Datei|" + row.prompt);
        EXPECT_EQ(answer.lookin, "Suchen in:");
        const std::string wanted = row.pattern.empty() ? "*." : row.pattern;
        EXPECT_EQ(answer.filters.find(wanted) != std::string::npos, !row.pattern.empty())
            << answer.filters;
    }
    std::filesystem::remove_all(folder);
}
