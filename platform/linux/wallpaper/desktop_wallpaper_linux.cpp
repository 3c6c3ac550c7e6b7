#include <platform/desktop_wallpaper.h>
#include <platform/registry.h>

#include "backends.h"
#include "compose.h"
#include "desk_apply.h"
#include "x11_root.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>

#include <cstdlib>
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

namespace platform {

namespace desk {

namespace {

/** The picture's format when Qt can read it ("png", "jpeg", ...); "" otherwise. */
std::string readableFormat(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return {};
    const QByteArray format = reader.format();
    return format.isEmpty() ? std::string("unknown") : format.toStdString();
}

/** Formats every desktop's own loader reads; anything else we convert. */
bool desktopsReadFormat(const std::string &format)
{
    return format == "png" || format == "jpeg" || format == "bmp" || format == "gif";
}

/** Whether `desktop` can be handed `path` by name, exactly. */
bool carriesName(Desktop desktop, const std::string &path)
{
    switch (desktop) {
    case Desktop::Gnome:
    case Desktop::Cinnamon:
        return true; // a percent-encoded URI carries any bytes
    case Desktop::Mate:
    case Desktop::Xfce:
    case Desktop::Plasma:
    case Desktop::Lxqt:
        return isUtf8(path); // D-Bus and Qt strings
    case Desktop::Sway:
        return swayCommand(path, NativeMode::Stretch).has_value();
    case Desktop::X11Root:
    case Desktop::None:
        return false;
    }
    return false;
}

bool handOver(Desktop desktop, const std::string &path, NativeMode mode)
{
    switch (desktop) {
    case Desktop::Gnome:
        return setGSettingsWallpaper(GSettingsFlavour::Gnome, path, mode);
    case Desktop::Cinnamon:
        return setGSettingsWallpaper(GSettingsFlavour::Cinnamon, path, mode);
    case Desktop::Mate:
        return setGSettingsWallpaper(GSettingsFlavour::Mate, path, mode);
    case Desktop::Xfce: {
        const std::string output = x11PrimaryOutputName();
        return setXfconfWallpaper(path, mode, output, x11CurrentWorkspace());
    }
    case Desktop::Plasma:
        return setPlasmaWallpaper(path, mode);
    case Desktop::Sway: {
        const auto command = swayCommand(path, mode);
        return command && runCommand(*command, commandTimeoutMs);
    }
    case Desktop::Lxqt:
        return runCommand(pcmanfmQtCommand(path, mode), commandTimeoutMs);
    case Desktop::X11Root:
    case Desktop::None:
        return false;
    }
    return false;
}

bool removeWallpaper(Desktop desktop)
{
    switch (desktop) {
    case Desktop::X11Root:
        return setX11RootWallpaper([](QSize size) {
            QImage black(size, QImage::Format_RGB32);
            black.fill(Qt::black);
            return black;
        });
    case Desktop::Gnome:
        return setGSettingsWallpaper(GSettingsFlavour::Gnome, {}, NativeMode::Stretch);
    case Desktop::Cinnamon:
        return setGSettingsWallpaper(GSettingsFlavour::Cinnamon, {}, NativeMode::Stretch);
    case Desktop::Mate:
        return setGSettingsWallpaper(GSettingsFlavour::Mate, {}, NativeMode::Stretch);
    case Desktop::Xfce:
        return setXfconfWallpaper({}, NativeMode::Stretch, {}, 0);
    case Desktop::Sway:
        return runCommand(
            {"swaymsg", "output", "*", "bg", "#000000", "solid_color"}, commandTimeoutMs);
    case Desktop::Plasma:
    case Desktop::Lxqt:
    case Desktop::None:
        return false;
    }
    return false;
}

} // namespace

QSize composingScreenSize()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            const QSize size
                = (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
            if (!size.isEmpty())
                return size;
        }
    }
    if (const auto size = x11ScreenSize(); size && !size->isEmpty())
        return *size;
    return {1920, 1080};
}

bool applyDeskWallpaper(Desktop desktop, const std::string &rawPath, const DeskPlacement &placement)
{
    if (desktop == Desktop::None)
        return false;
    if (rawPath.empty())
        return removeWallpaper(desktop);
    const std::string path = absolutePath(rawPath);

    if (desktop == Desktop::X11Root) {
        return setX11RootWallpaper([&](QSize screen) {
            const QSize decodeAt = placement.kind == PlacementKind::Stretch ? screen : QSize();
            const QImage picture = loadPicture(path, decodeAt);
            return picture.isNull() ? QImage() : composeWallpaper(picture, screen, placement);
        });
    }

    const std::string format = readableFormat(path);
    if (format.empty())
        return false; // the desktop would show nothing, or its own fallback
    const std::optional<NativeMode> mode = nativeMode(placement);
    if (mode && desktopsReadFormat(format) && carriesName(desktop, path))
        return handOver(desktop, path, *mode);

    const QSize screen = composingScreenSize();
    const QImage picture
        = loadPicture(path, placement.kind == PlacementKind::Stretch ? screen : QSize());
    if (picture.isNull())
        return false;
    const auto composed = writeComposedPicture(composeWallpaper(picture, screen, placement),
        composedPictureDirectory(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME")));
    if (!composed || !carriesName(desktop, *composed))
        return false;
    return handOver(desktop, *composed, NativeMode::Stretch);
}

} // namespace desk

namespace {

std::function<bool(const std::string &)> &wallpaperHook()
{
    static std::function<bool(const std::string &)> hook;
    return hook;
}

} // namespace

bool setDeskWallpaper(const std::string &path)
{
    if (const auto &hook = wallpaperHook())
        return hook(path);
    bool ok = false;
    try {
        const desk::DesktopValues values = desk::readDesktopValues(currentUserRegistry());
        ok = desk::applyDeskWallpaper(desk::detectDesktop(desk::processDesktopEnvironment()), path,
            desk::placementFromDesktopValues(values));
    } catch (...) {
        ok = false; // the caller does not look at the result; a failure must not end it
    }
    // A large picture's buffers are freed by now, but the allocator keeps blocks of that size
    // in the heap; a program that then sits idle in the tray should give them back.
    malloc_trim(0);
    return ok;
}

void setDeskWallpaperHook(std::function<bool(const std::string &path)> hook)
{
    wallpaperHook() = std::move(hook);
}

} // namespace platform
