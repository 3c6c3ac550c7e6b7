#include "platform/paths.h"

#include <climits>
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

} // namespace platform
