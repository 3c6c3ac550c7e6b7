#pragma once

// Laying a picture on the desktop: the four values the system reads under the current user's
// "Control Panel\Desktop", written in a fixed order, then the system's wallpaper call.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace wallpaper {

/** How ApplyWallpaper lays the picture. */
enum StyleCode : std::int32_t {
    Tiled = 0,
    Centred = 1,
    Stretched = 2,
    AtOrigin = 3,
};

inline constexpr std::string_view DesktopKey = "Control Panel\\Desktop";

/**
 * The system's wallpaper call (platform::setDeskWallpaper in the programs, a recorder in the
 * tests); an empty one stands for a session without a desktop to set, and nothing is called.
 */
using DeskWallpaperCall = std::function<bool(const std::string &path)>;

/** The four texts for one wallpaper call, in the order they are written. */
struct DesktopTexts
{
    std::string tileWallpaper;
    std::string wallpaperStyle;
    std::string originX;
    std::string originY;

    friend bool operator==(const DesktopTexts &, const DesktopTexts &) = default;
};

/**
 * The texts for `style`: "1" tiles, "2" stretches, the origin only with AtOrigin (plain signed
 * decimal), "0" everywhere else. A style code outside 0 to 3 raises std::invalid_argument.
 */
DesktopTexts desktopTexts(std::int32_t style, std::int32_t originX, std::int32_t originY);

/**
 * Writes "TileWallpaper", "WallpaperStyle", "WallpaperOriginX" and "WallpaperOriginY" under
 * DesktopKey, in that order, each write opening and closing the key by itself, then asks the
 * system through `setDeskWallpaper` to set the wallpaper from `path`, unchanged (nothing
 * checks that the file exists).
 * A failed write raises the registry's error and skips the rest, the wallpaper call too; what
 * the wallpaper call reports is not looked at.
 */
void ApplyWallpaper(const DeskWallpaperCall &setDeskWallpaper, const std::string &path,
    std::int32_t style, std::int32_t originX, std::int32_t originY);

/** The placement mirrors of the window, as the placement controls leave them. */
struct PlacementFlags
{
    bool stretchOn = false;
    bool centerOn = false;
    bool tiledOn = false;
    bool locationOn = false;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
};

/** One ApplyWallpaper call's arguments besides the path. */
struct WallpaperCall
{
    std::int32_t style = Stretched;
    std::int32_t originX = 0;
    std::int32_t originY = 0;

    friend bool operator==(const WallpaperCall &, const WallpaperCall &) = default;
};

/**
 * The calls `flags` ask for, in the order stretch, centre, tile, location: one per flag that
 * is set, so "Location" (stretch and location both set) lays the picture stretched first and
 * then at its origin, and no flag set gives no call at all.
 */
std::vector<WallpaperCall> placementCalls(const PlacementFlags &flags);

/** Makes the calls of placementCalls(flags) with `path`, stopping at the first error. */
void ApplyPlacement(const DeskWallpaperCall &setDeskWallpaper, const std::string &path,
    const PlacementFlags &flags);

} // namespace wallpaper
