// The per-user base folders of the XDG rules (configuration, data, cache).
#pragma once

#include <string>
#include <string_view>

namespace platform {

/**
 * `value` (an XDG_*_HOME variable) when it is an absolute path; otherwise `home` followed by
 * `underHome` (such as "/.cache") when home is absolute; otherwise "". An unset, empty or
 * relative variable is ignored, as the base-directory rules say.
 */
std::string xdgBaseFolder(const char *value, const char *home, std::string_view underHome);

} // namespace platform
