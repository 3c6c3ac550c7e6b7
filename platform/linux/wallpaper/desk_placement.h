#pragma once

#include <platform/registry.h>

#include <optional>
#include <string>
#include <string_view>

namespace platform::desk {

/** How the picture is laid on the screen, as the four desktop values ask for it. */
enum class PlacementKind {
    Tile, ///< repeated from the screen's top-left corner
    Stretch, ///< scaled to the screen's size, aspect ignored
    Center, ///< unscaled, in the middle of the screen
    Origin, ///< unscaled, its top-left corner at (x, y)
};

struct DeskPlacement
{
    PlacementKind kind = PlacementKind::Center;
    int x = 0; ///< only for Origin
    int y = 0; ///< only for Origin

    friend bool operator==(const DeskPlacement &, const DeskPlacement &) = default;
};

/** The four texts under "Control Panel\\Desktop", as stored (a missing value reads as ""). */
struct DesktopValues
{
    std::string tileWallpaper;
    std::string wallpaperStyle;
    std::string originX;
    std::string originY;
};

inline constexpr std::string_view desktopKeyPath = "Control Panel\\Desktop";

/**
 * The text of a stored string value: its data up to the first zero byte. A missing value, or
 * one that is not a string (REG_SZ or REG_EXPAND_SZ), reads as "".
 */
std::string registryText(const std::optional<RegValue> &value);

/**
 * A stored number read the way the system reads these values: leading blanks, an optional
 * sign, then decimal digits up to the first other character; no digits give 0, and values
 * beyond 32 bits are clamped.
 */
int desktopNumber(std::string_view text);

/** Reads the four desktop values from `registry`, each with its own open and close. */
DesktopValues readDesktopValues(Registry &registry);

/**
 * The one placement the four values describe: TileWallpaper 1 tiles; otherwise
 * WallpaperStyle 2 stretches; otherwise an origin of 0, 0 centres; otherwise the picture's
 * top-left corner goes to (WallpaperOriginX, WallpaperOriginY).
 */
DeskPlacement placementFromDesktopValues(const DesktopValues &values);

} // namespace platform::desk
