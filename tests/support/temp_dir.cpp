#include "temp_dir.h"

#include <atomic>
#include <chrono>
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

std::string bitmapFile(int width, int height, unsigned colour)
{
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    const std::uint32_t rowBytes = (w * 3 + 3) & ~3u;
    std::string out;
    out += "BM";
    put(out, 54 + rowBytes * h, 4); // bfSize
    put(out, 0, 4); // bfReserved1, bfReserved2
    put(out, 54, 4); // bfOffBits
    put(out, 40, 4); // biSize
    put(out, w, 4); // biWidth
    put(out, h, 4); // biHeight
    put(out, 1, 2); // biPlanes
    put(out, 24, 2); // biBitCount
    put(out, 0, 4); // biCompression
    put(out, rowBytes * h, 4); // biSizeImage
    put(out, 2835, 4); // biXPelsPerMeter
    put(out, 2835, 4); // biYPelsPerMeter
    put(out, 0, 4); // biClrUsed
    put(out, 0, 4); // biClrImportant
    std::string row;
    for (std::uint32_t x = 0; x < w; ++x)
        put(row, colour, 3); // blue, green, red in the file: 0xRRGGBB read little-endian
    row.resize(rowBytes, '\0');
    for (std::uint32_t y = 0; y < h; ++y)
        out += row;
    return out;
}

} // namespace testsupport
