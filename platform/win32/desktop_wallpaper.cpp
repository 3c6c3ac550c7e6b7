#include "platform/desktop_wallpaper.h"

#include "platform/win32/windows_headers.h"

#include <utility>
#include <vector>

namespace platform {
bool setDeskWallpaper(const std::string &path)
{
    // The call takes a writable pointer though it only reads the name. SPIF_SENDWININICHANGE
    // alone: the other windows are told of the change, but the system is not asked to record
    // the wallpaper in the user's profile (no SPIF_UPDATEINIFILE).
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, name.data(), SPIF_SENDWININICHANGE)
        != FALSE;
}
} // namespace platform
