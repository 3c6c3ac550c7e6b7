#pragma once

#include <functional>
#include <string>

namespace platform {

/**
 * The system's wallpaper call: asks the desktop to show the picture at `path`, with the
 * placement given by the four values under "Control Panel\\Desktop" of the current user's
 * registry ("TileWallpaper", "WallpaperStyle", "WallpaperOriginX", "WallpaperOriginY"),
 * which the caller writes first. Returns what the system reports; callers ignore it.
 */
bool setDeskWallpaper(const std::string &path);

/**
 * Replaces the wallpaper call with `hook` (for tests that record calls); an empty function
 * restores the real call.
 */
void setDeskWallpaperHook(std::function<bool(const std::string &path)> hook);

/**
 * The desktop's own wallpaper call behind setDeskWallpaper: defined by the library the program
 * links, murelin_desktop (the system's call) or murelin_desktop_none (no desktop, false).
 */
bool systemDeskWallpaper(const std::string &path);

} // namespace platform
