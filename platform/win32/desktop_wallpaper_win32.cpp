#include "platform/desktop_wallpaper.h"

#include "windows_headers.h"

#include <utility>
#include <vector>

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
    if (wallpaperHook())
        return wallpaperHook()(path);
    // The call takes a writable pointer though it only reads the name. SPIF_SENDWININICHANGE
    // alone: the other windows are told of the change, but the system is not asked to record
    // the wallpaper in the user's profile (no SPIF_UPDATEINIFILE).
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, name.data(), SPIF_SENDWININICHANGE)
        != FALSE;
}

void setDeskWallpaperHook(std::function<bool(const std::string &path)> hook)
{
    wallpaperHook() = std::move(hook);
}

} // namespace platform
