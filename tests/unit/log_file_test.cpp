#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "conversation/log_file.h"
#include "support/temp_folder.h"
#include "util/diagnostics.h"

namespace {

using Lines = std::vector<std::string>;

// Sets an environment variable (or removes it) for one scope.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        set(value);
    }
    ~ScopedVariable() { set(old_); }

private:
    void set(const std::optional<std::string>& value)
    {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

int mode(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? int(status.st_mode & 0777) : -1;
}

const std::string windowonly = "; the log is kept in the printer window only.";

}  // namespace

// The data home counts only when it is an absolute path; otherwise the log
// goes below the home folder.
TEST(LogFile, TheFolderFollowsTheDataHome)
{
    const ScopedVariable home("HOME", "/home/patient");
    const std::string fallback = "/home/patient/.local/share/sprecho/Protokolle";
    const std::pair<std::optional<std::string>, std::string> rows[] = {
        {"/daten", "/daten/sprecho/Protokolle"}, {"/daten//", "/daten/sprecho/Protokolle"},
        {"", fallback}, {"relativ/daten", fallback}, {std::nullopt, fallback},
    };
    for (const auto& [datahome, folder] : rows) {
        const ScopedVariable data("XDG_DATA_HOME", datahome);
        EXPECT_EQ(logdirectory(), folder) << datahome.value_or("(unset)");
    }
}

// Each line is in the file as soon as its carriage return is appended,
// with a line feed instead; a line begun stays out until it is finished or
// the file is closed. The folders are made private, the file too, and a
// second conversation in the same second gets a name of its own.
TEST(LogFile, EveryFinishedLineIsInTheFileAtOnce)
{
    const TempFolder temp;
    const std::string folder = temp.path() + "/neu/Protokolle";
    const std::string begin = "Protokoll vom 07.12.2026, Beginn um 14:03:27 Uhr.";
    const std::string patient = "Patient: Ich weiß, Mädchen";
    const std::pair<std::string, std::string> steps[] = {  // appended, the whole file after it
        {begin, ""},
        {"\r", begin + "\n"},
        {"\r", begin + "\n\n"},
        {patient, begin + "\n\n"},
        {"\r", begin + "\n\n" + patient + "\n"},
        {"Sprecho: A\r\rPatient: B\r\nPatient: C", begin + "\n\n" + patient + "\nSprecho: A\n\nPatient: B\n"},
    };
    LogFile log;
    DiagCapture out;
    openlogfile(log, folder, "2026-12-07-14-03-27");
    const std::string path = folder + "/Protokoll-2026-12-07-14-03-27.txt";
    EXPECT_EQ(out.lines(), Lines{"openlogfile: The conversation is logged to " + path + "."});
    for (const auto& [appended, whole] : steps) {
        appendlogfile(log, appended);
        EXPECT_EQ(filetext(path), whole) << "after appending " << appended;
    }
    const std::string end = "Protokoll vom 07.12.2026, Ende um 14:05:00 Uhr.";
    closelogfile(log, end);
    const std::string closed = steps[std::size(steps) - 1].second + "Patient: C\n" + end + "\n";
    EXPECT_EQ(filetext(path), closed);
    appendlogfile(log, "Patient: zu spät\r");
    closelogfile(log, end);
    EXPECT_EQ(filetext(path), closed) << "nothing is written after closing";
    EXPECT_EQ(mode(temp.path() + "/neu") * 01000 + mode(folder), 0700 * 01000 + 0700);
    EXPECT_EQ(mode(path), 0600);

    LogFile second;
    openlogfile(second, folder, "2026-12-07-14-03-27");
    closelogfile(second);
    EXPECT_TRUE(std::filesystem::exists(folder + "/Protokoll-2026-12-07-14-03-27-2.txt"));
    EXPECT_EQ(filetext(path), closed);
    EXPECT_EQ(out.lines().size(), 2u) << testing::PrintToString(out.lines());
}

// A folder that cannot be made, a file that cannot be opened and a full
// disk each give one line; the lines after it are written nowhere and
// reported no more.
TEST(LogFile, AFailureIsReportedOnceAndTheLogGoesOn)
{
    const TempFolder temp;
    std::ofstream(temp.path() + "/datei") << "kein Ordner";
    const std::string longname(300, '9');
    const struct {
        std::string folder, stamp, line;
    } rows[] = {
        {temp.path() + "/datei/Protokolle", "1",
         "openlogfile: Cannot create " + temp.path() + "/datei/Protokolle: Not a directory" + windowonly},
        {temp.path(), longname,
         "openlogfile: Cannot open " + temp.path() + "/Protokoll-" + longname + ".txt: File name too long" +
             windowonly},
        {"", "1", "openlogfile: No home directory is known" + windowonly},
    };
    for (const auto& row : rows) {
        LogFile log;
        DiagCapture out;
        openlogfile(log, row.folder, row.stamp);
        for (int i = 0; i < 3; ++i)
            appendlogfile(log, "Patient: Hallo\r");
        closelogfile(log, "Ende");
        EXPECT_EQ(out.lines(), Lines{row.line});
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.path()), {}), 1) << "only the blocking file";

    LogFile full;
    full.Descriptor = open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full.Descriptor, 0);
    full.Path = "/dev/full";
    DiagCapture out;
    for (int i = 0; i < 3; ++i)
        appendlogfile(full, "Patient: Hallo\r");
    closelogfile(full, "Ende");
    EXPECT_EQ(out.lines(), Lines{"appendlogfile: Cannot write /dev/full: No space left on device" + windowonly});
    EXPECT_EQ(full.Descriptor, -1);
}
