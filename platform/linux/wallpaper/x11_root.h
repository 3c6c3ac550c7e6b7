#pragma once

#include "platform/linux/wallpaper/compose.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::desk {

/** The size of the X display's default screen ($DISPLAY), or nothing without a display. */
std::optional<QSize> x11ScreenSize();

/**
 * The active RandR monitors of the default screen, each named as GTK names it: after its first
 * output ("HDMI-1"), or after the monitor itself when it has none. Empty without a display.
 */
std::vector<OutputArea> x11Monitors();

/** How many workspaces the window manager keeps (_NET_NUMBER_OF_DESKTOPS), 1 when unknown. */
int x11WorkspaceCount();

/**
 * Sets the root window's background on $DISPLAY the way root-window setters agree on:
 * `compose` is given a picture of the screen's size (Format_RGB32, its content unspecified)
 * and its monitors' areas (the whole screen when RandR knows none) and draws all of it, or
 * says it cannot; the picture lies in memory the X server reads itself where it can (MIT-SHM),
 * so that it is handed over without a copy over the connection. It goes into a pixmap of the
 * root window that outlives our connection (RetainPermanent), is named by _XROOTPMAP_ID and
 * ESETROOT_PMAP_ID, and becomes the root's background, and the root is cleared so that it
 * shows. When both atoms name one pixmap, it was left by a setter like us, not by a desktop
 * that still draws with it: one of the screen's size and depth is drawn over in place, any
 * other is freed. False without a display, when `compose` fails, or on an X error; the root
 * then shows what it showed.
 */
bool setX11RootWallpaper(
    const std::function<bool(QImage &screen, const std::vector<QRect> &monitors)> &compose);

} // namespace platform::desk
