#pragma once
// Test pictures of four coloured quadrants, and where a placement puts their pixels on a
// monitor, worked out from a pixel's position alone.

#include "platform/linux/wallpaper/desk_placement.h"

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace quadrants {

// Picked so that no two are alike in any channel.
constexpr QRgb topLeft = 0xffd02010;
constexpr QRgb topRight = 0xff10c030;
constexpr QRgb bottomLeft = 0xff3040e0;
constexpr QRgb bottomRight = 0xffe0e040;
constexpr QRgb black = 0xff000000;

inline QRgb quadrant(int x, int y, int width, int height)
{
    const bool left = x < width / 2;
    const bool top = y < height / 2;
    return top ? (left ? topLeft : topRight) : (left ? bottomLeft : bottomRight);
}

inline QImage quadrantPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, quadrant(x, y, width, height));
    }
    return image;
}

inline int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
        std::abs(qBlue(a) - qBlue(b))});
}

/**
 * The colour at (x, y) of a monitor of screenW x screenH with a w x h quadrant picture laid on
 * it by `placement`: black where the picture is not, nothing where the pixel is not compared.
 * Pixels within `slack` of a quadrant border or of the picture's edge are not compared (a
 * lossy format rings there, a desktop's own scaler blends there).
 */
inline std::optional<QRgb> expectedPixel(const platform::desk::DeskPlacement &placement, int w,
    int h, bool lossy, int x, int y, int screenW, int screenH, int slack = 0)
{
    using platform::desk::PlacementKind;
    if (lossy)
        slack = std::max(slack, 4);
    const auto inside = [&](int px, int py) -> std::optional<QRgb> {
        const bool out = px < 0 || py < 0 || px >= w || py >= h;
        if (slack > 0 && (px > -slack && px < w + slack - 1 && py > -slack && py < h + slack - 1)
            && (std::abs(px % w - w / 2) < slack || std::abs(py % h - h / 2) < slack || px < slack
                || py < slack || px >= w - slack || py >= h - slack))
            return std::nullopt;
        if (out)
            return black;
        return quadrant(px, py, w, h);
    };
    switch (placement.kind) {
    case PlacementKind::Tile: {
        if (slack > 0
            && (std::abs(x % w - w / 2) < slack || std::abs(y % h - h / 2) < slack || x % w < slack
                || y % h < slack || x % w >= w - slack || y % h >= h - slack))
            return std::nullopt;
        return quadrant(x % w, y % h, w, h);
    }
    case PlacementKind::Center: {
        // the left and top margins are the smaller half of an odd difference
        const int left = (screenW - w) >= 0 ? (screenW - w) / 2 : -((w - screenW + 1) / 2);
        const int top = (screenH - h) >= 0 ? (screenH - h) / 2 : -((h - screenH + 1) / 2);
        return inside(x - left, y - top);
    }
    case PlacementKind::Origin:
        return inside(x - placement.x, y - placement.y);
    case PlacementKind::Stretch: {
        // scaling blurs the quadrant borders over about one picture pixel; those are not compared
        const int bandX = 3 + slack + (screenW + w - 1) / w;
        const int bandY = 3 + slack + (screenH + h - 1) / h;
        if (std::abs(x - screenW / 2) <= bandX || std::abs(y - screenH / 2) <= bandY)
            return std::nullopt;
        if (slack > 0 && (x < slack || y < slack || x >= screenW - slack || y >= screenH - slack))
            return std::nullopt;
        return quadrant(x, y, screenW, screenH);
    }
    }
    return std::nullopt;
}

} // namespace quadrants
