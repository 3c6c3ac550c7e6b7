#include "wallpaper/preview_fit.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <limits>

namespace wallpaper {

namespace {

std::int32_t clamp32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::optional<PreviewSize> previewSize(std::int32_t pictureWidth, std::int32_t pictureHeight,
    std::int32_t frameWidth, std::int32_t frameHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return std::nullopt;
    const std::int64_t w = pictureWidth;
    const std::int64_t h = pictureHeight;
    // Integer division in C++ truncates toward zero, as the fit wants.
    const std::int64_t a = std::int64_t {frameHeight} * w / h;
    const std::int64_t b = std::int64_t {frameWidth} * h / w;
    if (h <= w)
        return PreviewSize {clamp32(std::int64_t {frameWidth} - 4), clamp32(b - 4)};
    return PreviewSize {clamp32(a - 4), clamp32(std::int64_t {frameHeight} - 4)};
}

std::int32_t previewLeft(std::int32_t frameWidth, std::int32_t controlWidth)
{
    const std::int64_t room = std::int64_t {frameWidth} - 4;
    if (room > controlWidth)
        return clamp32((room - controlWidth) / 2 + 2);
    return 2;
}

std::string previewCaption(std::int32_t pictureWidth, std::int32_t pictureHeight)
{
    return std::to_string(pictureWidth) + " X " + std::to_string(pictureHeight);
}

bool fileOpensForReading(const std::string &path)
{
    return platform::regularFileOpens(path);
}

} // namespace wallpaper
