#include "platform/paths.h"

#include "platform/common/xdg_folders.h"

#include <climits>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string executablePath()
{
    std::string buf(PATH_MAX, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buf.size()) {
            buf.resize(static_cast<size_t>(n));
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

std::string executableDirectory()
{
    const std::string path = executablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isDirectoryWritable(const std::string &directory)
{
    return !directory.empty() && ::access(directory.c_str(), W_OK | X_OK) == 0;
}

std::string userDataDirectory()
{
    const std::string base
        = xdgBaseFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), "/.local/share");
    if (base.empty())
        return {};
    const std::string folder = base + "/murelin/";
    for (size_t i = 1; i < folder.size(); ++i) {
        if (folder[i] == '/')
            ::mkdir(folder.substr(0, i).c_str(), 0700);
    }
    return folder;
}

const char *helpFileName()
{
    return "Murelin.html"; // no viewer here reads the older help format; a browser reads this
}

std::string dataFilePath(const std::string &name)
{
    const std::string beside = executableDirectory() + name;
    struct stat st
    {
    };
    if (::stat(beside.c_str(), &st) == 0)
        return beside;
    // MURELIN_DATA_FROM_BIN is the installed data folder relative to the installed program's
    // folder, "../share/murelin/" for the usual layout; each leading "../" takes one folder off.
    std::string folder = executableDirectory();
    std::string_view rest = MURELIN_DATA_FROM_BIN;
    while (rest.substr(0, 3) == "../" && folder.size() > 1) {
        folder.pop_back();
        folder.erase(folder.rfind('/') + 1);
        rest.remove_prefix(3);
    }
    return folder + std::string(rest) + name;
}

} // namespace platform
