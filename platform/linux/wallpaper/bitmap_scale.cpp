#include "bitmap_scale.h"
#include "linux/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace platform::desk {

namespace {

std::uint32_t le32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
        | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t le16(const unsigned char *p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

class Fd
{
public:
    explicit Fd(int fd)
        : m_fd(fd)
    {
    }
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool readAt(int fd, unsigned char *buffer, std::size_t size, off_t offset)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n
            = ::pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

/** Where one source cell (a column or a row) falls among the output cells. */
struct Share
{
    int first; ///< the output cell it starts in
    std::uint32_t firstWeight; ///< its length inside `first`, in 1/source-count units
    std::uint32_t nextWeight; ///< its length inside first + 1 (0 when it does not reach it)
};

/**
 * Source cell i of `from` covers [i * to, (i + 1) * to) in units of 1/from output cells; when
 * shrinking (to <= from) that is at most one cell long and touches at most two.
 */
std::vector<Share> shares(int from, int to)
{
    std::vector<Share> out(static_cast<std::size_t>(from));
    const auto f = static_cast<std::int64_t>(from);
    for (std::int64_t i = 0; i < from; ++i) {
        const std::int64_t start = i * to;
        const std::int64_t end = start + to;
        const std::int64_t cell = start / f;
        const std::int64_t border = (cell + 1) * f;
        Share s {static_cast<int>(cell), static_cast<std::uint32_t>(to), 0};
        if (end > border) {
            s.firstWeight = static_cast<std::uint32_t>(border - start);
            s.nextWeight = static_cast<std::uint32_t>(end - border);
        }
        out[static_cast<std::size_t>(i)] = s;
    }
    return out;
}

} // namespace

QImage readBitmapShrunk(const std::string &path, QSize target)
{
    if (target.isEmpty())
        return {};
    Fd file(openRegularFile(path));
    if (file.get() < 0)
        return {};
    unsigned char header[54];
    if (!readAt(file.get(), header, sizeof header, 0) || header[0] != 'B' || header[1] != 'M')
        return {};
    const std::uint32_t dataOffset = le32(header + 10);
    const std::uint32_t infoSize = le32(header + 14);
    const auto width = static_cast<std::int32_t>(le32(header + 18));
    const auto rawHeight = static_cast<std::int32_t>(le32(header + 22));
    const std::uint16_t planes = le16(header + 26);
    const std::uint16_t bits = le16(header + 28);
    const std::uint32_t compression = le32(header + 30);
    // BITMAPINFOHEADER and its longer successors, uncompressed, 24 or 32 bits a pixel
    if (infoSize < 40 || planes != 1 || compression != 0 || (bits != 24 && bits != 32))
        return {};
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 65535)
        return {};
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    if (height > 65535 || target.width() > width || target.height() > height)
        return {};
    const std::size_t bytesPerPixel = bits / 8u;
    const std::size_t stride
        = (static_cast<std::size_t>(width) * bytesPerPixel + 3u) & ~std::size_t {3};
    struct stat info
    {
    };
    if (::fstat(file.get(), &info) != 0
        || static_cast<std::uint64_t>(info.st_size)
            < dataOffset + static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height))
        return {};

    const int outWidth = target.width();
    const int outHeight = target.height();
    QImage out(outWidth, outHeight, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    const std::vector<Share> columns = shares(width, outWidth);
    const std::vector<Share> rows = shares(height, outHeight);
    const auto cells = static_cast<std::size_t>(outWidth) * 3u;
    // One source row shrunk across (weights in 1/width), and two output rows being summed
    // (weights in 1/(width * height)): the sums are exact, so is the mean.
    std::vector<std::uint32_t> across(cells);
    std::vector<std::uint64_t> current(cells);
    std::vector<std::uint64_t> following(cells);
    const std::uint64_t whole
        = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    int currentRow = 0;
    const auto flush = [&] {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(currentRow));
        for (int x = 0; x < outWidth; ++x) {
            const auto c = static_cast<std::size_t>(x) * 3u;
            const auto mean = [&](std::size_t k) {
                return static_cast<int>((current[c + k] + whole / 2) / whole);
            };
            line[x] = qRgb(mean(2), mean(1), mean(0));
        }
        current.swap(following);
        std::fill(following.begin(), following.end(), 0);
        ++currentRow;
    };

    // Rows are read in chunks, in file order, and summed in picture order.
    constexpr int chunkRows = 32;
    std::vector<unsigned char> chunk(stride * chunkRows);
    for (int y0 = 0; y0 < height; y0 += chunkRows) {
        const int count = std::min(chunkRows, height - y0);
        // picture rows y0 .. y0 + count - 1; for a bottom-up file they lie backwards
        const int firstFileRow = bottomUp ? height - (y0 + count) : y0;
        if (!readAt(file.get(), chunk.data(), stride * static_cast<std::size_t>(count),
                static_cast<off_t>(dataOffset + stride * static_cast<std::size_t>(firstFileRow))))
            return {};
        for (int k = 0; k < count; ++k) {
            const int y = y0 + k;
            const int indexInChunk = bottomUp ? count - 1 - k : k;
            const unsigned char *src
                = chunk.data() + stride * static_cast<std::size_t>(indexInChunk);
            std::fill(across.begin(), across.end(), 0u);
            for (int x = 0; x < width; ++x, src += bytesPerPixel) {
                const Share &s = columns[static_cast<std::size_t>(x)];
                std::uint32_t *a = across.data() + static_cast<std::size_t>(s.first) * 3u;
                a[0] += src[0] * s.firstWeight;
                a[1] += src[1] * s.firstWeight;
                a[2] += src[2] * s.firstWeight;
                if (s.nextWeight) {
                    a[3] += src[0] * s.nextWeight;
                    a[4] += src[1] * s.nextWeight;
                    a[5] += src[2] * s.nextWeight;
                }
            }
            const Share &r = rows[static_cast<std::size_t>(y)];
            while (currentRow < r.first)
                flush();
            for (std::size_t c = 0; c < cells; ++c) {
                current[c] += static_cast<std::uint64_t>(across[c]) * r.firstWeight;
                if (r.nextWeight)
                    following[c] += static_cast<std::uint64_t>(across[c]) * r.nextWeight;
            }
        }
    }
    while (currentRow < outHeight)
        flush();
    return out;
}

} // namespace platform::desk
