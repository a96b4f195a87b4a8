// Sprecho: reads the command line, chooses the front-end and hands control
// to its event loop: the desktop where there is a display, the terminal
// with --terminal or where there is no display but a terminal.
#include <cstdio>
#include <cstdlib>

#include "command_line.h"
#include "frontends/qt/application.h"
#include "frontends/terminal/terminal.h"
#include "util/diagnostics.h"

namespace {

int runfrontend(const CommandLine& commandline, char** argv)
{
    if (commandline.terminal)
        return runterminal();
    if (const std::string missing = missingdisplay(); !missing.empty()) {
        if (!terminalavailable()) {
            diag_line(missing);
            return 1;
        }
        diag_line("main: No display found; Sprecho runs in the terminal.");
        return runterminal();
    }
    // Only our own options are accepted, so the toolkit gets none.
    return runapplication(1, argv);
}

}  // namespace

int main(int argc, char** argv)
{
    // Answered before any window system is touched.
    const CommandLine commandline = parsecommandline(argc, argv);
    if (commandline.action != CommandLine::Action::run)
        return answercommandline(commandline);
    const int status = runfrontend(commandline, argv);
    // The runtime's service tasks (refresh, printer) run until the process
    // ends and keep using process-wide state; ending here without running
    // static destructors keeps them from touching state being torn down.
    std::fflush(stdout);
    std::_Exit(status);
}
