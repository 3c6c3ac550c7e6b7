#pragma once

#include <QImage>
#include <QSize>

#include <string>

namespace platform::desk {

/**
 * Reads an uncompressed 24- or 32-bit Windows bitmap (the pictures the list mostly holds) and
 * shrinks it to `target` in the same pass, row by row: every output pixel is the exact,
 * area-weighted mean of the source pixels it covers. Neither the file nor the full-size
 * picture is ever held in memory, which keeps a 3840 x 2160 picture from costing 33 MB.
 * A null image for any other file, for a target larger than the picture in either
 * direction, or for a file shorter than its header says; the caller then decodes it the
 * general way.
 */
QImage readBitmapShrunk(const std::string &path, QSize target);

/**
 * Lays the same kind of bitmap stretched over the whole of `into` (Format_RGB32, whose size is
 * the target), straight from the file: shrunk as readBitmapShrunk does, or enlarged by the
 * toolkit's smooth scaling over the file mapped into memory. False, with `into` in an
 * unspecified state, for any other file, for a target wider but lower than the picture (or
 * the other way round), or for a short file.
 */
bool scaleBitmapInto(const std::string &path, QImage &into);

} // namespace platform::desk
