#include "frontends/terminal/terminfo.h"

#include <curses.h>
#include <term.h>
#include <unistd.h>

#include <cstdio>

const char* terminfostring(const char* name)
{
    char* value = tigetstr(name);
    return value == nullptr || value == reinterpret_cast<char*>(-1) ? nullptr : value;
}

bool terminfoflag(const char* name)
{
    return tigetflag(name) > 0;
}

bool terminfoknows(const std::string& term, int fd)
{
    int error = 0;
    TERMINAL* saved = cur_term;
    const bool known = setupterm(term.c_str(), fd, &error) == OK && error == 1;
    if (cur_term != saved) {
        del_curterm(cur_term);
        set_curterm(saved);
    }
    return known;
}

std::string terminfoformat(const char* name, const char* first, const char* second)
{
    const char* value = terminfostring(name);
    if (value == nullptr)
        return {};
    const char* filled = tiparm(value, first, second);
    return filled != nullptr ? filled : std::string();
}

namespace {

int outputfd = -1;  // where terminfoput's characters go (main thread only)

int putbyte(int byte)
{
    const char c = char(byte);
    return write(outputfd, &c, 1) == 1 ? byte : EOF;
}

}  // namespace

void terminfoput(const char* value, int fd)
{
    if (value == nullptr)
        return;
    outputfd = fd;
    tputs(value, 1, putbyte);
}
