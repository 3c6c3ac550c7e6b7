#include "platform/linux/wallpaper/desktops.h"

#include "platform/linux/wallpaper/desk_apply.h"
#include "platform/linux/wallpaper/x11_root.h"

#include <QImage>

#include <array>

namespace platform::desk {

namespace {

// Names as desktops and session files spell them, lower case.
constexpr std::array<std::string_view, 16> windowManagerNames {"i3", "i3-with-shmlog", "openbox",
    "fluxbox", "blackbox", "awesome", "bspwm", "dwm", "xmonad", "herbstluftwm", "icewm",
    "icewm-session", "jwm", "windowmaker", "qtile", "spectrwm"};
constexpr std::array<std::string_view, 13> gnomeNames {"gnome", "gnome-classic", "gnome-xorg",
    "gnome-wayland", "gnome-flashback", "ubuntu", "ubuntu-xorg", "ubuntu-wayland", "unity",
    "budgie", "budgie-desktop", "pop", "pantheon"};
constexpr std::array<std::string_view, 4> cinnamonNames {
    "x-cinnamon", "cinnamon", "cinnamon2d", "cinnamon-wayland"};
constexpr std::array<std::string_view, 1> mateNames {"mate"};
constexpr std::array<std::string_view, 3> xfceNames {"xfce", "xfce4", "xubuntu"};
constexpr std::array<std::string_view, 5> plasmaNames {
    "kde", "plasma", "plasmawayland", "plasmax11", "kde-plasma"};
constexpr std::array<std::string_view, 1> swayNames {"sway"};
constexpr std::array<std::string_view, 2> lxqtNames {"lxqt", "lubuntu"};
constexpr std::array<std::string_view, 3> lxdeNames {"lxde", "lxde-pi", "lxsession"};
constexpr std::array<std::string_view, 7> layerShellNames {
    "river", "hyprland", "wayfire", "labwc", "niri", "dwl", "hikari"};

bool never(const std::string &)
{
    return false;
}
bool always(const std::string &)
{
    return true;
}
bool utf8Names(const std::string &path)
{
    return isUtf8(path); // D-Bus, GVariant and Qt strings
}
bool swayNamesPath(const std::string &path)
{
    return swayCommand(path, NativeMode::Stretch).has_value();
}

/** The picture meant for every output (the first one when each has its own). */
const std::string &pictureForAll(const std::vector<OutputPicture> &pictures)
{
    for (const OutputPicture &picture : pictures) {
        if (picture.output.empty())
            return picture.path;
    }
    return pictures.front().path;
}

template <GSettingsFlavour Flavour>
bool handGSettings(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    return !pictures.empty() && setGSettingsWallpaper(Flavour, pictureForAll(pictures), mode);
}
template <GSettingsFlavour Flavour> bool removeGSettings()
{
    return setGSettingsWallpaper(Flavour, {}, NativeMode::Stretch);
}

bool handXfce(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    std::vector<std::string> monitors;
    for (const OutputArea &monitor : x11Monitors())
        monitors.push_back(monitor.name);
    return !pictures.empty() && setXfconfWallpaper(pictures, mode, monitors, x11WorkspaceCount());
}
bool removeXfce()
{
    return setXfconfWallpaper({}, NativeMode::Stretch, {}, 0);
}

bool handPlasma(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    // Plasma knows its screens by their corner, not by their name.
    const std::vector<OutputArea> outputs = outputAreas();
    std::vector<PlasmaImage> images;
    for (const OutputPicture &picture : pictures) {
        PlasmaImage image {fileUri(picture.path), 0, 0};
        for (const OutputArea &output : outputs) {
            if (output.name == picture.output) {
                image.x = output.rect.x();
                image.y = output.rect.y();
            }
        }
        images.push_back(std::move(image));
    }
    return setPlasmaWallpaper(images, mode);
}

bool handSway(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    bool ok = !pictures.empty();
    for (const OutputPicture &picture : pictures) {
        const auto command
            = swayCommand(picture.path, mode, picture.output.empty() ? "*" : picture.output);
        ok = command && runCommand(*command, commandTimeoutMs) && ok;
    }
    return ok;
}
bool removeSway()
{
    return runCommand({"swaymsg", "output", "*", "bg", "#000000", "solid_color"}, commandTimeoutMs);
}

bool handLxqt(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    return !pictures.empty()
        && runCommand(pcmanfmQtCommand(pictureForAll(pictures), mode), commandTimeoutMs);
}
bool removeLxqt()
{
    return runCommand({"pcmanfm-qt", "--wallpaper-mode", "color"}, commandTimeoutMs);
}

bool handLxde(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    return !pictures.empty()
        && runCommand(pcmanfmCommand(pictureForAll(pictures), mode), commandTimeoutMs);
}
bool removeLxde()
{
    return runCommand({"pcmanfm", "--wallpaper-mode", "color"}, commandTimeoutMs);
}

bool removeX11Root()
{
    return setX11RootWallpaper([](QImage &screen, const std::vector<QRect> &) {
        screen.fill(Qt::black);
        return true;
    });
}

using G = GSettingsFlavour;
// clang-format off
const std::array<DesktopRow, 11> rows {{
    // desktop, short name, names, draws stretch/center/tile/span, pictures, new outputs take
    // all, loader, carries, hand, remove
    {Desktop::None, "none", {}, false, false, false, false,
        Pictures::OneForAll, false, Loader::Qt, never, nullptr, nullptr},
    {Desktop::X11Root, "x11", windowManagerNames, false, false, false, false,
        Pictures::RootPixmap, false, Loader::Qt, never, nullptr, removeX11Root},
    {Desktop::Gnome, "gnome", gnomeNames, true, true, false, true,
        Pictures::OneForAll, false, Loader::GdkPixbuf, always, handGSettings<G::Gnome>,
        removeGSettings<G::Gnome>},
    {Desktop::Cinnamon, "cinnamon", cinnamonNames, true, true, false, true,
        Pictures::OneForAll, false, Loader::GdkPixbuf, always, handGSettings<G::Cinnamon>,
        removeGSettings<G::Cinnamon>},
    {Desktop::Mate, "mate", mateNames, true, true, true, true,
        Pictures::OneForAll, false, Loader::GdkPixbuf, utf8Names, handGSettings<G::Mate>,
        removeGSettings<G::Mate>},
    {Desktop::Xfce, "xfce", xfceNames, true, true, true, false,
        Pictures::PerOutput, false, Loader::GdkPixbuf, utf8Names, handXfce, removeXfce},
    {Desktop::Plasma, "plasma", plasmaNames, true, true, false, false,
        Pictures::PerOutput, false, Loader::Qt, utf8Names, handPlasma, nullptr},
    {Desktop::Sway, "sway", swayNames, true, true, true, false,
        Pictures::PerOutput, true, Loader::GdkPixbuf, swayNamesPath, handSway, removeSway},
    {Desktop::Lxqt, "lxqt", lxqtNames, true, true, true, false,
        Pictures::OneForAll, false, Loader::Qt, utf8Names, handLxqt, removeLxqt},
    {Desktop::Lxde, "lxde", lxdeNames, true, true, true, false,
        Pictures::OneForAll, false, Loader::GdkPixbuf, utf8Names, handLxde, removeLxde},
    {Desktop::LayerShell, "layer-shell", layerShellNames, true, true, true, false,
        Pictures::PerOutput, true, Loader::GdkPixbuf, always, setSwaybgWallpaper,
        removeSwaybgWallpaper},
}};
// clang-format on

} // namespace

std::span<const DesktopRow> desktopRows()
{
    return rows;
}

const DesktopRow &desktopRow(Desktop desktop)
{
    for (const DesktopRow &row : rows) {
        if (row.desktop == desktop)
            return row;
    }
    return rows.front();
}

} // namespace platform::desk
