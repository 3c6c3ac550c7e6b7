#include "platform/linux/wallpaper/compose.h"

#include "platform/common/xdg_folders.h"
#include "platform/linux/regular_file.h"
#include "platform/linux/wallpaper/bitmap_scale.h"

#include <QImageReader>
#include <QPainter>

#include <png.h>

#include <bit>
#include <cerrno>
#include <cstring>
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

/** Where libpng's output goes: the file, in the program's own write loop. */
struct PngSink
{
    int fd;
};

void pngWrite(png_structp png, png_bytep data, png_size_t size)
{
    const int fd = static_cast<PngSink *>(png_get_io_ptr(png))->fd;
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            png_error(png, "write failed"); // back to encodeRows' setjmp
        data += n;
        size -= static_cast<png_size_t>(n);
    }
}

void pngFlush(png_structp)
{
}

/**
 * libpng's part on its own, owning no C++ object: its errors jump back to the setjmp here.
 * Rows of 4 bytes a pixel: red, green, blue and alpha or filler (or blue first when
 * `blueFirst`), the fourth byte dropped unless `alpha`.
 */
bool encodeRows(png_structp png, png_infop info, PngSink *sink, const png_const_bytep *rows,
    png_uint_32 width, png_uint_32 height, bool alpha, bool blueFirst, int level)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, sink, pngWrite, pngFlush);
    png_set_IHDR(png, info, width, height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_buffer_size(png, 1 << 17);
    png_write_info(png, info);
    if (!alpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    if (blueFirst)
        png_set_bgr(png);
    for (png_uint_32 y = 0; y < height; ++y)
        png_write_row(png, rows[y]);
    png_write_end(png, info);
    return true;
}

} // namespace

bool writePng(int fd, const QImage &image, int level)
{
    if (image.isNull() || fd < 0)
        return false;
    const bool alpha = image.hasAlphaChannel();
    // 32-bit words 0xAARRGGBB lie in memory blue first on a little-endian machine.
    constexpr bool littleEndian = std::endian::native == std::endian::little;
    QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (!littleEndian)
        format = alpha ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888;
    const QImage pixels = image.convertToFormat(format);
    if (pixels.isNull())
        return false;
    std::vector<png_const_bytep> rows(static_cast<std::size_t>(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y)
        rows[static_cast<std::size_t>(y)] = pixels.constScanLine(y);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    PngSink sink {fd};
    const bool written = info
        && encodeRows(png, info, &sink, rows.data(), static_cast<png_uint_32>(pixels.width()),
            static_cast<png_uint_32>(pixels.height()), alpha, littleEndian, level);
    png_destroy_write_struct(&png, &info);
    return written;
}

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

void composeWallpaperInto(QImage &out, const QImage &picture, const DeskPlacement &placement)
{
    const QSize screen = out.size();
    if (picture.isNull()) {
        out.fill(Qt::black);
        return;
    }
    if (placement.kind == PlacementKind::Stretch) {
        const QImage scaled = picture.size() == screen
            ? picture
            : picture.scaled(screen, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (!scaled.hasAlphaChannel()) {
            const QImage rows = scaled.convertToFormat(QImage::Format_RGB32);
            const auto bytes = static_cast<std::size_t>(screen.width()) * 4u;
            for (int y = 0; y < screen.height(); ++y)
                std::memcpy(out.scanLine(y), rows.constScanLine(y), bytes);
            return;
        }
        out.fill(Qt::black);
        QPainter painter(&out);
        painter.drawImage(0, 0, scaled);
        return;
    }

    out.fill(Qt::black);
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
}

QImage composeWallpaper(const QImage &picture, QSize screen, const DeskPlacement &placement)
{
    QImage out(screen, QImage::Format_RGB32);
    if (!out.isNull())
        composeWallpaperInto(out, picture, placement);
    return out;
}

QImage imageArea(QImage &image, const QRect &area)
{
    const QRect inside = area & image.rect();
    if (inside.isEmpty() || image.depth() != 32)
        return {};
    return QImage(image.scanLine(inside.y()) + static_cast<std::ptrdiff_t>(inside.x()) * 4,
        inside.width(), inside.height(), image.bytesPerLine(), image.format());
}

void composeOnMonitorsInto(QImage &out, const QImage &picture, const std::vector<QRect> &monitors,
    const DeskPlacement &placement)
{
    if (monitors.size() == 1 && monitors.front() == out.rect()) {
        composeWallpaperInto(out, picture, placement);
        return;
    }
    out.fill(Qt::black);
    for (const QRect &monitor : monitors) {
        // each monitor's area drawn in place (the part on the screen)
        if (monitor.isEmpty())
            continue;
        if ((monitor & out.rect()) == monitor) {
            QImage area = imageArea(out, monitor);
            composeWallpaperInto(area, picture, placement);
        } else {
            QPainter painter(&out);
            painter.drawImage(
                monitor.topLeft(), composeWallpaper(picture, monitor.size(), placement));
        }
    }
}

QImage composeOnMonitors(const QImage &picture, QSize screen, const std::vector<QRect> &monitors,
    const DeskPlacement &placement)
{
    QImage out(screen, QImage::Format_RGB32);
    if (!out.isNull())
        composeOnMonitorsInto(out, picture, monitors, placement);
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
    // Replaced whole by the rename, but not waited for on the disk: the picture is made again
    // from its source at the next change.
    const bool written = writePng(fd, image);
    ::close(fd);
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
