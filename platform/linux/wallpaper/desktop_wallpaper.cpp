#include <platform/desktop_wallpaper.h>
#include <platform/registry.h>

#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/bitmap_scale.h"
#include "platform/linux/wallpaper/compose.h"
#include "platform/linux/wallpaper/desk_apply.h"
#include "platform/linux/wallpaper/desk_session.h"
#include "platform/linux/wallpaper/desktops.h"
#include "platform/linux/wallpaper/x11_root.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>

#include <cstdlib>

namespace platform {

namespace desk {

namespace {

/** The picture's format when Qt can read it ("png", "jpeg", ...); "" otherwise. */
std::string readableFormat(const std::string &path)
{
    QFile file;
    if (!openPicture(file, path))
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return {};
    const QByteArray format = reader.format();
    return format.isEmpty() ? std::string("unknown") : format.toStdString();
}

/** Whether a desktop that loads pictures with `loader` is sure to read `format`. */
bool loaderReads(Loader loader, const std::string &format)
{
    if (format == "png" || format == "jpeg")
        return true;
    return loader == Loader::Qt && (format == "bmp" || format == "gif");
}

std::string cacheDirectory()
{
    return composedPictureDirectory(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

/** `image` written to the cache under `tag`, when the desktop can be handed its name. */
std::optional<std::string> cachedCopy(
    const DesktopRow &row, const QImage &image, const std::string &tag)
{
    auto written = writeComposedPicture(image, cacheDirectory(), tag);
    if (!written || !row.carries(*written))
        return std::nullopt;
    return written;
}

/**
 * A plain bitmap stretched over each of `monitors` straight from its file, the rest of
 * `screen` black: each pixel is read, scaled and stored once. False for any other picture.
 */
bool scaledOnMonitors(const std::string &path, QImage &screen, const std::vector<QRect> &monitors)
{
    if (monitors.size() != 1 || monitors.front() != screen.rect())
        screen.fill(Qt::black);
    for (const QRect &monitor : monitors) {
        if (monitor.isEmpty())
            continue;
        if ((monitor & screen.rect()) != monitor)
            return false;
        QImage area = imageArea(screen, monitor);
        if (!scaleBitmapInto(path, area))
            return false;
    }
    return true;
}

} // namespace

std::vector<OutputArea> outputAreas()
{
    std::vector<OutputArea> outputs;
    // On X11 the monitors are asked directly, named as the desktops name them.
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (!wayland || !*wayland)
        outputs = x11Monitors();
    if (outputs.empty() && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        for (const QScreen *screen : QGuiApplication::screens()) {
            const qreal ratio = screen->devicePixelRatio();
            const QRect area = screen->geometry();
            const QRect pixels((QPointF(area.topLeft()) * ratio).toPoint(),
                (QSizeF(area.size()) * ratio).toSize());
            if (!pixels.isEmpty())
                outputs.push_back({screen->name().toStdString(), pixels});
        }
    }
    if (outputs.empty())
        outputs = x11Monitors();
    if (wayland && *wayland && QGuiApplication::platformName() != QLatin1String("wayland")
        && !outputs.empty()) {
        // Seen through XWayland the outputs have names the compositor does not know: one
        // picture for all, at the largest one's size.
        outputs = {{{}, QRect(QPoint(0, 0), largestOutput(outputs))}};
    }
    if (outputs.empty())
        outputs.push_back({{}, QRect(0, 0, 1920, 1080)});
    return outputs;
}

ScreenLayout screenLayout()
{
    ScreenLayout layout;
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (!wayland || !*wayland)
        layout.screen = x11ScreenSize().value_or(QSize());
    layout.outputs = outputAreas();
    return layout;
}

bool applyDeskWallpaper(Desktop desktop, const std::string &path, const DeskPlacement &placement)
{
    if (path.empty()) {
        const DesktopRow &row = desktopRow(desktop);
        return desktop != Desktop::None && row.remove && row.remove();
    }
    return layDeskWallpaper(desktop, path, placement).has_value();
}

std::optional<std::pair<Handed, ScreenLayout>> layDeskWallpaper(
    Desktop desktop, const std::string &rawPath, const DeskPlacement &placement)
{
    const DesktopRow &row = desktopRow(desktop);
    if (desktop == Desktop::None || rawPath.empty())
        return std::nullopt;
    const std::string path = absolutePath(rawPath);
    const bool stretched = placement.kind == PlacementKind::Stretch;
    const ScreenLayout layout = screenLayout();
    const std::vector<OutputArea> &outputs = layout.outputs;
    const auto laid = [&layout](Handed handed, bool ok) {
        return ok ? std::optional(std::pair(handed, layout)) : std::nullopt;
    };

    if (row.pictures == Pictures::RootPixmap) {
        return laid(Handed::RootPixmap,
            setX11RootWallpaper([&](QImage &screen, const std::vector<QRect> &monitors) {
                if (stretched && scaledOnMonitors(path, screen, monitors))
                    return true;
                QSize largest;
                for (const QRect &monitor : monitors)
                    largest = largest.expandedTo(monitor.size());
                const QImage picture = loadPicture(path, stretched ? largest : QSize());
                if (picture.isNull())
                    return false;
                composeOnMonitorsInto(screen, picture, monitors, placement);
                return true;
            }));
    }
    if (!row.hand)
        return std::nullopt;

    const std::string format = readableFormat(path);
    if (format.empty())
        return std::nullopt; // the desktop would show nothing, or its own fallback
    // One picture for several monitors, drawn across them: composed for each one's corner.
    const bool spanned = row.pictures == Pictures::OneForAll && row.drawsSpan && outputs.size() > 1;
    const std::optional<NativeMode> mode = nativeMode(placement);
    if (!spanned && mode && row.draws(*mode) && row.carries(path)) {
        if (loaderReads(row.loader, format))
            return laid(Handed::Native, row.hand({{{}, path}}, *mode));
        const QImage picture = loadPicture(path);
        const auto copy = picture.isNull() ? std::nullopt : cachedCopy(row, picture, {});
        return laid(Handed::Native, copy && row.hand({{{}, *copy}}, *mode));
    }

    // Composed by us and set stretched: per output where the desktop takes one per output.
    QImage picture; // read whole only when a plain bitmap cannot be scaled from its file
    const auto loaded = [&] {
        if (picture.isNull())
            picture = loadPicture(path, stretched ? largestOutput(outputs) : QSize());
        return !picture.isNull();
    };
    if (spanned) {
        QImage across;
        if (stretched) {
            const QRect area = spannedArea(outputs);
            std::vector<QRect> monitors;
            for (const OutputArea &output : outputs)
                monitors.push_back(output.rect.translated(-area.topLeft()));
            across = QImage(area.size(), QImage::Format_RGB32);
            if (across.isNull() || !scaledOnMonitors(path, across, monitors))
                across = QImage();
        }
        if (across.isNull() && loaded())
            across = composeSpanned(picture, outputs, placement);
        const auto composed = across.isNull() ? std::nullopt : cachedCopy(row, across, {});
        return laid(Handed::Spanned, composed && row.hand({{{}, *composed}}, NativeMode::Span));
    }
    const auto composed = [&](QSize size) {
        if (stretched) {
            QImage out(size, QImage::Format_RGB32);
            if (!out.isNull() && scaleBitmapInto(path, out))
                return out;
        }
        return loaded() ? composeWallpaper(picture, size, placement) : QImage();
    };
    std::vector<OutputPicture> pictures;
    if (row.pictures == Pictures::PerOutput) {
        for (const OutputArea &output : outputs) {
            const auto copy = cachedCopy(row, composed(output.rect.size()), output.name);
            if (!copy)
                return std::nullopt;
            pictures.push_back({output.name, *copy});
        }
    } else {
        const auto copy = cachedCopy(row, composed(largestOutput(outputs)), {});
        if (!copy)
            return std::nullopt;
        pictures.push_back({{}, *copy});
    }
    return laid(Handed::Composed, row.hand(pictures, NativeMode::Stretch));
}

} // namespace desk

bool setDeskWallpaper(const std::string &path)
{
    try {
        const desk::DesktopValues values = desk::readDesktopValues(currentUserRegistry());
        return desk::requestDeskWallpaper(desk::detectDesktop(desk::processDesktopEnvironment()),
            path, desk::placementFromDesktopValues(values));
    } catch (...) {
        return false; // the caller does not look at the result; a failure must not end it
    }
}
} // namespace platform
