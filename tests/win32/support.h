#pragma once

// Helpers of the Windows tests: child processes, the registry as other programs see it, and
// files. Everything here calls the system directly, never the code under test.
#include "platform/win32/windows_headers.h"

#include <optional>
#include <string>
#include <vector>

namespace win32test {

/** This test executable's full path. */
std::string selfPath();

/** The command line that runs this executable with `arguments` (each quoted). */
std::string selfCommand(const std::vector<std::string> &arguments);

/** A started child process. The destructor kills it when it is still running. */
class Child
{
public:
    explicit Child(const std::string &commandLine);
    ~Child();
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    bool started() const { return m_process != nullptr; }
    HANDLE process() const { return m_process; }
    /** Waits for the end (at most `milliseconds`); the exit code, or nullopt on time-out. */
    std::optional<DWORD> wait(DWORD milliseconds);
    /** Ends the process at once, as a crash would, and waits for it to be gone. */
    void kill();

private:
    HANDLE m_process = nullptr;
};

/** Runs `commandLine`, waits for it (at most 60 s) and gives its standard output. */
struct RunResult
{
    bool ran = false;
    DWORD exitCode = 0;
    std::string output;
};
RunResult run(const std::string &commandLine);

/** What "reg query" (the system's own reg.exe) shows of one value: type name and text. */
struct RegQueryLine
{
    std::string type;
    std::string text;
};
std::optional<RegQueryLine> regQuery(const std::string &key, const std::string &name);

/** The raw data of a value read with the wide-character call, in bytes (UTF-16). */
std::optional<std::vector<unsigned char>> rawWideValue(
    const char *key, const char *name, DWORD *type);

/** The raw data of a value read with the ANSI call, as the program's own reads see it. */
std::optional<std::string> rawAnsiValue(const char *key, const char *name, DWORD *type);

/** Deletes the key below HKEY_CURRENT_USER with everything under it; no error if missing. */
void deleteUserKey(const char *key);

/** True when the key below HKEY_CURRENT_USER exists; `valueCount` gets its number of values. */
bool userKeyExists(const char *key, DWORD *valueCount = nullptr);

/** Stores a value below HKEY_CURRENT_USER the way another program would. */
void setRawValue(const char *key, const char *name, DWORD type, const void *data, DWORD size);

/** A fresh, empty folder under the system's temporary folder, ending in "\". */
std::string makeTempFolder(const std::string &name);

/** The whole content of a file, or nullopt when it cannot be read. */
std::optional<std::string> readFileBytes(const std::string &path);

/** Writes `bytes` as the whole file; false on failure. */
bool writeFileBytes(const std::string &path, const std::string &bytes);

} // namespace win32test
