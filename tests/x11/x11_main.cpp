// Test main for tests on a real X server: starts a virtual X server of its
// own with a German keyboard layout, then the desktop on it (the xcb
// platform), so that the tests can press real key codes through the XTEST
// extension and talk to the clipboard as other programs do. Where Xvfb
// cannot start, the tests skip and say why.
//
// Run as "x11_tests --print-clipboard" it is instead a second X client
// that prints the clipboard's text, as any other program would paste it.
#include <gtest/gtest.h>

#include <signal.h>

#include <QClipboard>
#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontends/qt/application.h"
#include "platform/platform.h"
#include "support/program_thread.h"
#include "support/runtime_reset.h"
#include "windows/window_table.h"
#include "x11/x11_server.h"

std::string xserverproblem;

bool focusview(QWidget* view)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    const auto focused = [&] {
        ::Window window = 0;
        int revert = 0;
        XGetInputFocus(display, &window, &revert);
        return window == ::Window(view->window()->winId()) && view->window()->focusWidget() == view;
    };
    // The window manager would also make the window the active one.
    const bool done = pump_until([&] {
        if (!focused() && view->window()->isVisible()) {
            XSetInputFocus(display, ::Window(view->window()->winId()), RevertToParent, CurrentTime);
            XFlush(display);
            view->setFocus();
        }
        if (focused() && QApplication::activeWindow() != view->window())
            QApplication::setActiveWindow(view->window());
        return focused() && QApplication::activeWindow() == view->window();
    }, 5000);
    XCloseDisplay(display);
    return done;
}

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
    const int server = GTEST_FLAG_GET(list_tests) ? 0 : startserver();  // listing needs no server
    if (!xserverproblem.empty())
        std::fprintf(stderr, "x11_tests: %s\n", xserverproblem.c_str());
    setenv("QT_QPA_PLATFORM", server != 0 ? "xcb" : "offscreen", 1);
    startapplicationfortests(argc, argv);
    titlebarheight = platform::measure_title_bar_height();
    installruntimereset();
    const int status = RUN_ALL_TESTS();
    if (server != 0)
        kill(server, SIGTERM);
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}
