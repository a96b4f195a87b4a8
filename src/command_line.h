// The command line: what the person asked for when starting Sprecho.
//
// It is read before any window system is touched, so that the help, the
// version and a mistyped option are answered on a text console too.
// Only Sprecho's own options are accepted; the desktop's settings come from
// the environment (QT_QPA_PLATFORM, QT_SCALE_FACTOR, DISPLAY, ...).
#pragma once

#include <string>

struct CommandLine {
    enum class Action { run, help, version, error };
    Action action = Action::run;
    // --terminal: the conversation runs in the terminal, not in a window.
    bool terminal = false;
    // For `error`: the whole German line for standard error, without a line end.
    std::string error;
};

// Reads the options with getopt_long. The first help, version or faulty
// option decides; arguments that are not options are faulty. `argv` may be
// reordered, as getopt_long does; the caller keeps argv[0] where it was.
CommandLine parsecommandline(int argc, char** argv);

// The German usage text for --help, ending with a line end.
std::string usagetext();

// "sprecho <version>" with a line end.
std::string versiontext();

// Answers help, version and error on standard output or standard error and
// returns the process's exit status (0 for help and version, 2 for an error,
// 1 when standard output could not be written).
int answercommandline(const CommandLine& commandline);
