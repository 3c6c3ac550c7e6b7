#include "program_icon.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {
#include "resources/murelin.xpm"
} // namespace

namespace win32shell {

IconHandle makeProgramIcon()
{
    // The picture both shells show: an XPM of one character per pixel and "#RRGGBB" colours.
    int width = 0;
    int height = 0;
    int colours = 0;
    int perPixel = 0;
    if (std::sscanf(murelin_icon[0], "%d %d %d %d", &width, &height, &colours, &perPixel) != 4
        || perPixel != 1 || width <= 0 || height <= 0)
        return {};
    std::map<char, std::uint32_t> palette;
    for (int i = 1; i <= colours; ++i) {
        const char *line = murelin_icon[i];
        const char *hash = std::strchr(line, '#');
        palette[line[0]]
            = hash ? static_cast<std::uint32_t>(std::strtoul(hash + 1, nullptr, 16)) : 0u;
    }
    // Rows top-down, blue-green-red-alpha, fully opaque; the mask shows every pixel.
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const char *row = murelin_icon[1 + colours + y];
        for (int x = 0; x < width; ++x)
            pixels.push_back(0xFF000000u | palette[row[x]]);
    }
    BITMAPV5HEADER header {};
    header.bV5Size = sizeof header;
    header.bV5Width = width;
    header.bV5Height = -height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_RGB;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    BitmapHandle colour(CreateDIBSection(
        screen, reinterpret_cast<const BITMAPINFO *>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    ReleaseDC(nullptr, screen);
    if (!colour || !bits)
        return {};
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    // Rows of the mask are whole 16-bit words; 0 bits show the colour pixel.
    const std::vector<unsigned char> clear(
        static_cast<std::size_t>((width + 15) / 16 * 2) * static_cast<std::size_t>(height), 0);
    BitmapHandle mask(CreateBitmap(width, height, 1, 1, clear.data()));
    ICONINFO info {};
    info.fIcon = TRUE;
    info.hbmColor = colour.get();
    info.hbmMask = mask.get();
    return IconHandle(CreateIconIndirect(&info));
}

} // namespace win32shell
