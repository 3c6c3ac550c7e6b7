#include "platform/linux/wallpaper/desk_placement.h"

#include <cstdint>
#include <limits>

namespace platform::desk {

std::string registryText(const std::optional<RegValue> &value)
{
    if (!value || (value->type != RegSz && value->type != RegExpandSz))
        return {};
    const auto zero = value->data.find('\0');
    return value->data.substr(0, zero);
}

int desktopNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = std::int64_t {std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

DesktopValues readDesktopValues(Registry &registry)
{
    DesktopValues values;
    values.tileWallpaper = registryText(registry.read(desktopKeyPath, "TileWallpaper").value);
    values.wallpaperStyle = registryText(registry.read(desktopKeyPath, "WallpaperStyle").value);
    values.originX = registryText(registry.read(desktopKeyPath, "WallpaperOriginX").value);
    values.originY = registryText(registry.read(desktopKeyPath, "WallpaperOriginY").value);
    return values;
}

DeskPlacement placementFromDesktopValues(const DesktopValues &values)
{
    if (desktopNumber(values.tileWallpaper) == 1)
        return {PlacementKind::Tile, 0, 0};
    if (desktopNumber(values.wallpaperStyle) == 2)
        return {PlacementKind::Stretch, 0, 0};
    const int x = desktopNumber(values.originX);
    const int y = desktopNumber(values.originY);
    if (x == 0 && y == 0)
        return {PlacementKind::Center, 0, 0};
    return {PlacementKind::Origin, x, y};
}

} // namespace platform::desk
