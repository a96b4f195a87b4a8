// The conversation log on disk: one file per conversation, written line by
// line as the log grows.
//
// Every finished line is handed to the kernel with one write(2) the moment
// it is finished, so a crash or a kill of the process keeps every line
// written so far; only the end syncs the file to the disk, so the
// conversation never waits for it. A failure is reported once and leaves
// the log to the printer window: the conversation never stops for the disk.
#pragma once

#include <mutex>
#include <string>

struct LogFile {
    // Guards the fields: the program thread appends, the main thread may
    // close the file when the application quits.
    std::mutex Lock;
    int Descriptor = -1;  // -1: no file (not yet opened, failed or closed)
    std::string Path;
    std::string Pending;  // the line begun but not yet finished
};

// $XDG_DATA_HOME/sprecho/Protokolle; ~/.local/share/sprecho/Protokolle when
// XDG_DATA_HOME is unset, empty or relative. Empty when no home is known.
std::string logdirectory();

// Creates the directory when it is missing (private to the user) and a new
// file "Protokoll-<stamp>.txt" in it ("-2", "-3" … appended when that name
// is taken); prints one line naming the file, or the failure.
void openlogfile(LogFile& log, const std::string& directory, const std::string& stamp);

// Adds text in the log's own form, where lines end with a carriage return;
// each finished line reaches the file at once, ending with a line feed.
void appendlogfile(LogFile& log, const std::string& text);

// Writes a line begun but not finished, then `lastline` when it is not
// empty, syncs the file and closes it. Nothing happens once it is closed.
void closelogfile(LogFile& log, const std::string& lastline = "");

// The reason for an errno value as a German sentence for the user.
std::string germanreason(int error);
