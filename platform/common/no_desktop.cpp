// No desktop: for programs and tests that lay no wallpaper on a real desktop (the window's
// behaviour tested without a toolkit). The call reports failure and does nothing.
#include "platform/desktop_wallpaper.h"

namespace platform {

bool systemDeskWallpaper(const std::string &)
{
    return false;
}

} // namespace platform
