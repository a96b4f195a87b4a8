// The runtime's one writer to standard output.
//
// Every diagnostic is one whole line: it is written under a lock in a single
// write and flushed at once, so lines from the program thread, the main
// thread and the service tasks never interleave and a pipe sees each line as
// soon as it is made. Text output redirected to standard output (a window's
// characters, without line ends) goes through the same lock.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes `line` followed by a line end.
void diag_line(std::string_view line);

// Writes `text` as it is, without a line end (redirected text output).
void diag_text(std::string_view text);

// The system's reason for an errno value, in English whatever the user's
// locale, for diagnostic lines ("No space left on device").
std::string systemreason(int error);

// Test support: while a capture is open, everything written is also kept in
// memory. Output still reaches standard output unless `quiet` is set.
class DiagCapture {
public:
    explicit DiagCapture(bool quiet = true);
    ~DiagCapture();
    DiagCapture(const DiagCapture&) = delete;
    DiagCapture& operator=(const DiagCapture&) = delete;

    // Everything written since the capture opened (or since the last clear).
    std::string text() const;
    // The same, split at line ends; a final unterminated piece is kept.
    std::vector<std::string> lines() const;
    void clear();
};
