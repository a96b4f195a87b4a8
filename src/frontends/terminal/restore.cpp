#include "frontends/terminal/restore.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Written once before the handlers are installed; read by them.
int terminalfd = -1;
termios saved{};
char reset[512];
size_t resetlength = 0;
int signalpipe[2] = {-1, -1};

std::atomic<bool> guarding = false;
std::atomic<int> pendingquits = 0;

constexpr int passedsignals[] = {SIGINT, SIGTERM, SIGHUP, SIGWINCH};
constexpr int crashsignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void writeall(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written <= 0)
            return;
        data += written;
        size -= size_t(written);
    }
}

void passsignal(int number)
{
    const int keep = errno;
    if (number != SIGWINCH && pendingquits.fetch_add(1) >= 1) {
        // The event loop has not ended the program after the first one.
        restoreterminal();
        _exit(128 + number);
    }
    const char byte = char(number);
    if (signalpipe[1] >= 0)
        [[maybe_unused]] ssize_t written = write(signalpipe[1], &byte, 1);
    errno = keep;
}

void crash(int number)
{
    restoreterminal();
    // SA_RESETHAND has put the default action back: raise it again.
    raise(number);
}

void atexitrestore()
{
    restoreterminal();
}

}  // namespace

int guardterminal(int fd)
{
    terminalfd = fd;
    tcgetattr(fd, &saved);
    if (pipe2(signalpipe, O_CLOEXEC | O_NONBLOCK) != 0)
        signalpipe[0] = signalpipe[1] = -1;
    guarding = true;

    struct sigaction pass {};
    pass.sa_handler = passsignal;
    sigemptyset(&pass.sa_mask);
    pass.sa_flags = SA_RESTART;
    for (int number : passedsignals)
        sigaction(number, &pass, nullptr);
    struct sigaction fatal {};
    fatal.sa_handler = crash;
    sigemptyset(&fatal.sa_mask);
    fatal.sa_flags = SA_RESETHAND | SA_NODEFER;
    for (int number : crashsignals)
        sigaction(number, &fatal, nullptr);
    static bool registered = false;
    if (!registered)
        registered = std::atexit(atexitrestore) == 0;
    return signalpipe[0];
}

void setresetsequence(const std::string& sequence)
{
    // Not while a handler might read it.
    const bool was = guarding.exchange(false);
    resetlength = std::min(sequence.size(), sizeof reset);
    std::memcpy(reset, sequence.data(), resetlength);
    guarding = was;
}

int nextsignal()
{
    char byte = 0;
    if (signalpipe[0] < 0 || read(signalpipe[0], &byte, 1) != 1)
        return 0;
    return byte;
}

void restoreterminal()
{
    if (!guarding.exchange(false))
        return;
    writeall(terminalfd, reset, resetlength);
    tcsetattr(terminalfd, TCSADRAIN, &saved);
}

void terminalrestored()
{
    guarding = false;
}
