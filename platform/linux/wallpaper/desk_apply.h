#pragma once

#include "desk_placement.h"
#include "desktop_detect.h"

#include <QSize>

#include <string>

namespace platform::desk {

/**
 * Sets `path` (made absolute) as the wallpaper of `desktop` with `placement`. The X11 root
 * gets the picture composed at the screen's size by us; the other desktops get the file with
 * their own mode, or a picture we composed at the screen's size and set stretched when the
 * desktop lacks the placement, cannot take the file's name, or may not read its format. A
 * picture Qt cannot read is never handed on. An empty path removes the wallpaper where the
 * desktop has a way to (X11: black; GSettings: "none"; XFCE: no image; sway: black).
 * Returns false on every failure; never blocks for more than a few seconds.
 */
bool applyDeskWallpaper(Desktop desktop, const std::string &path, const DeskPlacement &placement);

/** The size composed pictures are made at: the primary screen's, in device pixels. */
QSize composingScreenSize();

} // namespace platform::desk
