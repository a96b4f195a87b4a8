// What the views cost the person and the machine, with the real program's
// conversation running on the offscreen platform:
// - the time from a key press delivered to view 0 (a Qt key event) until
//   the view has painted the typed character, over a few hundred keys;
// - the CPU used and the images converted while the program idles at its
//   prompt, and the images converted while it echoes ten keys: window
//   visible, minimised, minimised with Alle Fenster ausblenden, and hidden
//   (window 0 hidden while the log window stays shown, since hiding the
//   last window ends the program).
//   sprecho_view_costs [keys] [seconds] [screen width x height]
// The screen is 1920 x 1200 unless given: there the window shows its
// 1280 x 800 pixels one to one; on 1366 x 768 it is fitted and the view
// scales the image down, filtered.
// Keys follow each other 50 to 250 ms apart, at random, as typing does:
// a pause much longer than the 33 ms refresh period lets a key fall
// anywhere within the period (a short pause after each painted key would
// put the next key early in the period and wait longer than typing does).
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>
#include <unistd.h>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/application.h"
#include "frontends/qt/graphic_views.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/top_window.h"
#include "input/key_events.h"
#include "util/diagnostics.h"
#include "windows/video_memory.h"
#include "windows/window_placement.h"
#include "windows/window_table.h"

namespace {

// Counts the drawing passes of the graphic views: each converts the
// window's pixels into an image once.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

double cpuseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Turns the event loop until `done` answers true; false after `ms`. A
// timer of its own wakes the loop at the end, and every `poll` ms while
// `done` waits for another thread.
template <typename Done>
bool turnuntil(Done done, int ms = 10000, int poll = 1)
{
    QElapsedTimer timer;
    timer.start();
    // Precise: a coarse timer's wake-ups fall in with the refresh thread's
    // hand-offs, and every key would then arrive just after a refresh pass.
    QTimer wake;
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(poll);
    while (!done()) {
        if (timer.elapsed() >= ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Turns the event loop for `ms` ms, woken only by what happens in it.
void turnfor(int ms)
{
    turnuntil([] { return false; }, ms, ms);
}

void sendkey(QWidget* view, int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QCoreApplication::sendEvent(view, &event);
    }
}

// The program waits in the line editor for a key.
bool waitingforkey()
{
    return windowtable[0].TextCursorLevel == 1 && keyqueuelength() == 0;
}

uint8_t cellcode(const t_Window& w, int64_t column, int64_t line)
{
    return videomemory[w.TextMemoryStart + (line - 1) * w.TextWidth + (column - 1)];
}

// Whether the image view 0 painted last shows the cell (column, line) as
// its pixels are in video memory now.
bool shows(const GraphicView* view, int64_t column, int64_t line)
{
    const WindowImage* image = view->shownimage();
    const t_Window& w = windowtable[0];
    if (image == nullptr || image->Width != w.Width)
        return false;
    const int64_t cellwidth = w.Font.Width, cellheight = w.Font.Height;
    for (int64_t y = (line - 1) * cellheight; y < line * cellheight; ++y)
        for (int64_t x = (column - 1) * cellwidth; x < column * cellwidth; ++x) {
            const uint8_t* pixel = &videomemory[w.MemoryStart + 3 * (y * w.Width + x)];
            const uint32_t expected = 0xFF000000u | uint32_t(pixel[0]) << 16 | uint32_t(pixel[1]) << 8 | pixel[2];
            if (image->Pixels[size_t(y * image->Width + x)] != expected)
                return false;
        }
    return true;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size())));
    return values[index];
}

struct Keystroke {
    double echoed;   // ms until the program has drawn the character into video memory
    double painted;  // ms until the view has painted it
};

std::vector<Keystroke> keystrokes(GraphicView* view, int count)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pause(50, 250);
    std::vector<Keystroke> strokes;
    const int64_t linestart = windowtable[0].TextHpos;
    for (int k = 0; k < count; ++k) {
        if (windowtable[0].TextHpos >= linestart + 40) {
            sendkey(view, Qt::Key_Z, Qt::ControlModifier, QString());  // clears the line
            if (!turnuntil([&] { return waitingforkey() && windowtable[0].TextHpos == linestart; }))
                break;
        }
        turnfor(pause(random));
        if (!turnuntil(waitingforkey))
            break;
        const int64_t column = windowtable[0].TextHpos, line = windowtable[0].TextVpos;
        const char letter = char('a' + k % 26);
        QElapsedTimer timer;
        timer.start();
        sendkey(view, Qt::Key_A + k % 26, Qt::NoModifier, QString(QChar(letter)));
        double echoed = -1;
        const bool painted = turnuntil([&] {
            const t_Window& w = windowtable[0];
            if (w.TextHpos != column + 1 || cellcode(w, column, line) != uint8_t(letter))
                return false;
            if (echoed < 0)
                echoed = double(timer.nsecsElapsed()) * 1e-6;
            return shows(view, column, line);
        });
        if (!painted) {
            std::fprintf(stderr, "view_costs: key %d was not painted within 10 s\n", k);
            break;
        }
        strokes.push_back({echoed, double(timer.nsecsElapsed()) * 1e-6});
    }
    return strokes;
}

// The program at its prompt for `seconds`, then ten keys typed into view 0
// (which reaches it even out of sight): the pixels change, and only a view
// that is seen should convert them.
void idle(const char* state, int seconds, GraphicView* view, const PaintCounter& counter)
{
    turnfor(500);  // what the change itself draws is not idling
    int paints = counter.paints;
    const double cpu = cpuseconds();
    QElapsedTimer timer;
    timer.start();
    turnfor(seconds * 1000);
    const double wall = double(timer.nsecsElapsed()) * 1e-9;
    std::printf("idle %d s, %s: %.2f %% of one core, %d image conversions", seconds, state,
                100 * (cpuseconds() - cpu) / wall, counter.paints - paints);
    paints = counter.paints;
    const int64_t column = windowtable[0].TextHpos;
    for (int k = 0; k < 10; ++k) {
        sendkey(view, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        turnfor(50);
    }
    turnuntil([&] { return windowtable[0].TextHpos == column + 10; });
    turnfor(200);
    std::printf("; 10 keys typed: %d image conversions\n", counter.paints - paints);
    sendkey(view, Qt::Key_Z, Qt::ControlModifier, QString());
}

QAction* menuitem(int64_t tag)
{
    for (QMenu* menu : appdelegate().menus)
        for (QAction* action : menu->actions())
            if (action->data().toLongLong() == tag)
                return action;
    return nullptr;
}

// An offscreen platform with one screen of the given size ("1366x768"),
// described in the file whose name is returned.
std::string offscreenscreen(const std::string& size)
{
    int width = 1920, height = 1200;
    std::sscanf(size.c_str(), "%dx%d", &width, &height);
    const std::string path = "/tmp/sprecho-view-costs-" + std::to_string(getpid()) + ".json";
    if (FILE* file = std::fopen(path.c_str(), "w")) {
        std::fprintf(file,
                     "{\"screens\": [{\"name\": \"Screen\", \"x\": 0, \"y\": 0, \"width\": %d, "
                     "\"height\": %d, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n",
                     width, height);
        std::fclose(file);
    }
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).c_str(), 1);
    return path;
}

}  // namespace

int main(int argc, char** argv)
{
    const int keys = argc > 1 ? std::atoi(argv[1]) : 300;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::string screen = offscreenscreen(argc > 3 ? argv[3] : "1920x1200");
    int qtargc = 1;
    startapplicationfortests(qtargc, argv);
    std::remove(screen.c_str());
    DiagCapture quiet;  // the program's diagnostics are not the figures
    appdelegate().applicationDidFinishLaunching();

    GraphicView* view = appdelegate().t_View00;
    PaintCounter counter;
    for (int n = 0; n < graphicwindowcount; ++n)
        appdelegate().view(n)->installEventFilter(&counter);
    if (!turnuntil([&] { return waitingforkey() && view->shownimage() != nullptr; }, 20000)) {
        std::fprintf(stderr, "view_costs: the program did not reach its prompt\n");
        return 1;
    }

    const std::vector<Keystroke> strokes = keystrokes(view, keys);
    quiet.clear();
    if (strokes.empty())
        return 1;
    std::vector<double> painted, echoed;
    for (const Keystroke& stroke : strokes) {
        painted.push_back(stroke.painted);
        echoed.push_back(stroke.echoed);
    }
    std::printf("screen %d x %d, view %d x %d, image %s\n", view->screen()->geometry().width(),
                view->screen()->geometry().height(), view->width(), view->height(),
                view->imagegeometry().mode == ScaleMode::nearest ? "sharp" : "filtered");
    std::printf("key press to painted character, %zu keys: median %.1f ms, 90th percentile %.1f ms, "
                "99th percentile %.1f ms, longest %.1f ms\n",
                painted.size(), percentile(painted, 0.5), percentile(painted, 0.9), percentile(painted, 0.99),
                percentile(painted, 1.0));
    std::printf("  of which key press to character in video memory: median %.1f ms, 99th percentile %.1f ms\n",
                percentile(echoed, 0.5), percentile(echoed, 0.99));
    sendkey(view, Qt::Key_Z, Qt::ControlModifier, QString());

    idle("window visible", seconds, view, counter);
    for (int n = 0; n < graphicwindowcount; ++n)
        if (QWidget* window = appdelegate().view(n)->window(); window->isVisible())
            window->showMinimized();
    idle("windows minimised", seconds, view, counter);
    view->window()->showNormal();
    if (QAction* hideall = menuitem(200))
        hideall->trigger();
    idle("windows minimised by Alle Fenster ausblenden", seconds, view, counter);
    view->window()->showNormal();
    appdelegate().VirtualPrinterWindow->showNormal();
    t_WindowVisible(0, false);
    idle("window 0 hidden, the log shown", seconds, view, counter);
    quiet.clear();
    std::fflush(stdout);
    std::_Exit(0);
}
