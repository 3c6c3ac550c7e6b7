#include "compose.h"

#include "bitmap_scale.h"
#include "common/xdg_folders.h"
#include "linux/regular_file.h"

#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::desk {

namespace {

bool makeDirectories(const std::string &path)
{
    std::string partial;
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto slash = path.find('/', start);
        partial = path.substr(0, slash);
        if (!partial.empty() && ::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    struct stat info
    {
    };
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

/** Modification time in nanoseconds, or nothing when the file is missing. */
/** The files named `prefix` N ".png" in `directory`, with their N. */
std::vector<std::pair<unsigned long long, std::string>> numberedCopies(
    const std::string &directory, const std::string &prefix)
{
    std::vector<std::pair<unsigned long long, std::string>> copies;
    DIR *dir = ::opendir(directory.c_str());
    if (!dir)
        return copies;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (!name.starts_with(prefix) || !name.ends_with(".png"))
            continue;
        const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        // up to 18 digits, so that one more still fits
        if (digits.empty() || digits.size() > 18
            || digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        copies.emplace_back(std::stoull(std::string(digits)), std::string(name));
    }
    ::closedir(dir);
    return copies;
}

} // namespace

bool openPicture(QFile &file, const std::string &path)
{
    // byte for byte: Qt's own file names cannot carry every Linux name
    const int fd = openRegularFile(path);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

QImage loadPicture(const std::string &path, QSize scaleTo)
{
    if (path.empty())
        return {};
    if (scaleTo.isValid()) {
        // the usual case, a large bitmap stretched: shrunk while it is read
        QImage shrunk = readBitmapShrunk(path, scaleTo);
        if (!shrunk.isNull())
            return shrunk;
    }
    QFile file;
    if (!openPicture(file, path))
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (scaleTo.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        // A decoder that scales (JPEG) saves most of the work and memory of a large picture;
        // keep it from turning a picture the wrong way round under a rotation tag.
        const QSize full = reader.size();
        if (full.isValid() && full.width() >= scaleTo.width() && full.height() >= scaleTo.height()
            && !(reader.transformation() & QImageIOHandler::TransformationRotate90))
            reader.setScaledSize(scaleTo);
    }
    QImage image;
    if (!reader.read(&image))
        return {};
    return image;
}

QImage composeWallpaper(const QImage &picture, QSize screen, const DeskPlacement &placement)
{
    QImage out(screen, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(Qt::black);
    if (picture.isNull())
        return out;

    if (placement.kind == PlacementKind::Stretch) {
        QImage scaled = picture.size() == screen
            ? picture
            : picture.scaled(screen, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!scaled.hasAlphaChannel())
            return scaled.convertToFormat(QImage::Format_RGB32);
        QPainter painter(&out);
        painter.drawImage(0, 0, scaled);
        return out;
    }

    QPainter painter(&out);
    switch (placement.kind) {
    case PlacementKind::Tile:
        for (int y = 0; y < screen.height(); y += picture.height()) {
            for (int x = 0; x < screen.width(); x += picture.width())
                painter.drawImage(x, y, picture);
        }
        break;
    case PlacementKind::Center: {
        // floor division keeps an odd difference one pixel to the left and the top
        const auto half = [](int diff) { return diff >= 0 ? diff / 2 : -((-diff + 1) / 2); };
        painter.drawImage(half(screen.width() - picture.width()),
            half(screen.height() - picture.height()), picture);
        break;
    }
    case PlacementKind::Origin:
        painter.drawImage(placement.x, placement.y, picture);
        break;
    case PlacementKind::Stretch:
        break;
    }
    painter.end();
    return out;
}

QImage composeOnMonitors(const QImage &picture, QSize screen, const std::vector<QRect> &monitors,
    const DeskPlacement &placement)
{
    if (monitors.size() == 1 && monitors.front() == QRect(QPoint(0, 0), screen))
        return composeWallpaper(picture, screen, placement);
    QImage out(screen, QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(Qt::black);
    QPainter painter(&out);
    for (const QRect &monitor : monitors) {
        if (!monitor.isEmpty())
            painter.drawImage(
                monitor.topLeft(), composeWallpaper(picture, monitor.size(), placement));
    }
    painter.end();
    return out;
}

QRect spannedArea(const std::vector<OutputArea> &outputs)
{
    QRect area;
    for (const OutputArea &output : outputs)
        area |= output.rect; // an empty rectangle adds nothing
    return area;
}

QImage composeSpanned(
    const QImage &picture, const std::vector<OutputArea> &outputs, const DeskPlacement &placement)
{
    const QRect area = spannedArea(outputs);
    std::vector<QRect> monitors;
    for (const OutputArea &output : outputs)
        monitors.push_back(output.rect.translated(-area.topLeft()));
    return area.isEmpty() ? QImage() : composeOnMonitors(picture, area.size(), monitors, placement);
}

QSize largestOutput(const std::vector<OutputArea> &outputs)
{
    QSize largest;
    for (const OutputArea &output : outputs) {
        const qint64 area = qint64(output.rect.width()) * output.rect.height();
        if (area > qint64(largest.width()) * largest.height() || largest.isEmpty())
            largest = output.rect.size();
    }
    return largest;
}

std::string composedPictureDirectory(const char *xdgCacheHome, const char *home)
{
    const std::string base = platform::xdgBaseFolder(xdgCacheHome, home, "/.cache");
    return base.empty() ? base : base + "/murelin";
}

std::optional<std::string> writeComposedPicture(
    const QImage &image, const std::string &directory, const std::string &tag)
{
    if (image.isNull() || directory.empty() || !makeDirectories(directory))
        return std::nullopt;
    std::string prefix = "wallpaper-";
    for (const char c : tag) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
            || (c >= '0' && c <= '9') || c == '-' || c == '_';
        prefix += plain ? c : '_';
    }
    if (!tag.empty())
        prefix += '-';
    // A new name for every picture: GNOME Shell keeps the pictures it has shown by name and
    // misses a file replaced under a name it has seen, so a name used before can bring back
    // an old picture. The one written last stays: the desktop may be showing it still.
    const auto copies = numberedCopies(directory, prefix);
    unsigned long long last = 0;
    for (const auto &copy : copies)
        last = std::max(last, copy.first);
    const std::string target = directory + "/" + prefix + std::to_string(last + 1) + ".png";

    std::string temporary = target + ".XXXXXX";
    std::vector<char> templ(temporary.begin(), temporary.end());
    templ.push_back('\0');
    const int fd = ::mkstemp(templ.data());
    if (fd < 0)
        return std::nullopt;
    temporary.assign(templ.data());
    bool written = false;
    {
        QFile file;
        if (file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            QImageWriter writer(&file, "png");
            writer.setQuality(80); // light compression: this file is read once and replaced
            written = writer.write(image) && file.flush();
            file.close();
        } else {
            ::close(fd);
        }
    }
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    for (const auto &[number, name] : copies) {
        if (number != last)
            ::unlink((directory + "/" + name).c_str());
    }
    // the two names earlier versions took turns with
    ::unlink((directory + "/" + prefix + "a.png").c_str());
    ::unlink((directory + "/" + prefix + "b.png").c_str());
    return target;
}

std::string absolutePath(const std::string &path)
{
    if (path.empty() || path.front() == '/')
        return path;
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return path;
        buffer.resize(buffer.size() * 2);
    }
    std::string base(buffer.data());
    if (base.empty() || base.back() != '/')
        base += '/';
    return base + path;
}

} // namespace platform::desk
