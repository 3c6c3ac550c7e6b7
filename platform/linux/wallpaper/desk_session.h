#pragma once

// The wallpaper while the program runs: a command's pictures reach the desktop once the
// command is done (its last one only), and the picture laid last is laid again, as it was,
// when the screens change.

#include "platform/linux/wallpaper/desk_apply.h"
#include "platform/linux/wallpaper/desktops.h"

#include <string>

namespace platform::desk {

/**
 * Whether a change of the screens from `before` to `after` leaves a picture that was handed
 * to the desktop of `row` as `handed` wrong on some monitor, so that it must be laid again.
 * The X root's pixmap and a spanned picture are made for the whole layout; pictures composed
 * per output for each output's name and size, one composed for all at the largest output's
 * size. The desktop's own modes it redraws by itself, except on a new output of a desktop that
 * keeps its pictures per output and gives a new one none of them (XFCE, Plasma), and on a
 * second monitor of a desktop that then takes a spanned picture.
 */
bool needsRelay(
    const DesktopRow &row, Handed handed, const ScreenLayout &before, const ScreenLayout &after);

/**
 * Lays `path` (an empty one removes the picture) with `placement` on `desktop`. Without a Qt
 * application, or off its thread, at once; true when it was laid. Within one, once its event
 * loop runs again (or it is about to quit): a later request replaces one still waiting, so a
 * command that lays a picture twice (stretched, then at its origin) hands the desktop only the
 * final one; true. From the first picture on, the screens are watched and the picture laid
 * last is laid again when a change leaves it wrong (needsRelay), without anything being
 * stored.
 */
bool requestDeskWallpaper(Desktop desktop, const std::string &path, const DeskPlacement &placement);

} // namespace platform::desk
