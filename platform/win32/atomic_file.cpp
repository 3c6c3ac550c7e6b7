#include "platform/atomic_file.h"

#include "platform/win32/windows_headers.h"

#include <new>
#include <string>
#include <string_view>

namespace platform {
namespace {

std::string systemMessage(DWORD code)
{
    char *text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char *>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    if (text)
        LocalFree(text);
    while (!message.empty()
        && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

bool fail(std::string *error, const char *what, DWORD code)
{
    if (error)
        *error = std::string(what) + ": " + systemMessage(code);
    return false;
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// The temporary files made for `name` are named `name`.P-T-A.tmp: the process id, the tick
// count and the attempt, in decimal.
bool isTemporaryOf(std::string_view entry, std::string_view name)
{
    if (entry.size() <= name.size() + 1 || !entry.starts_with(name) || entry[name.size()] != '.')
        return false;
    std::string_view rest = entry.substr(name.size() + 1);
    if (!rest.ends_with(".tmp"))
        return false;
    rest.remove_suffix(4);
    int dashes = 0;
    std::size_t digits = 0;
    for (char c : rest) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '-' && digits > 0) {
            ++dashes;
            digits = 0;
        } else {
            return false;
        }
    }
    return dashes == 2 && digits > 0;
}

// Removes what an earlier save left behind when it was ended between creating its temporary
// file and moving it into place; nothing but files named as our temporary files are.
void removeLeftovers(const std::string &path)
{
    const std::size_t cut = path.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    WIN32_FIND_DATAA found {};
    HANDLE search = FindFirstFileA((path + ".*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            && isTemporaryOf(found.cFileName, name))
            DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

bool writeFileAtomically(
    const std::string &path, std::string_view bytes, std::string *error, Durability durability)
{
    // A write-protected file is not replaced: opened for writing in place it would refuse too,
    // and not every file system stops a rename over it.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return fail(error, "the file is write-protected", ERROR_ACCESS_DENIED);

    removeLeftovers(path);
    // The temporary file lies beside the target, so that the final move stays on one volume
    // and is a rename.
    std::string temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = path + "." + std::to_string(GetCurrentProcessId()) + "-"
            + std::to_string(GetTickCount()) + "-" + std::to_string(attempt) + ".tmp";
        file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (file == INVALID_HANDLE_VALUE)
        return fail(error, "cannot create a temporary file", GetLastError());

    const bool kept = durability == Durability::Kept;
    if (!writeAll(file, bytes) || (kept && !FlushFileBuffers(file))) {
        const DWORD code = GetLastError();
        CloseHandle(file);
        DeleteFileA(temporary.c_str());
        return fail(error, "cannot write the temporary file", code);
    }
    if (!CloseHandle(file)) {
        const DWORD code = GetLastError();
        DeleteFileA(temporary.c_str());
        return fail(error, "cannot close the temporary file", code);
    }
    // Refused for a target that is locked, which then keeps its old content.
    DWORD moveFlags = MOVEFILE_REPLACE_EXISTING;
    if (kept)
        moveFlags |= MOVEFILE_WRITE_THROUGH;
    if (!MoveFileExA(temporary.c_str(), path.c_str(), moveFlags)) {
        const DWORD code = GetLastError();
        DeleteFileA(temporary.c_str());
        return fail(error, "cannot replace the file", code);
    }
    return true;
}

bool regularFileOpens(const std::string &path)
{
    if (path.find('\0') != std::string::npos)
        return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool onDisk = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return onDisk;
}

FileRead readRegularFile(const std::string &path, std::string &bytes, std::size_t limit)
{
    bytes.clear();
    if (path.find('\0') != std::string::npos)
        return FileRead::Unreadable; // no file is named so; the name would be cut there
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                            : FileRead::Unreadable;
    }
    FileRead result = FileRead::Unreadable;
    LARGE_INTEGER size {};
    // Only a file on a disk is read: a pipe, a console or another device could wait forever.
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) && size.QuadPart >= 0
        && static_cast<unsigned long long>(size.QuadPart) <= limit) {
        try {
            bytes.reserve(static_cast<std::size_t>(size.QuadPart));
            char buffer[65536];
            for (;;) {
                DWORD got = 0;
                if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr))
                    break;
                if (got == 0) {
                    result = FileRead::Read;
                    break;
                }
                if (bytes.size() + got > limit)
                    break; // it grew while being read
                bytes.append(buffer, got);
            }
        } catch (const std::bad_alloc &) {
        }
    }
    CloseHandle(file);
    if (result != FileRead::Read)
        std::string().swap(bytes);
    return result;
}

bool readWholeFile(const std::string &path, std::string &bytes)
{
    return readRegularFile(path, bytes) == FileRead::Read;
}

} // namespace platform
