#include "platform/linux/wallpaper/desktop_detect.h"

#include "platform/linux/wallpaper/desktops.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace platform::desk {

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
        [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

std::optional<Desktop> knownName(std::string_view name)
{
    const std::string key = lowered(name);
    for (const DesktopRow &row : desktopRows()) {
        for (const std::string_view known : row.names) {
            if (key == known)
                return row.desktop;
        }
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

    if (named && *named != Desktop::X11Root)
        return *named;
    if (named) // a window manager of X11 only
        return env.display.empty() ? Desktop::None : Desktop::X11Root;

    if (!env.swaySock.empty())
        return Desktop::Sway;
    if (!env.waylandDisplay.empty())
        return Desktop::LayerShell;
    if (!env.display.empty())
        return Desktop::X11Root;
    return Desktop::None;
}

std::string_view desktopName(Desktop desktop)
{
    return desktopRow(desktop).shortName;
}

} // namespace platform::desk
