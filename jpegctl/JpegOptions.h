#pragma once

#include <cstdint>
#include <stdexcept>

/** Colour reduction of a decode. */
enum class TNumOfColors : std::uint8_t { _16 = 0, _256 = 1, TrueColor = 2 };

/** Inverse-DCT method of a decode. */
enum class TDCTMethod : std::uint8_t { Integ = 0, FastInteg = 1, FloatingPoint = 2 };

/**
 * Dithering used with colour reduction. The order (FS before Ordered) is not the codec's
 * order of dither modes: map by name, never by ordinal.
 */
enum class TDither : std::uint8_t { None = 0, FS = 1, Ordered = 2 };

/** Percentage step of the progress event; 1..100 by intent, one unsigned byte. */
using TDelta = std::uint8_t;

/** Stored quality; 0..100 by intent, one unsigned byte. */
using t_jpeg_quality = std::uint8_t;

/** The exception of every decode failure; its message is the codec's formatted text. */
class EJPEGException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

namespace jpegctl {

/** The decode properties that reach the decompressor's parameters. */
struct JpegOptions
{
    TNumOfColors NumOfColors = TNumOfColors::_256;
    TDCTMethod DCTMethod = TDCTMethod::Integ;
    TDither Dither = TDither::FS;
    bool FastProcessing = false;
    bool GrayScale = false;
    bool NoSmooth = false;
    bool OnePass = false;
};

} // namespace jpegctl
