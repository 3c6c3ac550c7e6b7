#include "platform/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
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
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

} // namespace

bool writeFileAtomically(const std::string &path, std::string_view bytes, std::string *error)
{
    auto fail = [&](const char *what) {
        if (error)
            *error = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    // A file its owner made read-only is not replaced behind its back: the rename would go
    // through, since it needs only the folder's permission.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        errno = EACCES;
        return fail("the file is write-protected");
    }
    std::string tmpl = path + ".XXXXXX";
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return fail("cannot create a temporary file");
    // Keep the permissions of the file being replaced; a new file gets rw for the user.
    struct stat st
    {
    };
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600;
    ::fchmod(fd, mode);
    if (!writeAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmpl.c_str());
        errno = saved;
        return fail("cannot write the temporary file");
    }
    if (::close(fd) != 0) {
        ::unlink(tmpl.c_str());
        return fail("cannot close the temporary file");
    }
    if (::rename(tmpl.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(tmpl.c_str());
        errno = saved;
        return fail("cannot replace the file");
    }
    // Make the rename itself durable.
    const int dirFd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
