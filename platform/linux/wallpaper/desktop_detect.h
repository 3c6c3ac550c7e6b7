#pragma once

#include <string>
#include <string_view>

namespace platform::desk {

/** The desktops whose wallpaper we know how to set. */
enum class Desktop {
    None, ///< nothing we can set a wallpaper on (no display, or an unknown Wayland desktop)
    X11Root, ///< plain X11: a window manager at most, nothing draws its own background
    Gnome, ///< GNOME, Unity, Budgie and their relatives: org.gnome.desktop.background
    Cinnamon, ///< org.cinnamon.desktop.background
    Mate, ///< org.mate.background
    Xfce, ///< xfdesktop through xfconf
    Plasma, ///< KDE Plasma through plasmashell's scripting
    Sway, ///< sway through swaymsg
    Lxqt, ///< pcmanfm-qt's desktop
    Lxde, ///< pcmanfm's desktop
    LayerShell, ///< a Wayland compositor of the wlroots kind: swaybg draws the background
};

/** The environment values that decide the desktop; an unset variable is an empty string. */
struct DesktopEnvironment
{
    std::string xdgCurrentDesktop;
    std::string xdgSessionDesktop;
    std::string desktopSession;
    std::string waylandDisplay;
    std::string swaySock;
    std::string display;
};

/** Reads the six variables from the process environment. */
DesktopEnvironment processDesktopEnvironment();

/**
 * Which desktop is running. XDG_CURRENT_DESKTOP (a colon-separated list, first known name
 * wins) is asked first, then XDG_SESSION_DESKTOP, then DESKTOP_SESSION (a session name or the
 * path of a session file); names compare without regard to case. When none of them names a
 * known desktop: a sway socket means sway, any other Wayland display a compositor that takes
 * a layer-shell background (LayerShell), an X display means X11Root, and nothing means None.
 * A window manager that draws no background (i3, Openbox, ...) is X11Root on an X display and
 * None without one.
 */
Desktop detectDesktop(const DesktopEnvironment &env);

/** A short name for messages and tests ("x11", "gnome", ...). */
std::string_view desktopName(Desktop desktop);

} // namespace platform::desk
