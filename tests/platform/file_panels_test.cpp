// The open and save panels on the real desktop, offscreen: a timer plays
// the user, answering the modal panel once it is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <string>
#include <vector>

#include "menus/file_panels.h"
#include "menus/menu_actions.h"
#include "menus/menu_events.h"
#include "support/program_thread.h"

namespace {

// What the panel showed when it came up.
struct Seen {
    bool shown = false;
    std::string title;
    std::string prompt;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
};

// Waits for the next modal panel, notes what it shows and lets `answer`
// close it. The timer belongs to the test; it stops once it has answered.
class PanelAnswer {
public:
    explicit PanelAnswer(std::function<void(QFileDialog&)> answer) : answer_(std::move(answer))
    {
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { poll(); });
        timer_.start(5);
    }
    const Seen& seen() const { return seen_; }

private:
    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = modal != nullptr ? modal->findChild<QFileDialog*>() : nullptr;
        if (dialog == nullptr)
            return;
        timer_.stop();
        seen_.shown = true;
        seen_.title = modal->windowTitle().toStdString();
        seen_.prompt = dialog->labelText(QFileDialog::Accept).toStdString();
        seen_.filters = dialog->nameFilters();
        seen_.mode = dialog->fileMode();
        answer_(*dialog);
    }

    std::function<void(QFileDialog&)> answer_;
    QTimer timer_;
    Seen seen_;
};

void cancel(QFileDialog& dialog)
{
    dialog.reject();
}

std::function<void(QFileDialog&)> choosefile(const std::string& path)
{
    return [path](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(path));
        static_cast<QDialog&>(dialog).accept();  // runs the file dialog's own checks
    };
}

// A fresh directory with one file whose name has a blank.
class PanelFiles : public testing::Test {
protected:
    void SetUp() override
    {
        directory_ = std::filesystem::temp_directory_path() /
                     ("sprecho-panels-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory_);
        file_ = (directory_ / "a b.txt").string();
        std::ofstream(file_) << "Hallo";
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string directory() const { return directory_.string(); }
    const std::string& file() const { return file_; }

private:
    std::filesystem::path directory_;
    std::string file_;
};

}  // namespace

TEST(FilePanels, ACancelledOpenPanelGivesTheEmptyPath)
{
    PanelAnswer answer(cancel);
    EXPECT_EQ(openfile("Laden", "Eine Datei bitte", "txt,text", true, false), "");
    const Seen& seen = answer.seen();
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, "Laden");
    EXPECT_EQ(seen.prompt, "Öffnen");
    ASSERT_EQ(seen.filters.size(), 1);
    EXPECT_TRUE(seen.filters[0].contains(QStringLiteral("*.txt")));
    EXPECT_TRUE(seen.filters[0].contains(QStringLiteral("*.text")));
}

TEST(FilePanels, ChoosingFoldersUsesTheChoosePrompt)
{
    PanelAnswer answer(cancel);
    EXPECT_TRUE(openpanel("Ordner", "", "", false, false, true).empty());
    EXPECT_EQ(answer.seen().prompt, "Wählen");
    EXPECT_EQ(answer.seen().mode, QFileDialog::Directory);
}

TEST_F(PanelFiles, AChosenFileComesBackAsAPlainPath)
{
    {
        PanelAnswer answer(choosefile(file()));
        EXPECT_EQ(openpanel("Laden", "", "txt", false, true, false),
                  std::vector<std::string>{file()})
            << "a real blank, no %20, no file://";
    }
    PanelAnswer answer(choosefile(file()));
    EXPECT_EQ(openfile("Laden", "", "", true, false), file());
    for (const QString& filter : answer.seen().filters)
        EXPECT_FALSE(filter.contains(QStringLiteral("*."))) << "no types: any file";
}

TEST_F(PanelFiles, OpenFileFromTheProgramThreadWaitsForTheUser)
{
    PanelAnswer answer(choosefile(file()));
    std::string path;
    ASSERT_TRUE(run_on_program_thread([&] { path = openfile("Laden", "", "txt", true, false); }));
    EXPECT_EQ(path, file());
}

TEST_F(PanelFiles, SaveFileProposesTheDefaultName)
{
    PanelAnswer answer([this](QFileDialog& dialog) {
        dialog.setDirectory(QString::fromStdString(directory()));
        static_cast<QDialog&>(dialog).accept();  // runs the file dialog's own checks
    });
    std::string path;
    ASSERT_TRUE(run_on_program_thread(
        [&] { path = savefile("Protokoll 1.txt", "Sichern", "Wohin?", "txt"); }));
    EXPECT_EQ(path, directory() + "/Protokoll 1.txt");
    EXPECT_EQ(answer.seen().prompt, "Sichern");
}

TEST(FilePanels, ACancelledSavePanelGivesTheEmptyPath)
{
    PanelAnswer answer(cancel);
    std::string path = "unverändert";
    ASSERT_TRUE(run_on_program_thread([&] { path = savefile("log.txt", "Sichern", "", ""); }));
    EXPECT_EQ(path, "");
    EXPECT_TRUE(answer.seen().shown);
}

TEST_F(PanelFiles, MenuCommandsKeepTheChosenPathInTheirEntry)
{
    buildmenuactions();
    t_MenuActionAdd(100);
    t_MenuActionAdd(101);
    const int64_t open = t_MenuActionIndex(100);
    const int64_t save = t_MenuActionIndex(101);
    t_MenuActions[size_t(open)].Title = "Laden";
    t_MenuActions[size_t(open)].FileTypes = "txt";
    t_MenuActions[size_t(save)].FileName = "alt.txt";
    t_MenuActions[size_t(save)].FilePath = "/alt/alt.txt";

    t_MenuItemInfo item;
    item.InMenu = true;
    item.MenuTitle = "Ablage";
    {
        PanelAnswer answer(choosefile(file()));
        item.Tag = 100;
        t_MenuEventHandler(item);
        EXPECT_EQ(answer.seen().title, "Laden");
    }
    EXPECT_EQ(t_MenuActions[size_t(open)].FilePath, file());
    EXPECT_EQ(t_MenuActions[size_t(open)].FileName, "a b.txt");
    {
        PanelAnswer answer(cancel);
        item.Tag = 101;
        t_MenuEventHandler(item);
        EXPECT_TRUE(answer.seen().shown);
    }
    EXPECT_EQ(t_MenuActions[size_t(save)].FilePath, "");
    EXPECT_EQ(t_MenuActions[size_t(save)].FileName, "");
    EXPECT_EQ(menuqueuelength(), 2u);
}
