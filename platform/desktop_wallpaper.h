#pragma once

#include <string>

namespace platform {

/**
 * The system's wallpaper call: asks the desktop to show the picture at `path`, with the
 * placement given by the four values under "Control Panel\\Desktop" of the current user's
 * registry ("TileWallpaper", "WallpaperStyle", "WallpaperOriginX", "WallpaperOriginY"),
 * which the caller writes first. Returns what the system reports; callers ignore it.
 * Built into murelin_desktop, which only the programs link: each program's main hands it to
 * the window as TForm1::Environment::setDeskWallpaper.
 */
bool setDeskWallpaper(const std::string &path);

} // namespace platform
