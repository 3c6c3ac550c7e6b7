// Which desktop is running, from the six environment values alone.
#include "platform/linux/wallpaper/desktop_detect.h"

#include <gtest/gtest.h>

using namespace platform::desk;

namespace {

struct DetectCase
{
    const char *name;
    DesktopEnvironment env; // current, session, DESKTOP_SESSION, wayland, swaysock, display
    Desktop expected;
};

class Detect : public testing::TestWithParam<DetectCase>
{
};

TEST_P(Detect, ChoosesTheDesktop)
{
    EXPECT_EQ(desktopName(detectDesktop(GetParam().env)), desktopName(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Table, Detect,
    testing::Values(DetectCase {"Nothing", {"", "", "", "", "", ""}, Desktop::None},
        DetectCase {"BareX", {"", "", "", "", "", ":0"}, Desktop::X11Root},
        DetectCase {"Gnome", {"GNOME", "gnome", "gnome", "wayland-0", "", ":0"}, Desktop::Gnome},
        DetectCase {
            "UbuntuList", {"ubuntu:GNOME", "ubuntu", "ubuntu", "", "", ":0"}, Desktop::Gnome},
        DetectCase {"Unity", {"Unity", "", "", "", "", ":0"}, Desktop::Gnome},
        DetectCase {"Budgie", {"Budgie:GNOME", "", "", "", "", ":0"}, Desktop::Gnome},
        DetectCase {
            "Cinnamon", {"X-Cinnamon", "cinnamon", "cinnamon", "", "", ":0"}, Desktop::Cinnamon},
        DetectCase {"Mate", {"MATE", "", "", "", "", ":0"}, Desktop::Mate},
        DetectCase {"Xfce", {"XFCE", "", "", "", "", ":0.0"}, Desktop::Xfce},
        DetectCase {"KdeX11", {"KDE", "KDE", "plasma", "", "", ":0"}, Desktop::Plasma},
        DetectCase {
            "KdeWayland", {"KDE", "KDE", "plasmawayland", "wayland-0", "", ":1"}, Desktop::Plasma},
        DetectCase {"Sway", {"sway", "sway", "sway", "wayland-1", "/run/user/1/sway.sock", ""},
            Desktop::Sway},
        DetectCase {"SwaySocketOnly", {"", "", "", "wayland-1", "/run/user/1/sway.sock", ":0"},
            Desktop::Sway},
        DetectCase {"Lxqt", {"LXQt", "", "", "", "", ":0"}, Desktop::Lxqt},
        DetectCase {"FirstKnownOfList", {"Foo:XFCE:GNOME", "", "", "", "", ":0"}, Desktop::Xfce},
        DetectCase {"CaseDoesNotMatter", {"kDe", "", "", "", "", ""}, Desktop::Plasma},
        DetectCase {"SessionDesktopNext", {"", "mate", "gnome", "", "", ":0"}, Desktop::Mate},
        DetectCase {
            "UnknownCurrentFallsToSession", {"Weird", "xfce", "", "", "", ":0"}, Desktop::Xfce},
        DetectCase {"DesktopSessionLast", {"", "", "cinnamon", "", "", ":0"}, Desktop::Cinnamon},
        DetectCase {"DesktopSessionAsPath", {"", "", "/usr/share/xsessions/plasma", "", "", ":0"},
            Desktop::Plasma},
        DetectCase {"DesktopSessionAsFile", {"", "", "lxqt.desktop", "", "", ":0"}, Desktop::Lxqt},
        DetectCase {"I3OnX", {"i3", "i3", "i3", "", "", ":0"}, Desktop::X11Root},
        DetectCase {"OpenboxOnX", {"", "", "openbox", "", "", ":1"}, Desktop::X11Root},
        DetectCase {"WindowManagerWithoutDisplay", {"i3", "", "", "", "", ""}, Desktop::None},
        DetectCase {
            "UnknownWayland", {"Weird", "", "", "wayland-0", "", ":0"}, Desktop::LayerShell},
        DetectCase {"Hyprland", {"Hyprland", "", "", "wayland-0", "", ""}, Desktop::LayerShell},
        DetectCase {"RiverSession", {"", "", "river", "wayland-1", "", ""}, Desktop::LayerShell},
        DetectCase {"Lxde", {"LXDE", "", "LXDE", "", "", ":0"}, Desktop::Lxde},
        DetectCase {"UnknownNameOnX", {"Weird", "", "", "", "", ":0"}, Desktop::X11Root},
        DetectCase {"KnownDesktopBeatsSwaySocket",
            {"GNOME", "", "", "wayland-0", "/tmp/sway.sock", ""}, Desktop::Gnome},
        DetectCase {"EmptyListEntries", {"::XFCE:", "", "", "", "", ""}, Desktop::Xfce}),
    [](const testing::TestParamInfo<DetectCase> &p) { return std::string(p.param.name); });

TEST(DetectProcess, ReadsTheSixVariables)
{
    setenv("XDG_CURRENT_DESKTOP", "LXQt", 1);
    setenv("XDG_SESSION_DESKTOP", "s", 1);
    setenv("DESKTOP_SESSION", "d", 1);
    setenv("WAYLAND_DISPLAY", "w", 1);
    setenv("SWAYSOCK", "k", 1);
    setenv("DISPLAY", ":9", 1);
    const DesktopEnvironment env = processDesktopEnvironment();
    EXPECT_EQ(env.xdgCurrentDesktop, "LXQt");
    EXPECT_EQ(env.xdgSessionDesktop, "s");
    EXPECT_EQ(env.desktopSession, "d");
    EXPECT_EQ(env.waylandDisplay, "w");
    EXPECT_EQ(env.swaySock, "k");
    EXPECT_EQ(env.display, ":9");
    unsetenv("SWAYSOCK");
    EXPECT_EQ(processDesktopEnvironment().swaySock, "");
}

} // namespace
