#include "platform/paths.h"

#include "platform/win32/path_split.h"
#include "platform/win32/windows_headers.h"

#include <cstdlib>
#include <string>

namespace platform {

namespace win32 {

std::string directoryOf(std::string_view path)
{
    const auto last = path.find_last_of("\\:");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

} // namespace win32

std::string executablePath()
{
    // The name is cut to the buffer when it does not fit (and the result then equals the
    // buffer's size): grow until it fits, up to the longest path the system knows.
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length
            = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size() || buffer.size() >= 65536) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string executableDirectory()
{
    return win32::directoryOf(executablePath());
}

bool isDirectoryWritable(const std::string &directory)
{
    if (directory.empty())
        return false;
    // Creates and at once drops a file of a name no one else uses.
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        const std::string probe = directory + "murelin-probe-"
            + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-"
            + std::to_string(attempt) + ".tmp";
        HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

std::string userDataDirectory()
{
    const char *appData = std::getenv("APPDATA");
    if (!appData || !appData[0])
        return {};
    std::string folder = appData;
    if (folder.back() != '\\')
        folder += '\\';
    folder += "Murelin\\";
    CreateDirectoryA(folder.c_str(), nullptr); // an existing folder is fine
    return folder;
}

const char *helpFileName()
{
    return "Murelin.hlp";
}

std::string dataFilePath(const std::string &name)
{
    return executableDirectory() + name; // the help file sits beside the program
}

} // namespace platform
