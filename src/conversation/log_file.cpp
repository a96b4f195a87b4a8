#include "conversation/log_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "menus/files.h"
#include "util/diagnostics.h"
#include "util/strings.h"

namespace {

const std::string windowonly = "; the log is kept in the printer window only.";

// Tries a few names after the first before giving up: two programs started
// in the same second each get a file of their own.
constexpr int maxnamesuffix = 99;

std::string homedirectory()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

// Creates every missing directory of the path with mode 0700: the log is
// private, and so are the folders made for it.
int makedirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash == std::string::npos)
            break;
    }
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return errno;
    return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

// Writes under the caller's lock; on failure reports once and gives up the
// file.
void writelocked(LogFile& log, const char* operation, const std::string& bytes)
{
    if (bytes.empty())
        return;
    const int error = writeall(log.Descriptor, bytes);
    if (error == 0)
        return;
    diag_line(std::string(operation) + ": Cannot write " + log.Path + ": " + systemreason(error) +
              windowonly);
    close(log.Descriptor);
    log.Descriptor = -1;
}

}  // namespace

std::string logdirectory()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base = data != nullptr && data[0] == '/' ? std::string(data) : std::string();
    if (base.empty()) {
        const std::string home = homedirectory();
        if (home.empty())
            return {};
        base = home + "/.local/share";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/sprecho/Protokolle";
}

void openlogfile(LogFile& log, const std::string& directory, const std::string& stamp)
{
    std::lock_guard hold(log.Lock);
    if (directory.empty()) {
        diag_line("openlogfile: No home directory is known" + windowonly);
        return;
    }
    if (const int error = makedirectories(directory)) {
        diag_line("openlogfile: Cannot create " + directory + ": " + systemreason(error) +
                  windowonly);
        return;
    }
    const std::string stem = directory + "/Protokoll-" + stamp;
    std::string path;
    int error = EEXIST;
    for (int suffix = 1; suffix <= maxnamesuffix && error == EEXIST; ++suffix) {
        path = stem;
        if (suffix > 1)
            path.append("-").append(std::to_string(suffix));
        path.append(".txt");
        log.Descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        error = log.Descriptor < 0 ? errno : 0;
    }
    if (error != 0) {
        diag_line("openlogfile: Cannot open " + path + ": " + systemreason(error) + windowonly);
        return;
    }
    log.Path = path;
    log.Pending.clear();
    diag_line("openlogfile: The conversation is logged to " + path + ".");
}

void appendlogfile(LogFile& log, const std::string& text)
{
    std::lock_guard hold(log.Lock);
    if (log.Descriptor < 0)
        return;
    log.Pending += text;
    size_t end = log.Pending.rfind('\r');
    if (end == std::string::npos)
        return;
    if (end + 1 < log.Pending.size() && log.Pending[end + 1] == '\n')
        ++end;  // carriage return and line feed end one line
    const std::string finished = linuxlineends(std::string_view(log.Pending).substr(0, end + 1));
    log.Pending.erase(0, end + 1);
    writelocked(log, "appendlogfile", finished);
}

void closelogfile(LogFile& log, const std::string& lastline)
{
    std::lock_guard hold(log.Lock);
    if (log.Descriptor < 0)
        return;
    std::string rest = log.Pending.empty() ? std::string() : linuxlineends(log.Pending) + "\n";
    if (!lastline.empty())
        rest += lastline + "\n";
    log.Pending.clear();
    writelocked(log, "closelogfile", rest);
    if (log.Descriptor < 0)
        return;
    if (fsync(log.Descriptor) != 0)
        diag_line("closelogfile: Cannot sync " + log.Path + ": " + systemreason(errno) + ".");
    close(log.Descriptor);
    log.Descriptor = -1;
}

std::string germanreason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "Auf dem Datenträger ist kein Platz mehr frei.";
    case EACCES:
    case EPERM:
        return "Dafür fehlt die Berechtigung.";
    case EROFS:
        return "Der Datenträger ist schreibgeschützt.";
    case ENOENT:
    case ENOTDIR:
        return "Den Ordner gibt es nicht.";
    case EISDIR:
        return "Unter diesem Namen gibt es schon einen Ordner.";
    case ENAMETOOLONG:
        return "Der Name ist zu lang.";
    case EIO:
        return "Beim Schreiben ist ein Ein-/Ausgabefehler aufgetreten.";
    default:
        return "Das System meldet Fehler Nr. " + std::to_string(error) + " (" + systemreason(error) + ").";
    }
}
