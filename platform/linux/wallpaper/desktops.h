#pragma once

#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/desktop_detect.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform::desk {

/** How a desktop takes its pictures. */
enum class Pictures {
    RootPixmap, ///< nothing draws the X root window: we compose one pixmap over all monitors
    OneForAll, ///< one picture, shown on every output
    PerOutput, ///< a picture for each output, by the output's name
};

/** What a desktop's picture loader is sure to read besides what it is told by name. */
enum class Loader {
    GdkPixbuf, ///< PNG and JPEG only: newer builds leave the other loaders out
    Qt, ///< PNG, JPEG, BMP and GIF
};

/**
 * One row per desktop: the names it goes by, the placements it draws itself, how it is handed
 * a picture and how it is asked to show none. Adding a desktop is adding a row.
 */
struct DesktopRow
{
    Desktop desktop;
    std::string_view shortName; ///< for messages and tests ("x11", "gnome", ...)
    /** Names as XDG_CURRENT_DESKTOP, XDG_SESSION_DESKTOP and session files spell them,
     *  lower case. */
    std::span<const std::string_view> names;
    bool drawsStretch;
    bool drawsCenter;
    /** Tiles from each monitor's top-left corner. GNOME's and Cinnamon's tiling starts from a
     *  tile in the middle of the screen, Plasma's from one in the middle of each: composed. */
    bool drawsTile;
    /** Draws one picture across all monitors together, each its own part (GNOME's
     *  "spanned"): how a picture composed for every monitor's corner reaches it. */
    bool drawsSpan;
    Pictures pictures;
    /** A PerOutput desktop that shows a new output, by itself, the picture it was handed for
     *  all outputs (sway's "output *", swaybg's "-o *"); the others keep theirs per output. */
    bool newOutputsTakeAll;
    Loader loader;
    /** Whether the desktop can be handed `path` by name, exactly. */
    bool (*carries)(const std::string &path);
    /** Hands the pictures over with `mode`; an OutputPicture with no output name is for all. */
    bool (*hand)(const std::vector<OutputPicture> &pictures, NativeMode mode);
    /** Shows no picture; nullptr where the desktop has no way to. */
    bool (*remove)();

    bool draws(NativeMode mode) const
    {
        switch (mode) {
        case NativeMode::Stretch:
            return drawsStretch;
        case NativeMode::Center:
            return drawsCenter;
        case NativeMode::Tile:
            return drawsTile;
        case NativeMode::Span:
            return drawsSpan;
        }
        return false;
    }
};

/** Every row, Desktop::None's first. */
std::span<const DesktopRow> desktopRows();

/** The row of `desktop`. */
const DesktopRow &desktopRow(Desktop desktop);

} // namespace platform::desk
