// The wallpaper call as the program makes it, on every platform: the test hook when one is
// installed, otherwise the desktop library's own call (systemDeskWallpaper). Built into each
// desktop library, so the hook is written once.
#include "platform/desktop_wallpaper.h"

#include <utility>

namespace platform {

namespace {

std::function<bool(const std::string &)> &wallpaperHook()
{
    static std::function<bool(const std::string &)> hook;
    return hook;
}

} // namespace

bool setDeskWallpaper(const std::string &path)
{
    if (const auto &hook = wallpaperHook())
        return hook(path);
    return systemDeskWallpaper(path);
}

void setDeskWallpaperHook(std::function<bool(const std::string &path)> hook)
{
    wallpaperHook() = std::move(hook);
}

} // namespace platform
