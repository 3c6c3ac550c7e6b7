#include "platform/common/xdg_folders.h"

namespace platform {

std::string xdgBaseFolder(const char *value, const char *home, std::string_view underHome)
{
    if (value && value[0] == '/')
        return value;
    if (home && home[0] == '/')
        return std::string(home).append(underHome);
    return {};
}

} // namespace platform
