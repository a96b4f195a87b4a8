#include "menus/file_panels.h"

#include <functional>

#include "menus/files.h"
#include "platform/platform.h"
#include "util/clock.h"
#include "util/strings.h"

std::string openprompt = "Öffnen";
std::string chooseprompt = "Wählen";

namespace {

// Runs a panel for a caller on any thread: on the main thread at once,
// from elsewhere through the main thread's hand-off, after a short pause
// that lets the main thread finish what it is busy with (a menu closing, a
// key being handled) before the modal panel takes it over. When the
// application goes away first, the answer is empty.
std::string onmainthread(const std::function<std::string()>& panel)
{
    if (platform::on_main_thread())
        return panel();
    sleep_ms(20);
    std::string path;
    platform::run_on_main([&] { path = panel(); });
    return path;
}

}  // namespace

std::vector<std::string> openpanel(const std::string& title, const std::string& message,
                                   const std::string& fileTypes, bool multiple, bool files,
                                   bool folders)
{
    const std::vector<std::string> types =
        fileTypes.empty() ? std::vector<std::string>() : splitat(fileTypes, ',');
    const std::string& prompt = folders ? chooseprompt : openprompt;
    std::vector<std::string> paths;
    for (const std::string& url :
         platform::open_panel(prompt, title, message, types, multiple, files, folders))
        paths.push_back(urltopath(url));
    return paths;
}

std::string savepanel(const std::string& defaultName, const std::string& title,
                      const std::string& message, const std::string& fileTypes)
{
    const std::string url =
        platform::save_panel(defaultName, title, message, splitat(fileTypes, ','));
    return url.empty() ? std::string() : urltopath(url);
}

std::string openfile(const std::string& title, const std::string& message,
                     const std::string& fileTypes, bool files, bool folders)
{
    return onmainthread([=] {
        const std::vector<std::string> paths =
            openpanel(title, message, fileTypes, false, files, folders);
        return paths.empty() ? std::string() : paths.front();
    });
}

std::string savefile(const std::string& defaultName, const std::string& title,
                     const std::string& message, const std::string& fileTypes)
{
    return onmainthread([=] { return savepanel(defaultName, title, message, fileTypes); });
}
