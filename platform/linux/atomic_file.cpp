#include "platform/atomic_file.h"
#include "platform/linux/regular_file.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string nameOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path names once its symbolic links are followed: the link's target, relative
// to the link's own folder. A dangling link gives the path the file will be created at.
bool followLinks(std::string &path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st
        {
        };
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string target(4096, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<size_t>(n) >= target.size())
            return false;
        target.resize(static_cast<size_t>(n));
        path = target.starts_with('/') ? target : folderOf(path) + target;
    }
    errno = ELOOP;
    return false;
}

constexpr std::string_view TemporaryMark = ".murelin-";
constexpr size_t TemporaryTail = 6;

// The temporary files of `name` are named `name`.murelin-XXXXXX, six letters or digits.
bool isTemporaryOf(std::string_view entry, std::string_view name)
{
    if (entry.size() != name.size() + TemporaryMark.size() + TemporaryTail
        || !entry.starts_with(name)
        || entry.substr(name.size(), TemporaryMark.size()) != TemporaryMark)
        return false;
    for (char c : entry.substr(entry.size() - TemporaryTail)) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// Removes what an earlier save left behind when it was killed between creating its
// temporary file and renaming it: regular files of ours named as our temporary files are.
void removeLeftovers(const std::string &folder, const std::string &name)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name))
            continue;
        struct stat st
        {
        };
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Creates a new temporary file for `path` beside it with `mode` (the umask applies).
int createTemporary(const std::string &path, mode_t mode, std::string &name)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + std::string(TemporaryMark);
        for (size_t i = 0; i < TemporaryTail; ++i)
            name += letters[random() % (sizeof letters - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool writeFileAtomically(
    const std::string &path, std::string_view bytes, std::string *error, Durability durability)
{
    auto fail = [&](const char *what) {
        if (error)
            *error = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    // A link (a dotfiles folder, a synced folder) stays a link: the file it leads to is
    // replaced, in its own folder.
    std::string target = path;
    if (!followLinks(target))
        return fail("cannot follow the link");
    struct stat st
    {
    };
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return fail("not a regular file");
    }
    // A file its owner made read-only is not replaced behind its back: the rename would go
    // through, since it needs only the folder's permission. The mode bits count, not only
    // what access() says, which for root is always yes.
    if (exists
        && ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0
            || ::access(target.c_str(), W_OK) != 0)) {
        errno = EACCES;
        return fail("the file is write-protected");
    }
    removeLeftovers(folderOf(target), nameOf(target));
    // A new file gets the mode the user's umask gives; a replaced one keeps its own.
    std::string tmp;
    const int fd = createTemporary(target, exists ? 0600 : 0666, tmp);
    if (fd < 0)
        return fail("cannot create a temporary file");
    if (exists) {
        ::fchmod(fd, st.st_mode & 07777);
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
            if (::fchown(fd, st.st_uid, st.st_gid) != 0)
                errno = 0; // the owner is kept only where the system allows it
        }
    }
    const bool kept = durability == Durability::Kept;
    if (!writeAll(fd, bytes.data(), bytes.size()) || (kept && ::fsync(fd) != 0)) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        errno = saved;
        return fail("cannot write the temporary file");
    }
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(tmp.c_str());
        errno = saved;
        return fail("cannot close the temporary file");
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int saved = errno;
        ::unlink(tmp.c_str());
        errno = saved;
        return fail("cannot replace the file");
    }
    if (!kept)
        return true;
    // Make the rename itself durable.
    const int dirFd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

namespace {

// Opens `path` for reading when it is a regular file or a link to one, filling `st`; -1
// otherwise, with errno ENOENT only when nothing is there. O_NONBLOCK: opening a FIFO with no
// writer returns at once instead of waiting for one; it changes nothing for a regular file.
int openRegular(const std::string &path, struct stat &st)
{
    if (path.find('\0') != std::string::npos) {
        errno = EINVAL; // no file is named so; the name would be cut at the zero byte
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = code;
        return -1;
    }
    return fd;
}

} // namespace

int openRegularFile(const std::string &path)
{
    struct stat st
    {
    };
    const int fd = openRegular(path, st);
    if (fd >= 0) {
        // the file is known to be regular: its readers may wait as they would on any file
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return fd;
}

bool regularFileOpens(const std::string &path)
{
    struct stat st
    {
    };
    const int fd = openRegular(path, st);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

FileRead readRegularFile(const std::string &path, std::string &bytes, std::size_t limit)
{
    bytes.clear();
    struct stat st
    {
    };
    const int fd = openRegular(path, st);
    if (fd < 0)
        return errno == ENOENT ? FileRead::Missing : FileRead::Unreadable;
    const FileRead result = [&] {
        if (static_cast<std::uintmax_t>(st.st_size) > limit) {
            errno = EFBIG;
            return FileRead::Unreadable;
        }
        try {
            bytes.reserve(static_cast<std::size_t>(st.st_size));
            char buf[65536];
            for (;;) {
                const ssize_t n = ::read(fd, buf, sizeof buf);
                if (n < 0) {
                    if (errno == EINTR)
                        continue;
                    return FileRead::Unreadable;
                }
                if (n == 0)
                    return FileRead::Read;
                if (bytes.size() + static_cast<std::size_t>(n) > limit) {
                    errno = EFBIG; // it grew while being read
                    return FileRead::Unreadable;
                }
                bytes.append(buf, static_cast<std::size_t>(n));
            }
        } catch (const std::bad_alloc &) {
            errno = ENOMEM;
            return FileRead::Unreadable;
        }
    }();
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (result != FileRead::Read)
        std::string().swap(bytes);
    return result;
}

bool readWholeFile(const std::string &path, std::string &bytes)
{
    return readRegularFile(path, bytes) == FileRead::Read;
}

} // namespace platform
