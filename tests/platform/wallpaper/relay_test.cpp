// Which changes of the screens leave a laid picture wrong, per desktop and per way it was
// handed over.
#include "platform/linux/wallpaper/desk_session.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform::desk;

namespace {

const OutputArea a {"A", {0, 0, 800, 600}};
const OutputArea b {"B", {800, 0, 640, 400}};
const ScreenLayout one {{1440, 600}, {a}};
const ScreenLayout two {{1440, 600}, {a, b}};
const ScreenLayout moved {{1440, 600}, {a, {"B", {800, 200, 640, 400}}}};
const ScreenLayout resized {{1440, 600}, {a, {"B", {800, 0, 1024, 768}}}};
const ScreenLayout renamed {{1440, 600}, {a, {"C", {800, 0, 640, 400}}}};
const ScreenLayout scaledDown {{1440, 600}, {{"A", {0, 0, 400, 300}}}}; // scale 2, one monitor
const ScreenLayout largerScreen {{1600, 800}, {a}};
const ScreenLayout smallerSecond {{1440, 600}, {a, {"B", {800, 0, 320, 200}}}};

struct RelayCase
{
    const char *name;
    Desktop desktop;
    Handed handed;
    ScreenLayout before;
    ScreenLayout after;
    bool relay;
};

class Relay : public testing::TestWithParam<RelayCase>
{
};

TEST_P(Relay, OnlyWhereThePictureIsLeftWrong)
{
    const RelayCase &c = GetParam();
    EXPECT_EQ(needsRelay(desktopRow(c.desktop), c.handed, c.before, c.after), c.relay);
}

using D = Desktop;
using H = Handed;
INSTANTIATE_TEST_SUITE_P(Table, Relay,
    testing::Values(RelayCase {"NothingChanged", D::X11Root, H::RootPixmap, two, two, false},
        RelayCase {"RootNewMonitor", D::X11Root, H::RootPixmap, one, two, true},
        RelayCase {"RootMonitorMoved", D::X11Root, H::RootPixmap, two, moved, true},
        RelayCase {"RootScreenGrew", D::X11Root, H::RootPixmap, one, largerScreen, true},
        RelayCase {"RootScaled", D::X11Root, H::RootPixmap, one, scaledDown, true},
        RelayCase {"SpannedMonitorMoved", D::Gnome, H::Spanned, two, moved, true},
        RelayCase {"SpannedBackToOne", D::Gnome, H::Spanned, two, one, true},
        RelayCase {"GnomeOwnModeSecondMonitor", D::Gnome, H::Native, one, two, true},
        RelayCase {"GnomeOwnModeResized", D::Gnome, H::Native, one, scaledDown, false},
        RelayCase {"GnomeComposedSmallerSecondMonitor", D::Gnome, H::Composed, one, two, true},
        RelayCase {"GnomeComposedResized", D::Gnome, H::Composed, one, largerScreen, false},
        RelayCase {"LxqtOwnModeSecondMonitor", D::Lxqt, H::Native, one, two, false},
        RelayCase {"LxqtComposedLargestSame", D::Lxqt, H::Composed, one, smallerSecond, false},
        RelayCase {"LxqtComposedLargestGrew", D::Lxqt, H::Composed, two, resized, true},
        RelayCase {"SwayComposedNewOutput", D::Sway, H::Composed, one, two, true},
        RelayCase {"SwayComposedOutputGone", D::Sway, H::Composed, two, one, true},
        RelayCase {"SwayComposedResized", D::Sway, H::Composed, two, resized, true},
        RelayCase {"SwayComposedRenamed", D::Sway, H::Composed, two, renamed, true},
        RelayCase {"SwayComposedOnlyMoved", D::Sway, H::Composed, two, moved, false},
        RelayCase {"SwayOwnModeNewOutput", D::Sway, H::Native, one, two, false},
        RelayCase {"SwaybgOwnModeNewOutput", D::LayerShell, H::Native, one, two, false},
        RelayCase {"SwaybgComposedScaled", D::LayerShell, H::Composed, one, scaledDown, true},
        RelayCase {"XfceOwnModeNewMonitor", D::Xfce, H::Native, one, two, true},
        RelayCase {"XfceOwnModeKnownResized", D::Xfce, H::Native, two, resized, false},
        RelayCase {"XfceOwnModeMonitorGone", D::Xfce, H::Native, two, one, false},
        RelayCase {"PlasmaOwnModeNewScreen", D::Plasma, H::Native, one, two, true},
        RelayCase {"PlasmaComposedResized", D::Plasma, H::Composed, two, resized, true}),
    [](const testing::TestParamInfo<RelayCase> &p) { return std::string(p.param.name); });

} // namespace
