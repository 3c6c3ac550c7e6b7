#pragma once

#include "jpegctl/src/JpegLib.h"

#include "jpegctl/JpegOptions.h"

namespace jpegctl {

/**
 * Copies the decode properties into the decompressor's parameters, after jpeg_read_header.
 * The trace level goes to 0 first; FastProcessing comes after DCTMethod and Dither and
 * overrides them; every parameter not named keeps what jpeg_read_header gave it.
 */
void ApplyOptions(j_decompress_ptr cinfo, const JpegOptions &options) noexcept;

/**
 * The processor of comment markers: reads the two-byte length through the data source and
 * discards what follows, one byte at a time. Returns TRUE: the codec goes on reading markers.
 */
boolean SkipComment(j_decompress_ptr cinfo) noexcept;

} // namespace jpegctl
