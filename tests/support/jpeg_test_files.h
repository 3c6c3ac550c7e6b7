#pragma once

// Test JPEGs made with the codec's own compressor, and a plain reference decode to check the
// bitmap writer's layout against.

#include "tests/support/temp_dir.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

enum class Kind { Colour, Grey, Cmyk, Ycck };

struct JpegRecipe
{
    int width = 37;
    int height = 23;
    Kind kind = Kind::Colour;
    int quality = 85;
    int lumaH = 2, lumaV = 2; // sampling of the first component; chroma is 1 x 1
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0; // a restart marker every this many MCU rows
    std::vector<std::string> comments; // comment markers written after the frame header
    int densityUnit = 1, xDensity = 72, yDensity = 72;
};

/** The default recipe for a picture of `width` x `height` of `kind`. */
JpegRecipe sized(int width, int height, Kind kind = Kind::Colour);

/** A JPEG of a busy, deterministic picture (gradients with noise) as the recipe asks. */
Bytes makeJpeg(const JpegRecipe &recipe);

/** What the codec delivers for a decode with these parameters, row by row, top-down. */
struct RawDecode
{
    unsigned width = 0, height = 0, components = 0;
    std::vector<Bytes> rows;
    std::vector<std::uint8_t> colormap[3]; // per colour component, when quantised
    int colours = 0;
};

RawDecode decodeRaw(const Bytes &jpeg, int quantizeColours, bool grayscale);

/** Offset of the first entropy-coded byte (after the first start-of-scan header). */
std::size_t scanDataOffset(const Bytes &jpeg);

std::uint32_t le32(const Bytes &b, std::size_t at);
std::uint16_t le16(const Bytes &b, std::size_t at);

/** Writes `bytes` to `path`, replacing it; aborts the test run when that fails. */
void writeFile(const std::string &path, const Bytes &bytes);
/** The whole content of `path` (the bytes of "<missing>" when it cannot be read). */
Bytes readBytes(const std::string &path);

} // namespace testsupport
