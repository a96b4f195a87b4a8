// Where the program finds its resources, and its name.
#include <unistd.h>

#include <array>
#include <filesystem>

#include "platform/platform.h"

namespace platform {

std::string application_name()
{
    return "Sprecho";
}

// bin/sprecho and share/sprecho/ sit side by side in the build tree and in
// an installed prefix alike. /proc/self/exe works before any application
// object exists (unit tests).
std::string resource_directory()
{
    std::array<char, 4096> path{};
    const ssize_t size = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (size <= 0)
        return "share/sprecho";
    const std::filesystem::path executable(std::string(path.data(), size_t(size)));
    return (executable.parent_path().parent_path() / "share" / "sprecho").string();
}

}  // namespace platform
