// The application: creating it with its interface, the lifecycle calls of
// the delegate, and the event loop.
#include "frontends/qt/application.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QTimer>
#include <QTranslator>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/eventfd.h>
#include <unistd.h>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/composition.h"
#include "frontends/qt/interface.h"
#include "frontends/qt/port.h"
#include "frontends/qt/top_window.h"
#include "platform/main_thread.h"
#include "platform/platform.h"

namespace {

// Where the window system reports no decoration (offscreen, or a window
// that has never been mapped) a title bar is taken to be this high.
constexpr int64_t defaulttitlebarheight = 22;

// The main thread's hand-off queue is drained whenever its wake-up
// descriptor becomes readable.
void attachqueue(QApplication& application)
{
    attachmainthread();
    auto* notifier = new QSocketNotifier(mainthreadwakeup(), QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { runmainthreadqueue(); });
}

// The pasteboard window's frame height minus its scroll view's height
// minus the 20 points of margin around the scroll view.
int64_t measuretitlebarheight()
{
    const AppDelegate& delegate = appdelegate();
    const QWidget* window = delegate.PasteboardWindow;
    const QAbstractScrollArea* scroll = delegate.PasteboardScrollView;
    if (window == nullptr || scroll == nullptr)
        return defaulttitlebarheight;
    // The decoration's share of the frame, which the window system knows
    // only once it has framed the window.
    if (window->frameGeometry().height() == window->geometry().height())
        return defaulttitlebarheight;
    return int64_t(window->frameGeometry().height() - scroll->height() - 20);
}

// The program speaks German, whatever the desktop's language: so do Qt's
// own dialogs and standard buttons, where the translations are installed.
void speakgerman(QApplication& application)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

void setupapplication(QApplication& application)
{
    platform::install(qtport());
    speakgerman(application);
    watchnativekeys(application);
    application.setApplicationName(QString::fromStdString(platform::application_name()));
    QGuiApplication::setDesktopFileName(QStringLiteral(SPRECHO_APP_ID));
    application.setQuitOnLastWindowClosed(false);
    const std::string icon = platform::resource_directory() + "/sprecho.png";
    if (std::filesystem::exists(icon))
        application.setWindowIcon(QIcon(QString::fromStdString(icon)));
    attachqueue(application);
    buildinterface();
    AppDelegate& delegate = appdelegate();
    QObject::connect(&application, &QGuiApplication::applicationStateChanged, &application,
                     [&delegate](Qt::ApplicationState state) { delegate.applicationStateChanged(state); });
}

// Written by the signal handler, watched by the main thread.
int quitrequest = -1;

void requestquit(int)
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(quitrequest, &one, sizeof one);
}

// A request to end from outside (SIGTERM at logout or shutdown, SIGINT from
// Control+C in a terminal, SIGHUP when the terminal goes) ends the
// application as Beenden does, so the terminate handler runs and the
// program can finish what it keeps on disk.
void quitonsignals(QApplication& application)
{
    quitrequest = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (quitrequest < 0)
        return;
    auto* notifier = new QSocketNotifier(quitrequest, QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t got = read(quitrequest, &count, sizeof count);
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = requestquit;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool isset(const char* value)
{
    return value != nullptr && *value != '\0';
}

// The platforms Qt would try, by name ("wayland;xcb", "vnc:size=800x600").
bool needsdisplay(const std::string& platforms)
{
    if (platforms.empty())
        return true;
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(platforms.find(';', start), platforms.size());
        const std::string entry = platforms.substr(start, end - start);
        const std::string name = entry.substr(0, entry.find(':'));
        if (name != "xcb" && name.rfind("wayland", 0) != 0)
            return false;
        if (end == platforms.size())
            return true;
        start = end + 1;
    }
}

}  // namespace

std::string missingdisplay(const char* display, const char* waylanddisplay, const char* qpaplatform)
{
    const std::string platforms = qpaplatform != nullptr ? qpaplatform : "";
    if (isset(display) || isset(waylanddisplay) || !needsdisplay(platforms))
        return {};
    return "sprecho: No X11 or Wayland display found: DISPLAY and WAYLAND_DISPLAY are not set, "
           "QT_QPA_PLATFORM " +
           (platforms.empty() ? std::string("is not set.") : "is \"" + platforms + "\".");
}

std::string missingdisplay()
{
    return missingdisplay(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                          std::getenv("QT_QPA_PLATFORM"));
}

int runapplication(int argc, char** argv)
{
    QApplication application(argc, argv);
    setupapplication(application);
    quitonsignals(application);
    AppDelegate& delegate = appdelegate();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &application, [&delegate] {
        delegate.applicationWillTerminate();
        detachmainthread();
    });
    delegate.applicationWillFinishLaunching();
    // Launching has finished once the event loop runs.
    QTimer::singleShot(0, &application, [&delegate] { delegate.applicationDidFinishLaunching(); });
    const int status = application.exec();
    detachmainthread();
    destroyinterface();
    return status;
}

// exit, not quit: quit would first ask every window to close, and ours only
// hide themselves.
void quitapplication()
{
    QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void startapplicationfortests(int& argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Lives until the process ends, as the real program's application does.
    static QApplication* application = new QApplication(argc, argv);
    setupapplication(*application);
}

void addapplication(platform::Port& port)
{
    port.measure_title_bar_height = measuretitlebarheight;
}
