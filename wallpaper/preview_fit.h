#pragma once

// Fitting the preview to its picture: the control in the preview frame is sized to the
// picture's proportions and centred across the frame. Whole numbers throughout, every
// quotient cut toward zero.

#include <cstdint>
#include <optional>
#include <string>

namespace wallpaper {

struct PreviewSize
{
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const PreviewSize &, const PreviewSize &) = default;
};

/**
 * The control's size for a `pictureWidth` x `pictureHeight` picture in a frame whose inside
 * is `frameWidth` x `frameHeight`; none when the picture has no area (the control keeps its
 * size). A landscape or square picture takes the frame's width less 4 and the height its
 * proportions give against the whole frame width, less 4; a portrait picture takes the
 * frame's height less 4 and the width its proportions give against the whole frame height,
 * less 4. So a square picture comes out taller than the frame, which cuts it off; a very flat
 * or very tall picture can give a side below 0, which the control takes as 0.
 *
 * Both quotients are formed, in 64 bits: the one a side does not use can exceed 32 bits for
 * a picture over 23 million pixels long, and the one it uses never can.
 */
std::optional<PreviewSize> previewSize(std::int32_t pictureWidth, std::int32_t pictureHeight,
    std::int32_t frameWidth, std::int32_t frameHeight);

/**
 * The control's left edge for a control `controlWidth` wide in a frame `frameWidth` wide:
 * centred in the frame's width less 4, offset by 2, when it is narrower than that; 2
 * otherwise. The top is never moved.
 */
std::int32_t previewLeft(std::int32_t frameWidth, std::int32_t controlWidth);

/** The size caption under the preview: width, " X ", height ("640 X 480"). */
std::string previewCaption(std::int32_t pictureWidth, std::int32_t pictureHeight);

/**
 * Whether the file at `path` (bytes, as the system spells it) can be opened for reading. It
 * is opened and closed at once; nothing is read. Only a regular file (or a link to one)
 * opens: a folder, a FIFO or a device does not, and nothing waits on them.
 */
bool fileOpensForReading(const std::string &path);

} // namespace wallpaper
