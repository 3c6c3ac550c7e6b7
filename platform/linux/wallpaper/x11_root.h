#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <optional>
#include <string>

namespace platform::desk {

/** The size of the X display's default screen ($DISPLAY), or nothing without a display. */
std::optional<QSize> x11ScreenSize();

/** The RandR name of the primary output (or of the first one lit), "" when unknown. */
std::string x11PrimaryOutputName();

/** The window manager's current workspace (_NET_CURRENT_DESKTOP), 0 when unknown. */
int x11CurrentWorkspace();

/**
 * Sets the root window's background on $DISPLAY the way root-window setters agree on:
 * `compose` is given the screen's size and returns the picture to show at that size; it goes
 * into a new pixmap of the root window that outlives our connection (RetainPermanent), is
 * named by _XROOTPMAP_ID and ESETROOT_PMAP_ID, and becomes the root's background, and the
 * root is cleared so that it shows. The previous pixmap is freed when both atoms named it
 * (then it was left by a setter like us, not by a desktop that still draws with it).
 * False without a display, when `compose` gives no picture of that size, or on an X error.
 */
bool setX11RootWallpaper(const std::function<QImage(QSize)> &compose);

} // namespace platform::desk
