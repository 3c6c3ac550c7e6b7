#pragma once

#include "platform/linux/wallpaper/desk_placement.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>
#include <string>
#include <vector>

namespace platform::desk {

/** One output (monitor) of the desktop: its name and its area on the screen, in pixels. */
struct OutputArea
{
    std::string name;
    QRect rect;

    friend bool operator==(const OutputArea &, const OutputArea &) = default;
};

/**
 * Opens the picture at `path` (bytes, as they stand) into `file` for reading; false when it is
 * not a regular file that opens. A FIFO, a device or a folder is refused without waiting.
 */
bool openPicture(QFile &file, const std::string &path);

/**
 * Reads any picture Qt can decode from `path` (bytes, opened as they stand; the format is
 * taken from the content). With `scaleTo` valid, a plain bitmap larger than that is shrunk to
 * it while it is read, and a decoder that can scale while decoding (JPEG) is asked to; the
 * result may still have another size. A null image when the file cannot be opened or decoded.
 */
QImage loadPicture(const std::string &path, QSize scaleTo = {});

/**
 * The picture laid on a screen of `screen` pixels as `placement` says, on black, in
 * Format_RGB32. Parts outside the screen are cut off; transparent parts show the black.
 */
QImage composeWallpaper(const QImage &picture, QSize screen, const DeskPlacement &placement);

/** composeWallpaper drawn into `out` (Format_RGB32, the screen's size) where it stands. */
void composeWallpaperInto(QImage &out, const QImage &picture, const DeskPlacement &placement);

/**
 * A view of `area` of `image` (32 bits a pixel) that draws into `image` itself; the part of
 * `area` on the image, null when none is.
 */
QImage imageArea(QImage &image, const QRect &area);

/** composeOnMonitors drawn into `out` (Format_RGB32, the screen's size) where it stands. */
void composeOnMonitorsInto(QImage &out, const QImage &picture, const std::vector<QRect> &monitors,
    const DeskPlacement &placement);

/**
 * The picture laid on each of `monitors` (areas of a screen of `screen` pixels) as `placement`
 * says, each monitor counting from its own top-left corner; black where no monitor is.
 */
QImage composeOnMonitors(const QImage &picture, QSize screen, const std::vector<QRect> &monitors,
    const DeskPlacement &placement);

/** The smallest rectangle that holds all of `outputs`; an empty one when there are none. */
QRect spannedArea(const std::vector<OutputArea> &outputs);

/**
 * One picture over spannedArea(`outputs`), its top-left pixel the area's: each output's part
 * is the picture laid as `placement` says from that output's own top-left corner, black where
 * no output is. Shown across all monitors at once (a desktop's "spanned" mode), every monitor
 * gets what it would get on its own, pixel for pixel.
 */
QImage composeSpanned(
    const QImage &picture, const std::vector<OutputArea> &outputs, const DeskPlacement &placement);

/** The largest of `outputs` by area; the first of equals. */
QSize largestOutput(const std::vector<OutputArea> &outputs);

/** Where composed pictures go: ${XDG_CACHE_HOME:-$HOME/.cache}/murelin, "" without either. */
std::string composedPictureDirectory(const char *xdgCacheHome, const char *home);

/**
 * Saves `image` as PNG into `directory` (created when missing) under a name not used before:
 * wallpaper-N.png, or with a `tag` (an output's name, its bytes other than letters, digits, "-"
 * and "_" written as "_") wallpaper-TAG-N.png, N one more than the highest there. Of the
 * earlier ones only the last written stays. Returns the file's path, or nothing when it cannot
 * be written.
 */
std::optional<std::string> writeComposedPicture(
    const QImage &image, const std::string &directory, const std::string &tag = {});

/**
 * The zlib level of the composed pictures: the fastest that still compresses. A picture is
 * read once by the desktop and replaced at the next change; at 3840 x 2160 the levels above
 * take markedly longer for a few per cent of size (bench/png_bench prints the trade).
 */
inline constexpr int ComposedPngLevel = 1;

/**
 * Writes `image` to `fd` as an 8-bit RGB PNG (RGBA when it has an alpha channel), at zlib
 * `level` with each row's "Sub" filter. False when the file cannot be written.
 */
bool writePng(int fd, const QImage &image, int level = ComposedPngLevel);

/** A relative path made absolute against the working directory; "" stays "". */
std::string absolutePath(const std::string &path);

} // namespace platform::desk
