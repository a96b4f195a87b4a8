#include "bench_support.h"

#include <cstdlib>

#include "frontends/qt/application.h"

void ensuredesktop()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    static int argc = 1;
    static char name[] = "sprecho_bench";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    startapplicationfortests(argc, argv);
}
