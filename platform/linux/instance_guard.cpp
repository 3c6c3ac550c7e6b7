#include "platform/instance_guard.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The guard is an exclusive flock on a file of the user's own. The kernel drops the lock when
// the holder ends, however it ends, so a crashed copy never locks the user out.
std::string guardPath(const char *name)
{
    const char *runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/')
        return std::string(runtime) + "/" + name;
    const char *tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && tmp[0] == '/') ? tmp : "/tmp";
    return folder + "/" + name + "-" + std::to_string(::getuid());
}

int openGuardFile(const std::string &path)
{
    // O_NOFOLLOW: a symbolic link planted under our name is refused, never followed.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return -1;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

InstanceGuard::InstanceGuard(const char *name)
{
    const int fd = openGuardFile(guardPath(name));
    if (fd < 0)
        return; // a guard that cannot be made counts as no other copy
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0 && errno == EWOULDBLOCK)
        m_alreadyExists = true;
    m_handle = fd;
}

InstanceGuard::~InstanceGuard()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

} // namespace platform
