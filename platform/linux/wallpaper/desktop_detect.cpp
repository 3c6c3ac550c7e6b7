#include "desktop_detect.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <utility>

namespace platform::desk {

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
        [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

/** Stands for "a window manager that leaves the root window to us". */
constexpr Desktop bareWindowManager = Desktop::X11Root;

// Names as desktops and session files spell them, lower case.
constexpr std::array<std::pair<std::string_view, Desktop>, 45> knownNames {{
    {"gnome", Desktop::Gnome},
    {"gnome-classic", Desktop::Gnome},
    {"gnome-xorg", Desktop::Gnome},
    {"gnome-wayland", Desktop::Gnome},
    {"gnome-flashback", Desktop::Gnome},
    {"ubuntu", Desktop::Gnome},
    {"ubuntu-xorg", Desktop::Gnome},
    {"ubuntu-wayland", Desktop::Gnome},
    {"unity", Desktop::Gnome},
    {"budgie", Desktop::Gnome},
    {"budgie-desktop", Desktop::Gnome},
    {"pop", Desktop::Gnome},
    {"pantheon", Desktop::Gnome},
    {"x-cinnamon", Desktop::Cinnamon},
    {"cinnamon", Desktop::Cinnamon},
    {"cinnamon2d", Desktop::Cinnamon},
    {"cinnamon-wayland", Desktop::Cinnamon},
    {"mate", Desktop::Mate},
    {"xfce", Desktop::Xfce},
    {"xfce4", Desktop::Xfce},
    {"xubuntu", Desktop::Xfce},
    {"kde", Desktop::Plasma},
    {"plasma", Desktop::Plasma},
    {"plasmawayland", Desktop::Plasma},
    {"plasmax11", Desktop::Plasma},
    {"kde-plasma", Desktop::Plasma},
    {"sway", Desktop::Sway},
    {"lxqt", Desktop::Lxqt},
    {"lubuntu", Desktop::Lxqt},
    {"i3", bareWindowManager},
    {"i3-with-shmlog", bareWindowManager},
    {"openbox", bareWindowManager},
    {"fluxbox", bareWindowManager},
    {"blackbox", bareWindowManager},
    {"awesome", bareWindowManager},
    {"bspwm", bareWindowManager},
    {"dwm", bareWindowManager},
    {"xmonad", bareWindowManager},
    {"herbstluftwm", bareWindowManager},
    {"icewm", bareWindowManager},
    {"icewm-session", bareWindowManager},
    {"jwm", bareWindowManager},
    {"windowmaker", bareWindowManager},
    {"qtile", bareWindowManager},
    {"spectrwm", bareWindowManager},
}};

std::optional<Desktop> knownName(std::string_view name)
{
    const std::string key = lowered(name);
    for (const auto &[known, desktop] : knownNames) {
        if (key == known)
            return desktop;
    }
    return std::nullopt;
}

/** The first known name of a colon-separated list ("ubuntu:GNOME"). */
std::optional<Desktop> firstKnown(std::string_view list)
{
    while (!list.empty()) {
        const auto colon = list.find(':');
        if (auto desktop = knownName(list.substr(0, colon)))
            return desktop;
        if (colon == std::string_view::npos)
            break;
        list.remove_prefix(colon + 1);
    }
    return std::nullopt;
}

/** DESKTOP_SESSION may hold a session file's path ("/usr/share/xsessions/plasma"). */
std::optional<Desktop> sessionName(std::string_view value)
{
    const auto slash = value.rfind('/');
    if (slash != std::string_view::npos)
        value.remove_prefix(slash + 1);
    if (value.ends_with(".desktop"))
        value.remove_suffix(8);
    return knownName(value);
}

std::string variable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

DesktopEnvironment processDesktopEnvironment()
{
    return {variable("XDG_CURRENT_DESKTOP"), variable("XDG_SESSION_DESKTOP"),
        variable("DESKTOP_SESSION"), variable("WAYLAND_DISPLAY"), variable("SWAYSOCK"),
        variable("DISPLAY")};
}

Desktop detectDesktop(const DesktopEnvironment &env)
{
    std::optional<Desktop> named = firstKnown(env.xdgCurrentDesktop);
    if (!named)
        named = knownName(env.xdgSessionDesktop);
    if (!named)
        named = sessionName(env.desktopSession);

    if (named && *named != bareWindowManager)
        return *named;
    if (named) // a window manager of X11 only
        return env.display.empty() ? Desktop::None : Desktop::X11Root;

    if (!env.swaySock.empty())
        return Desktop::Sway;
    if (!env.waylandDisplay.empty())
        return Desktop::None;
    if (!env.display.empty())
        return Desktop::X11Root;
    return Desktop::None;
}

std::string_view desktopName(Desktop desktop)
{
    switch (desktop) {
    case Desktop::None:
        return "none";
    case Desktop::X11Root:
        return "x11";
    case Desktop::Gnome:
        return "gnome";
    case Desktop::Cinnamon:
        return "cinnamon";
    case Desktop::Mate:
        return "mate";
    case Desktop::Xfce:
        return "xfce";
    case Desktop::Plasma:
        return "plasma";
    case Desktop::Sway:
        return "sway";
    case Desktop::Lxqt:
        return "lxqt";
    }
    return "none";
}

} // namespace platform::desk
