#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

TempDir::TempDir()
{
    static std::atomic<unsigned> counter {0};
    const auto base = std::filesystem::temp_directory_path();
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate
            = base / ("murelin-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            m_path = candidate.string();
            return;
        }
    }
    std::fprintf(stderr, "no temporary folder could be made\n");
    std::abort();
}

TempDir::~TempDir()
{
    std::error_code ignored;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(m_path, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
            std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::file(const std::string &name) const
{
    return (std::filesystem::path(m_path) / name).string();
}

void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

namespace {

void put(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string bitmapFile(int width, int height, const std::function<unsigned(int, int)> &pixel,
    const BitmapLayout &layout)
{
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const auto bytes = static_cast<std::uint32_t>(layout.bits / 8);
    const std::uint32_t rowBytes = (w * bytes + 3) & ~3u;
    std::string out;
    out += "BM";
    put(out, 54 + rowBytes * h, 4); // bfSize
    put(out, 0, 4); // bfReserved1, bfReserved2
    put(out, 54, 4); // bfOffBits
    put(out, 40, 4); // biSize
    put(out, w, 4); // biWidth
    put(out, layout.topDown ? 0u - h : h, 4); // biHeight, negative for top-down rows
    put(out, 1, 2); // biPlanes
    put(out, static_cast<std::uint32_t>(layout.bits), 2); // biBitCount
    put(out, layout.compression, 4); // biCompression
    put(out, rowBytes * h, 4); // biSizeImage
    put(out, 2835, 4); // biXPelsPerMeter
    put(out, 2835, 4); // biYPelsPerMeter
    put(out, 0, 4); // biClrUsed
    put(out, 0, 4); // biClrImportant
    for (std::uint32_t row = 0; row < h; ++row) {
        const int y = static_cast<int>(layout.topDown ? row : h - 1 - row);
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            put(out, pixel(x, y) & 0xFFFFFF, 3); // blue, green, red: 0xRRGGBB little-endian
            if (bytes == 4)
                out += '\x5a'; // unused in an uncompressed 32-bit bitmap, so not zero here
        }
        out.resize(start + rowBytes, '\0');
    }
    return out;
}

std::string bitmapFile(int width, int height, unsigned colour)
{
    return bitmapFile(width, height, [colour](int, int) { return colour; });
}

} // namespace testsupport
