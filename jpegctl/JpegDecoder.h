#pragma once

#include "jpegctl/JpegOptions.h"
#include "jpegctl/MemoryStream.h"

#include <cstdint>
#include <functional>

namespace jpegctl {

/**
 * True when a decode that has reached `percent` (of its rows) reports progress, given the
 * percentage it reported last: the percentage has changed and is a multiple of `step`.
 * 0 percent is never reported. A step of 0 has no multiples among 1..100 and a step above
 * 100 none either, so such a step reports nothing.
 */
bool progressDue(unsigned percent, unsigned lastReported, TDelta step);

/**
 * Decodes the JPEG data of `source` (read from position 0; only its position changes) into a
 * complete Windows bitmap file image in `bmp` (replacing its content), with the decode
 * properties of `options`. `onProgress`, when set, is called while rows are decoded, each
 * time progressDue() says so; an exception it throws ends the decode and passes through.
 *
 * Every failure of the codec, fatal error or warning alike, throws EJPEGException with the
 * codec's formatted text; `bmp` may then hold a partial image. The decompressor and all of
 * its memory are released on every way out. Nothing is printed.
 */
void decodeJpegToBmp(MemoryStream &source, const JpegOptions &options, MemoryStream &bmp,
    TDelta progressStep = 10, const std::function<void()> &onProgress = {});

} // namespace jpegctl
