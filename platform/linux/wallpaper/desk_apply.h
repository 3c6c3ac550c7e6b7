#pragma once

#include "platform/linux/wallpaper/desk_placement.h"
#include "platform/linux/wallpaper/desktop_detect.h"

#include "platform/linux/wallpaper/compose.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::desk {

/**
 * Sets `path` (made absolute) as the wallpaper of `desktop` with `placement`, on every output,
 * each counting from its own top-left corner. The X11 root gets one pixmap composed by us over
 * all monitors. The other desktops get the file with their own mode; a PNG copy of it, with
 * their own mode, when their loader may not read its format; or, when the desktop lacks the
 * placement or cannot take the file's name, pictures we composed and set stretched: one per
 * output where the desktop takes one per output, else one at the largest output's size. A
 * desktop that draws one picture across all monitors (GNOME, Cinnamon, MATE) gets, with more
 * than one monitor, a picture of the whole layout composed for each monitor's own corner,
 * whatever the placement, set to span them.
 * A picture Qt cannot read is never handed on. An empty path removes the wallpaper where the
 * desktop has a way to. Returns false on every failure; never blocks for more than a few
 * seconds.
 */
bool applyDeskWallpaper(Desktop desktop, const std::string &path, const DeskPlacement &placement);

/** How a picture reached the desktop. */
enum class Handed {
    RootPixmap, ///< composed by us into the X root's pixmap
    Native, ///< the file (or a PNG copy of it) with the desktop's own mode
    Composed, ///< composed by us: per output, or at the largest output's size for all
    Spanned, ///< one picture of the whole layout, drawn across the monitors
};

/** The screens as a picture was made for them: the X screen's size (X11 only), the outputs. */
struct ScreenLayout
{
    QSize screen;
    std::vector<OutputArea> outputs;

    friend bool operator==(const ScreenLayout &, const ScreenLayout &) = default;
};

/** The screens now: outputAreas(), with the X screen's size outside a Wayland session. */
ScreenLayout screenLayout();

/**
 * applyDeskWallpaper, telling how the picture was handed and the screens it was made for;
 * nothing on failure. Removing (an empty path) is no picture laid: nothing either.
 */
std::optional<std::pair<Handed, ScreenLayout>> layDeskWallpaper(
    Desktop desktop, const std::string &path, const DeskPlacement &placement);

/**
 * The outputs composed pictures are made for, in device pixels: the X display's monitors
 * outside a Wayland session, else the screens of the running Qt GUI application, else one
 * 1920 x 1080 output without a name. In a Wayland session where we are an X client the
 * output names are not the compositor's: one output without a name, the largest's size.
 */
std::vector<OutputArea> outputAreas();

} // namespace platform::desk
