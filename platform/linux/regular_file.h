#pragma once

#include <string>

namespace platform {

/**
 * Opens `path` for reading when it is a regular file or a link to one, without ever waiting:
 * a FIFO, a device or a folder is refused at once. The descriptor is close-on-exec, reads on
 * it block as usual, and the caller closes it. -1 when refused, with errno ENOENT only when
 * nothing is there.
 */
int openRegularFile(const std::string &path);

} // namespace platform
