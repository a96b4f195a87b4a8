#include "menus/files.h"

#include "startup/tables.h"
#include "util/diagnostics.h"
#include "util/unicode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

namespace {

// "%41" -> "A". An escape without two hexadecimal digits stays as written.
std::string percentdecoded(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '%' && text.size() - pos >= 3) {
            const int64_t high = hexvaluetable[static_cast<uint8_t>(text[pos + 1])];
            const int64_t low = hexvaluetable[static_cast<uint8_t>(text[pos + 2])];
            if (high >= 0 && low >= 0) {
                result.push_back(static_cast<char>(high * 16 + low));
                pos += 2;
                continue;
            }
        }
        result.push_back(text[pos]);
    }
    return result;
}

void reportreaderror(const std::string& path, int error)
{
    diag_line("getbinaryfromfile: Error #" + std::to_string(error) + ": The file \"" + path +
              "\" could not be read: " + std::strerror(error) + ".");
}

// Reads to the end rather than trusting the size fstat reports: files that
// grow while being read, and special files that report 0, come out whole.
int readall(int descriptor, std::vector<uint8_t>& bytes)
{
    struct stat status {};
    if (fstat(descriptor, &status) != 0)
        return errno;
    if (S_ISDIR(status.st_mode))
        return EISDIR;
    bytes.reserve(static_cast<size_t>(std::max<off_t>(status.st_size, 0)));
    size_t used = 0;
    for (;;) {
        if (bytes.size() - used < 65536)
            bytes.resize(used + std::max<size_t>(65536, used / 2));
        const ssize_t got = read(descriptor, bytes.data() + used, bytes.size() - used);
        if (got == 0)
            break;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        used += static_cast<size_t>(got);
    }
    bytes.resize(used);
    bytes.shrink_to_fit();
    return 0;
}

}  // namespace

std::string urltopath(const std::string& url)
{
    const std::string path = unicode::nfc(percentdecoded(url));
    const std::string scheme = "file://";
    return path.starts_with(scheme) ? path.substr(scheme.size()) : path;
}

std::string filename(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<uint8_t> getbinaryfromfile(const std::string& path)
{
    // A path with a NUL byte would silently name a shorter one.
    if (path.find('\0') != std::string::npos) {
        reportreaderror(path.substr(0, path.find('\0')), EINVAL);
        return {};
    }
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        reportreaderror(path, errno);
        return {};
    }
    std::vector<uint8_t> bytes;
    int error = 0;
    try {
        error = readall(descriptor, bytes);
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    } catch (const std::length_error&) {
        error = ENOMEM;
    }
    // The data is used once (a font, a picture): leave no copy in the page
    // cache on its account.
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED);
    close(descriptor);
    if (error != 0) {
        reportreaderror(path, error);
        return {};
    }
    return bytes;
}

int writeall(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t done = write(descriptor, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            return errno;
        bytes.remove_prefix(static_cast<size_t>(done));
    }
    return 0;
}

int writewholefile(const std::string& path, std::string_view text)
{
    if (path.find('\0') != std::string::npos)
        return EINVAL;
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return errno;
    int error = writeall(descriptor, text);
    if (error == 0 && fsync(descriptor) != 0)
        error = errno;
    if (close(descriptor) != 0 && error == 0)
        error = errno;
    return error;
}
