#include "tests/win32/support.h"

#include <shlwapi.h>

#include <cstdio>

namespace win32test {

std::string selfPath()
{
    char buffer[32768];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length);
}

std::string selfCommand(const std::vector<std::string> &arguments)
{
    std::string line = "\"" + selfPath() + "\"";
    for (const std::string &argument : arguments)
        line += " \"" + argument + "\"";
    return line;
}

namespace {

HANDLE startProcess(const std::string &commandLine, HANDLE output)
{
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    PROCESS_INFORMATION info {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, output ? TRUE : FALSE, 0, nullptr,
            nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

} // namespace

Child::Child(const std::string &commandLine)
    : m_process(startProcess(commandLine, nullptr))
{
}

Child::~Child()
{
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
            kill();
        CloseHandle(m_process);
    }
}

std::optional<DWORD> Child::wait(DWORD milliseconds)
{
    if (!m_process || WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return code;
}

void Child::kill()
{
    if (!m_process)
        return;
    TerminateProcess(m_process, 99);
    WaitForSingleObject(m_process, 30000);
}

RunResult run(const std::string &commandLine)
{
    RunResult result;
    SECURITY_ATTRIBUTES inherit {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    HANDLE process = startProcess(commandLine, writeEnd);
    CloseHandle(writeEnd);
    if (!process) {
        CloseHandle(readEnd);
        return result;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        result.output.append(buffer, got);
    CloseHandle(readEnd);
    if (WaitForSingleObject(process, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &result.exitCode);
        result.ran = true;
    } else {
        TerminateProcess(process, 99);
    }
    CloseHandle(process);
    return result;
}

std::optional<RegQueryLine> regQuery(const std::string &key, const std::string &name)
{
    // reg.exe prints the key, then one line per value: four blanks, the name, four blanks,
    // the type, four blanks, the data.
    const RunResult result = run("reg.exe query \"HKCU\\" + key + "\" /v \"" + name + "\"");
    if (!result.ran || result.exitCode != 0)
        return std::nullopt;
    const std::string prefix = "    " + name + "    ";
    std::size_t start = 0;
    while (start < result.output.size()) {
        std::size_t end = result.output.find('\n', start);
        if (end == std::string::npos)
            end = result.output.size();
        std::string line = result.output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0) {
            const std::string rest = line.substr(prefix.size());
            const std::size_t gap = rest.find("    ");
            if (gap == std::string::npos)
                return RegQueryLine {rest, {}};
            return RegQueryLine {rest.substr(0, gap), rest.substr(gap + 4)};
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::vector<unsigned char>> rawWideValue(
    const char *key, const char *name, DWORD *type)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring wideName;
    for (const char *c = name; *c; ++c)
        wideName.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    DWORD size = 0;
    std::optional<std::vector<unsigned char>> result;
    if (RegQueryValueExW(handle, wideName.c_str(), nullptr, type, nullptr, &size)
        == ERROR_SUCCESS) {
        std::vector<unsigned char> data(size);
        if (RegQueryValueExW(handle, wideName.c_str(), nullptr, type, data.data(), &size)
            == ERROR_SUCCESS) {
            data.resize(size);
            result = std::move(data);
        }
    }
    RegCloseKey(handle);
    return result;
}

std::optional<std::string> rawAnsiValue(const char *key, const char *name, DWORD *type)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> result;
    char buffer[4096];
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(handle, name, nullptr, type, reinterpret_cast<BYTE *>(buffer), &size)
        == ERROR_SUCCESS)
        result = std::string(buffer, size);
    RegCloseKey(handle);
    return result;
}

void deleteUserKey(const char *key)
{
    SHDeleteKeyA(HKEY_CURRENT_USER, key);
}

bool userKeyExists(const char *key, DWORD *valueCount)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    if (valueCount) {
        *valueCount = 0;
        RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, valueCount,
            nullptr, nullptr, nullptr, nullptr);
    }
    RegCloseKey(handle);
    return true;
}

void setRawValue(const char *key, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
            nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name, 0, type, static_cast<const BYTE *>(data), size);
    RegCloseKey(handle);
}

std::string makeTempFolder(const std::string &name)
{
    char temp[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp, length) + name;
    std::string doomed = folder;
    doomed.push_back('\0');
    doomed.push_back('\0');
    SHFILEOPSTRUCTA operation {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = doomed.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationA(&operation);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::optional<std::string> readFileBytes(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool writeFileBytes(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileA(
        path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok
        = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

} // namespace win32test
