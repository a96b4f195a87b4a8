// Test main for the X11 key path: starts a virtual X server of its own with
// a German keyboard layout, then the desktop on it (the xcb platform), so
// that the tests can press real key codes through the XTEST extension.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/qt/application.h"
#include "support/runtime_reset.h"

extern char** environ;

// Why the tests cannot run: empty when the X server is up.
std::string xserverproblem;

namespace {

pid_t serverpid = -1;

int runandwait(const char* const* argv)
{
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts Xvfb, which picks a free display and writes its number to a pipe
// once it accepts clients; answers why it could not, or "".
std::string startserver()
{
    int ready[2];
    if (pipe(ready) != 0)
        return "no pipe";
    const std::string fd = std::to_string(ready[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                          "-noreset", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    const int error = posix_spawnp(&serverpid, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    if (error != 0) {
        close(ready[0]);
        serverpid = -1;
        return "Xvfb is not installed (scripts/install-deps installs it)";
    }
    pollfd wait{ready[0], POLLIN, 0};
    std::string number;
    char c = 0;
    while (poll(&wait, 1, 20000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(ready[0]);
    if (number.empty())
        return "Xvfb did not start within 20 seconds";
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return "";
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {  // listing the tests needs no server
        installruntimereset();
        return RUN_ALL_TESTS();
    }
    xserverproblem = startserver();
    if (xserverproblem.empty()) {
        const char* layout[] = {"setxkbmap", "-layout", "de", nullptr};
        if (runandwait(layout) != 0) {
            std::fprintf(stderr, "x11_tests: setxkbmap -layout de failed (package x11-xkb-utils)\n");
            kill(serverpid, SIGTERM);
            return 1;
        }
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        startapplicationfortests(argc, argv);
    } else {
        std::fprintf(stderr, "x11_tests: no X server, the tests are skipped: %s\n", xserverproblem.c_str());
    }
    installruntimereset();
    const int status = RUN_ALL_TESTS();
    if (serverpid > 0)
        kill(serverpid, SIGTERM);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
