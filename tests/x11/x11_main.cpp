// Test main for tests on a real X server: starts its own Xvfb, brings up
// the application on it through Qt's xcb platform, and stops the server at
// the end. Where Xvfb cannot start, the tests skip and say why.
//
// Run as "x11_tests --print-clipboard" it is instead a second X client
// that prints the clipboard's text, as any other program would paste it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "frontends/qt/application.h"
#include "x11/x11_server.h"

extern char** environ;

std::string xserverproblem;

namespace {

pid_t xserver = -1;

// Starts Xvfb on a display it picks itself; answers the display name, or
// empty after noting the problem.
std::string startxserver()
{
    int ready[2];
    if (pipe(ready) != 0) {
        xserverproblem = "no pipe for Xvfb";
        return {};
    }
    const std::string fd = std::to_string(ready[1]);
    const char* args[] = {"Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1280x1024x24",
                          nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&xserver, "Xvfb", &actions, nullptr, const_cast<char**>(args), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ready[1]);
    std::string number;
    if (spawned != 0) {
        xserver = -1;
        xserverproblem = "Xvfb could not be started (scripts/install-deps installs it)";
    } else {
        pollfd wait{ready[0], POLLIN, 0};
        char byte = 0;
        while (poll(&wait, 1, 10000) == 1 && read(ready[0], &byte, 1) == 1 && byte != '\n')
            number += byte;
        if (number.empty())
            xserverproblem = "Xvfb did not report a display within 10 seconds";
    }
    close(ready[0]);
    return number.empty() ? std::string() : ":" + number;
}

void stopxserver()
{
    if (xserver <= 0)
        return;
    kill(xserver, SIGTERM);
    waitpid(xserver, nullptr, 0);
}

int printclipboard(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    std::fwrite(text.data(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--print-clipboard")
        return printclipboard(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const std::string display = startxserver();
    if (display.empty()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    startapplicationfortests(argc, argv);
    int status = RUN_ALL_TESTS();
    stopxserver();
    std::fflush(stdout);
    std::_Exit(status);
}
