#include "wallpaper/desktop_values.h"

#include "settings/numtext.h"
#include "settings/regstring.h"

#include <stdexcept>

namespace wallpaper {

DesktopTexts desktopTexts(std::int32_t style, std::int32_t originX, std::int32_t originY)
{
    switch (style) {
    case Tiled:
        return {"1", "0", "0", "0"};
    case Centred:
        return {"0", "0", "0", "0"};
    case Stretched:
        return {"0", "2", "0", "0"};
    case AtOrigin:
        return {"0", "0", settings::IntToStr(originX), settings::IntToStr(originY)};
    default:
        break;
    }
    throw std::invalid_argument("Unknown wallpaper style " + settings::IntToStr(style));
}

void ApplyWallpaper(const DeskWallpaperCall &setDeskWallpaper, const std::string &path,
    std::int32_t style, std::int32_t originX, std::int32_t originY)
{
    const DesktopTexts texts = desktopTexts(style, originX, originY);
    settings::WriteRegString(DesktopKey, "TileWallpaper", texts.tileWallpaper);
    settings::WriteRegString(DesktopKey, "WallpaperStyle", texts.wallpaperStyle);
    settings::WriteRegString(DesktopKey, "WallpaperOriginX", texts.originX);
    settings::WriteRegString(DesktopKey, "WallpaperOriginY", texts.originY);
    // A picture the desktop cannot show is not reported: the values stay as written.
    if (setDeskWallpaper)
        (void)setDeskWallpaper(path);
}

std::vector<WallpaperCall> placementCalls(const PlacementFlags &flags)
{
    std::vector<WallpaperCall> calls;
    if (flags.stretchOn)
        calls.push_back({Stretched, 0, 0});
    if (flags.centerOn)
        calls.push_back({Centred, 0, 0});
    if (flags.tiledOn)
        calls.push_back({Tiled, 0, 0});
    if (flags.locationOn)
        calls.push_back({AtOrigin, flags.originX, flags.originY});
    return calls;
}

void ApplyPlacement(
    const DeskWallpaperCall &setDeskWallpaper, const std::string &path, const PlacementFlags &flags)
{
    for (const WallpaperCall &call : placementCalls(flags))
        ApplyWallpaper(setDeskWallpaper, path, call.style, call.originX, call.originY);
}

} // namespace wallpaper
