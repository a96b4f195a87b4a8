// Sprecho: reads the command line, then hands control to the desktop's
// event loop.
#include <cstdio>
#include <cstdlib>

#include "command_line.h"
#include "frontends/qt/application.h"

int main(int argc, char** argv)
{
    // Answered before any window system is touched.
    const CommandLine commandline = parsecommandline(argc, argv);
    if (commandline.action != CommandLine::Action::run)
        return answercommandline(commandline);
    // Only our own options are accepted, so the toolkit gets none.
    const int status = runapplication(1, argv);
    // The runtime's service tasks (refresh, printer) run until the process
    // ends and keep using process-wide state; ending here without running
    // static destructors keeps them from touching state being torn down.
    std::fflush(stdout);
    std::_Exit(status);
}
