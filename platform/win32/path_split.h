#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

/**
 * The folder part of a Windows path: everything up to and including its last "\" or ":"
 * ("C:\Pics\Sea.bmp" gives "C:\Pics\", "C:Sea.bmp" gives "C:"), and the empty text when the
 * path has neither. A "/" is not taken as a separator.
 */
std::string directoryOf(std::string_view path);

} // namespace platform::win32
