// Sprecho: the application hands control to the desktop's event loop.
#include <cstdio>
#include <cstdlib>

#include "frontends/qt/application.h"

int main(int argc, char** argv)
{
    const int status = runapplication(argc, argv);
    // The runtime's service tasks (refresh, printer) run until the process
    // ends and keep using process-wide state; ending here without running
    // static destructors keeps them from touching state being torn down.
    std::fflush(stdout);
    std::_Exit(status);
}
