// Test main for the X11 key path: starts a virtual X server of its own with
// a German keyboard layout, then the desktop on it (the xcb platform), so
// that the tests can press real key codes through the XTEST extension.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/qt/application.h"
#include "support/runtime_reset.h"

// Why the tests cannot run: empty when the X server is up.
std::string xserverproblem;

namespace {

// Xvfb picks a free display and writes its number once it accepts clients;
// the shell first writes its own number, which Xvfb takes over. Without
// -noreset the server would forget the layout when setxkbmap disconnects.
int startserver()
{
    FILE* server = popen("echo $$; exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null", "r");
    int pid = 0, display = -1;
    if (server == nullptr || std::fscanf(server, "%d %d", &pid, &display) != 2) {
        xserverproblem = "Xvfb did not start (scripts/install-deps installs it)";
        return 0;
    }
    std::string name = ":";  // appended, not concatenated: GCC 12 warns falsely about the latter
    name += std::to_string(display);
    setenv("DISPLAY", name.c_str(), 1);
    if (std::system("setxkbmap -layout de") != 0) {  // a missing tool is a failure, not a reason to skip
        std::fprintf(stderr, "x11_tests: setxkbmap -layout de failed (scripts/install-deps installs x11-xkb-utils)\n");
        kill(pid, SIGTERM);
        std::exit(1);
    }
    return pid;
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const int server = GTEST_FLAG_GET(list_tests) ? 0 : startserver();  // listing needs no server
    if (!xserverproblem.empty())
        std::fprintf(stderr, "x11_tests: %s\n", xserverproblem.c_str());
    if (server != 0) {
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        startapplicationfortests(argc, argv);
    }
    installruntimereset();
    const int status = RUN_ALL_TESTS();
    if (server != 0)
        kill(server, SIGTERM);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
