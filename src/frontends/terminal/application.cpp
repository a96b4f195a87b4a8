// The terminal front-end's start, event loop and end.
//
// One thread owns the terminal (the main thread of the hand-off queue): it
// waits in poll() for the terminal's input, for work handed over by the
// runtime's threads (the refresh thread's marks among it) and for signals,
// and draws after each round in which something was marked.
#include "frontends/terminal/terminal.h"

#include <curses.h>

#include <cerrno>
#include <csignal>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "frontends/terminal/restore.h"
#include "frontends/terminal/session.h"
#include "frontends/terminal/terminfo.h"
#include "platform/entry_points.h"
#include "platform/main_thread.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

namespace {

// Key codes for the start and end of a bracketed paste (beyond the
// library's own codes).
constexpr int pastebegin = KEY_MAX + 1;
constexpr int pasteend = KEY_MAX + 2;
// Escape alone is told from the start of a key's sequence after this long.
constexpr int escapedelayms = 25;
constexpr auto notetime = std::chrono::seconds(4);

// Characters come as UTF-8; the terminal library decodes them only in a
// UTF-8 locale.
void useutf8()
{
    std::setlocale(LC_CTYPE, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The directory for the diagnostic lines: $XDG_STATE_HOME/sprecho, by
// default ~/.local/state/sprecho.
std::string statedirectory()
{
    std::string base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/')
        base = state;
    else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        base = std::string(home) + "/.local/state";
    else
        return {};
    return base + "/sprecho";
}

bool makedirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// Diagnostic lines (standard output) and anything on standard error would
// land between the cells drawn on the same terminal: while the front-end
// runs they go to a file instead, fresh for every run.
void movediagnostics(Session& s)
{
    const bool out = isatty(STDOUT_FILENO) != 0;
    const bool err = isatty(STDERR_FILENO) != 0;
    if (!out && !err)
        return;
    std::fflush(stdout);
    std::fflush(stderr);
    const std::string directory = statedirectory();
    int file = -1;
    if (!directory.empty() && makedirectories(directory)) {
        s.diagnosticspath = directory + "/diagnostics.log";
        file = open(s.diagnosticspath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    }
    if (file < 0) {
        s.diagnosticspath.clear();
        file = open("/dev/null", O_WRONLY | O_CLOEXEC);
    }
    if (file < 0)
        return;
    if (out)
        dup2(file, STDOUT_FILENO);
    if (err)
        dup2(file, STDERR_FILENO);
    close(file);
}

// The terminal descriptions of terminals that take 24-bit colour are named
// like "xterm-direct" beside "xterm-256color".
std::string directvariant(const std::string& term)
{
    const size_t dash = term.find('-');
    return term.substr(0, dash) + "-direct";
}

std::string resetsequence()
{
    std::string reset;
    for (const char* name : {"BD", "sgr0", "op", "cnorm", "rmkx", "rmcup"})
        if (const char* value = terminfostring(name))
            reset += value;
    // Padding ("$<5>") is for the library to turn into delays, not to send.
    for (size_t at = reset.find("$<"); at != std::string::npos; at = reset.find("$<", at)) {
        const size_t end = reset.find('>', at);
        if (end == std::string::npos)
            break;
        reset.erase(at, end - at + 1);
    }
    return reset;
}

SCREEN* openterminal(Session& s, FILE* output, FILE* input)
{
    const char* term = std::getenv("TERM");
    std::string name = term != nullptr && term[0] != '\0' ? term : "xterm";
    const bool direct = saysdirectcolour(std::getenv("COLORTERM"));
    if (direct && terminfoknows(directvariant(name), s.outputfd))
        name = directvariant(name);
    SCREEN* screen = newterm(name.c_str(), output, input);
    if (screen == nullptr)
        return nullptr;
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(escapedelayms);
    curs_set(0);
    if (has_colors()) {
        start_color();
        use_default_colors();
        s.depth = colourdepthof(COLORS, terminfoflag("RGB"));
    }
    s.modified = modifiedkeys();
    s.clipboardescape = terminfostring("Ms") != nullptr;
    const char* begin = terminfostring("PS");
    const char* end = terminfostring("PE");
    if (const char* enable = terminfostring("BE"); enable != nullptr && begin != nullptr && end != nullptr) {
        define_key(begin, pastebegin);
        define_key(end, pasteend);
        terminfoput(enable, s.outputfd);
    }
    setresetsequence(resetsequence());
    return screen;
}

void closeterminal(SCREEN* screen, int fd)
{
    refresh();
    terminfoput(terminfostring("BD"), fd);
    endwin();
    delscreen(screen);
    terminalrestored();
}

// ---- Keys ------------------------------------------------------------------------

// The pasted text goes where Control+V puts the clipboard's: its first
// line into the line editor, where it never ends or cancels the line.
void finishpaste(Session& s)
{
    s.pasting = false;
    viewPaste(0, s.pasted);
    s.pasted.clear();
}

void openlog(Session& s, bool open)
{
    s.logopen = open;
    s.log = LogView{};
    forgetshown();
    s.viewmarked = true;
}

void copytext()
{
    // The menu item's tag chooses the runtime's copy command.
    t_MenuEventHandler(t_MenuItemInfo{true, "Bearbeiten", "Text kopieren", "c", optionflag, 111});
}

// Keys while the log is shown scroll it or close it; none reaches the program.
void logkey(Session& s, const KeyResult& result)
{
    if (result.action == KeyAction::showlog || result.press.Characters == "\x1B") {
        openlog(s, false);
        return;
    }
    const int total = int(logrows(textviewrecord(printerwindow)->text, COLS).size());
    const int visible = std::max(LINES - 2, 1);
    static const std::pair<int64_t, LogScroll> scrolls[] = {
        {namedkeycode(t_NamedKey::up), LogScroll::lineup},
        {namedkeycode(t_NamedKey::down), LogScroll::linedown},
        {namedkeycode(t_NamedKey::pageup), LogScroll::pageup},
        {namedkeycode(t_NamedKey::pagedown), LogScroll::pagedown},
        {namedkeycode(t_NamedKey::home), LogScroll::top},
        {namedkeycode(t_NamedKey::end), LogScroll::bottom},
    };
    for (const auto& [code, scroll] : scrolls)
        if (result.press.KeyCode == code) {
            scrolllog(s.log, scroll, total, visible);
            s.logmarked = true;
        }
}

void handlekey(Session& s, const TerminalKey& key)
{
    if (key.iskeycode && key.value == pastebegin) {
        s.pasting = true;
        s.pasted.clear();
        return;
    }
    if (key.iskeycode && key.value == pasteend) {
        finishpaste(s);
        return;
    }
    if (s.pasting) {
        if (!key.iskeycode)
            s.pasted += unicode::encode(char32_t(key.value));
        return;
    }
    const KeyResult result = translatekey(key, s.modified);
    if (result.action == KeyAction::quit) {
        s.quitting = true;
    } else if (result.action == KeyAction::copytext) {
        copytext();
    } else if (s.logopen) {
        logkey(s, result);
    } else if (result.action == KeyAction::showlog) {
        openlog(s, true);
    } else if (result.action == KeyAction::press) {
        viewKeyDown(0, result.press);
        viewKeyUp();
    }
}

void resize(Session& s)
{
    winsize size{};
    if (ioctl(s.outputfd, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
        resize_term(size.ws_row, size.ws_col);
    clearok(curscr, TRUE);
    forgetshown();
    s.viewmarked = true;
}

// Everything the terminal has sent. Escape followed at once by another key
// is that key with Alt.
void readkeys(Session& s)
{
    for (;;) {
        wint_t value = 0;
        const int got = get_wch(&value);
        if (got == ERR)
            return;
        TerminalKey key{got == KEY_CODE_YES, int(value), false};
        if (key.iskeycode && key.value == KEY_RESIZE) {
            resize(s);
            continue;
        }
        if (!key.iskeycode && key.value == 0x1B && !s.pasting) {
            wint_t next = 0;
            const int follow = get_wch(&next);
            if (follow != ERR) {
                key = TerminalKey{follow == KEY_CODE_YES, int(next), true};
                if (key.iskeycode && key.value == KEY_RESIZE) {
                    resize(s);
                    key = TerminalKey{false, 0x1B, false};
                }
            }
        }
        handlekey(s, key);
    }
}

void handlesignals(Session& s)
{
    while (const int number = nextsignal()) {
        if (number == SIGWINCH) {
            resize(s);
        } else {
            s.quitting = true;
            s.endsignal = number;
        }
    }
}

void runloop(Session& s, int signals)
{
    while (!s.quitting) {
        pollfd watched[3] = {{s.inputfd, POLLIN, 0}, {mainthreadwakeup(), POLLIN, 0}, {signals, POLLIN, 0}};
        int timeout = -1;
        if (!s.note.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                s.noteuntil - std::chrono::steady_clock::now());
            timeout = int(std::max<int64_t>(left.count(), 0)) + 1;
        }
        if (poll(watched, 3, timeout) < 0 && errno != EINTR)
            break;
        if (watched[2].revents != 0)
            handlesignals(s);
        if (watched[1].revents != 0)
            runmainthreadqueue();
        if ((watched[0].revents & POLLIN) != 0)
            readkeys(s);
        else if ((watched[0].revents & (POLLHUP | POLLERR)) != 0)
            s.quitting = true;  // the terminal has gone
        if (!s.note.empty() && std::chrono::steady_clock::now() >= s.noteuntil) {
            s.note.clear();
            s.viewmarked = true;
        }
        if (s.viewmarked || (s.logmarked && s.logopen))
            render();
    }
}

// The terminal to draw on and read from: standard output and input where
// they are one, else the process's controlling terminal.
bool chooseterminal(Session& s, FILE*& output, FILE*& input)
{
    const int tty = open("/dev/tty", O_RDWR | O_CLOEXEC);
    const int out = isatty(STDOUT_FILENO) ? fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3) : tty >= 0 ? dup(tty) : -1;
    const int in = isatty(STDIN_FILENO) ? fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3) : tty >= 0 ? dup(tty) : -1;
    if (tty >= 0)
        close(tty);
    if (out < 0 || in < 0) {
        if (out >= 0)
            close(out);
        if (in >= 0)
            close(in);
        return false;
    }
    s.outputfd = out;
    s.inputfd = in;
    output = fdopen(out, "w");
    input = fdopen(in, "r");
    return output != nullptr && input != nullptr;
}

}  // namespace

Session& session()
{
    static Session s;
    return s;
}

void shownote(const std::string& text)
{
    Session& s = session();
    s.note = text;
    s.noteuntil = std::chrono::steady_clock::now() + notetime;
    s.viewmarked = true;
    s.logmarked = true;
}

bool terminalavailable()
{
    return isatty(STDIN_FILENO) != 0 && isatty(STDOUT_FILENO) != 0;
}

int runterminal()
{
    Session& s = session();
    FILE* output = nullptr;
    FILE* input = nullptr;
    if (!chooseterminal(s, output, input)) {
        diag_line("runterminal: No terminal to run in.");
        return 1;
    }
    useutf8();
    const int signals = guardterminal(s.outputfd);
    SCREEN* screen = openterminal(s, output, input);
    if (screen == nullptr) {
        restoreterminal();
        diag_line("runterminal: The terminal cannot be used (TERM unknown or too limited).");
        return 1;
    }
    movediagnostics(s);
    platform::install(terminalport());
    attachmainthread();
    diag_line("applicationWillFinishLaunching: Called.");
    render();
    launchwork();
    runloop(s, signals);
    applicationwillterminate();
    detachmainthread();
    closeterminal(screen, s.outputfd);
    return s.endsignal != 0 ? 128 + s.endsignal : 0;
}
