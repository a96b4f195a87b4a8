#include "util/diagnostics.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <mutex>

#include "util/strings.h"

namespace {

std::mutex& writer_lock()
{
    static std::mutex lock;
    return lock;
}

// Guarded by writer_lock().
std::string* capture_buffer = nullptr;
bool capture_quiet = false;

void write_locked(std::string_view text)
{
    if (capture_buffer != nullptr) {
        capture_buffer->append(text);
        if (capture_quiet)
            return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

void diag_line(std::string_view line)
{
    std::string whole;
    whole.reserve(line.size() + 1);
    whole.append(line);
    whole.push_back('\n');
    std::lock_guard<std::mutex> hold(writer_lock());
    write_locked(whole);
}

void diag_text(std::string_view text)
{
    std::lock_guard<std::mutex> hold(writer_lock());
    write_locked(text);
}

std::string systemreason(int error)
{
    // The desktop sets the user's locale for the whole process; diagnostics
    // stay English.
    static const locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(0));
    if (english == locale_t(0))
        return "error " + std::to_string(error);
    return strerror_l(error, english);
}

DiagCapture::DiagCapture(bool quiet)
{
    std::lock_guard<std::mutex> hold(writer_lock());
    delete capture_buffer;
    capture_buffer = new std::string;
    capture_quiet = quiet;
}

DiagCapture::~DiagCapture()
{
    std::lock_guard<std::mutex> hold(writer_lock());
    delete capture_buffer;
    capture_buffer = nullptr;
    capture_quiet = false;
}

std::string DiagCapture::text() const
{
    std::lock_guard<std::mutex> hold(writer_lock());
    return capture_buffer != nullptr ? *capture_buffer : std::string();
}

std::vector<std::string> DiagCapture::lines() const
{
    std::vector<std::string> result = splitat(text(), '\n');
    if (result.back().empty())
        result.pop_back();  // nothing after the last line end
    return result;
}

void DiagCapture::clear()
{
    std::lock_guard<std::mutex> hold(writer_lock());
    if (capture_buffer != nullptr)
        capture_buffer->clear();
}
