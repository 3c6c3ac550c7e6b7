#include "bitmap_scale.h"
#include "linux/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

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

/** An uncompressed 24- or 32-bit Windows bitmap whose header was read and whose rows lie in
 * the file where the header says. */
struct BitmapLayout
{
    std::uint32_t dataOffset = 0;
    int width = 0;
    int height = 0;
    bool bottomUp = true;
    std::size_t bytesPerPixel = 3;
    std::size_t stride = 0;

    /** Where picture row `y` (from the top) starts in the file. */
    off_t rowOffset(int y) const
    {
        const int fileRow = bottomUp ? height - 1 - y : y;
        return static_cast<off_t>(dataOffset + stride * static_cast<std::size_t>(fileRow));
    }
};

std::optional<BitmapLayout> readLayout(int fd)
{
    unsigned char header[54];
    if (!readAt(fd, header, sizeof header, 0) || header[0] != 'B' || header[1] != 'M')
        return std::nullopt;
    BitmapLayout layout;
    layout.dataOffset = le32(header + 10);
    const std::uint32_t infoSize = le32(header + 14);
    const auto width = static_cast<std::int32_t>(le32(header + 18));
    const auto rawHeight = static_cast<std::int32_t>(le32(header + 22));
    const std::uint16_t planes = le16(header + 26);
    const std::uint16_t bits = le16(header + 28);
    const std::uint32_t compression = le32(header + 30);
    // BITMAPINFOHEADER and its longer successors, uncompressed, 24 or 32 bits a pixel
    if (infoSize < 40 || planes != 1 || compression != 0 || (bits != 24 && bits != 32))
        return std::nullopt;
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || width > 65535)
        return std::nullopt;
    layout.bottomUp = rawHeight > 0;
    layout.width = width;
    layout.height = layout.bottomUp ? rawHeight : -rawHeight;
    if (layout.height > 65535)
        return std::nullopt;
    layout.bytesPerPixel = bits / 8u;
    layout.stride
        = (static_cast<std::size_t>(width) * layout.bytesPerPixel + 3u) & ~std::size_t {3};
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0
        || static_cast<std::uint64_t>(info.st_size) < layout.dataOffset
                + static_cast<std::uint64_t>(layout.stride)
                    * static_cast<std::uint64_t>(layout.height))
        return std::nullopt;
    return layout;
}

/** Shrinks by the exact area mean; the file is read in chunks of rows, in file order. */
bool shrinkInto(int fd, const BitmapLayout &b, QImage &out)
{
    const int width = b.width;
    const int height = b.height;
    const int outWidth = out.width();
    const int outHeight = out.height();
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
    const std::size_t stride = b.stride;
    std::vector<unsigned char> chunk(stride * chunkRows);
    for (int y0 = 0; y0 < height; y0 += chunkRows) {
        const int count = std::min(chunkRows, height - y0);
        // picture rows y0 .. y0 + count - 1; for a bottom-up file they lie backwards
        const int firstRow = b.bottomUp ? y0 + count - 1 : y0;
        if (!readAt(
                fd, chunk.data(), stride * static_cast<std::size_t>(count), b.rowOffset(firstRow)))
            return false;
        for (int k = 0; k < count; ++k) {
            const int y = y0 + k;
            const int indexInChunk = b.bottomUp ? count - 1 - k : k;
            const unsigned char *src
                = chunk.data() + stride * static_cast<std::size_t>(indexInChunk);
            std::fill(across.begin(), across.end(), 0u);
            for (int x = 0; x < width; ++x, src += b.bytesPerPixel) {
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
    return true;
}

/**
 * Where output cell i of `to` takes its colour from `from` cells when enlarging: between
 * cell `first` and the next one, `weight` 256ths of the way (pixel centres kept in line;
 * the edges repeat the edge cells).
 */
struct Tap
{
    int first;
    int next;
    std::uint32_t weight;
};

std::vector<Tap> taps(int from, int to)
{
    std::vector<Tap> out(static_cast<std::size_t>(to));
    const std::int64_t last = static_cast<std::int64_t>(from - 1) << 16;
    for (int i = 0; i < to; ++i) {
        // ((i + 0.5) * from / to - 0.5) in 16.16 fixed point
        std::int64_t at
            = ((2 * std::int64_t {i} + 1) * from - to) * 65536 / (2 * std::int64_t {to});
        at = std::clamp<std::int64_t>(at, 0, last);
        const int first = static_cast<int>(at >> 16);
        out[static_cast<std::size_t>(i)]
            = {first, std::min(first + 1, from - 1), static_cast<std::uint32_t>((at >> 8) & 255)};
    }
    return out;
}

/** Closes a mapping of the file. */
struct Mapping
{
    void *address = MAP_FAILED;
    std::size_t size = 0;
    ~Mapping()
    {
        if (address != MAP_FAILED)
            ::munmap(address, size);
    }
};

/**
 * Enlarges by bilinear interpolation. The file is mapped, not copied: each source row the
 * output needs is read once, blended across into a row of 16-bit channel values, and kept
 * while the output rows between it and the next one are blended from the two.
 */
bool enlargeInto(int fd, const BitmapLayout &b, QImage &out)
{
    const int outWidth = out.width();
    const int outHeight = out.height();
    Mapping map;
    map.size = static_cast<std::size_t>(b.rowOffset(b.bottomUp ? 0 : b.height - 1)) + b.stride;
    map.address = ::mmap(nullptr, map.size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map.address == MAP_FAILED)
        return false;
    const auto *file = static_cast<const unsigned char *>(map.address);
    const std::vector<Tap> across = taps(b.width, outWidth);
    const std::vector<Tap> down = taps(b.height, outHeight);
    const auto cells = static_cast<std::size_t>(outWidth) * 3u;
    std::vector<std::uint16_t> upper(cells), lower(cells);
    int upperRow = -1, lowerRow = -1;
    const auto blendAcross = [&](int y, std::vector<std::uint16_t> &into) {
        const unsigned char *src = file + b.rowOffset(y);
        std::uint16_t *cell = into.data();
        for (const Tap &t : across) {
            const unsigned char *p = src + static_cast<std::size_t>(t.first) * b.bytesPerPixel;
            const unsigned char *q = src + static_cast<std::size_t>(t.next) * b.bytesPerPixel;
            const std::uint32_t keep = 256 - t.weight;
            for (int k = 0; k < 3; ++k)
                *cell++ = static_cast<std::uint16_t>(p[k] * keep + q[k] * t.weight);
        }
    };
    for (int y = 0; y < outHeight; ++y) {
        const Tap &t = down[static_cast<std::size_t>(y)];
        if (upperRow != t.first) {
            if (lowerRow == t.first) {
                upper.swap(lower);
                upperRow = lowerRow;
                lowerRow = -1;
            } else {
                blendAcross(t.first, upper);
                upperRow = t.first;
            }
        }
        if (lowerRow != t.next) {
            blendAcross(t.next, lower);
            lowerRow = t.next;
        }
        const std::uint32_t keep = 256 - t.weight;
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        const std::uint16_t *a = upper.data();
        const std::uint16_t *c = lower.data();
        for (int x = 0; x < outWidth; ++x, a += 3, c += 3) {
            const auto mix = [&](int k) { return (a[k] * keep + c[k] * t.weight + 32768u) >> 16; };
            line[x] = 0xff000000u | (mix(2) << 16) | (mix(1) << 8) | mix(0);
        }
    }
    return true;
}

} // namespace

bool scaleBitmapInto(const std::string &path, QImage &into)
{
    if (into.isNull() || into.format() != QImage::Format_RGB32)
        return false;
    Fd file(openRegularFile(path));
    if (file.get() < 0)
        return false;
    const auto layout = readLayout(file.get());
    if (!layout)
        return false;
    if (into.width() <= layout->width && into.height() <= layout->height)
        return shrinkInto(file.get(), *layout, into);
    if (into.width() >= layout->width && into.height() >= layout->height)
        return enlargeInto(file.get(), *layout, into);
    return false; // wider and lower, or the other way round: the general way
}

QImage readBitmapShrunk(const std::string &path, QSize target)
{
    if (target.isEmpty())
        return {};
    Fd file(openRegularFile(path));
    if (file.get() < 0)
        return {};
    const auto layout = readLayout(file.get());
    if (!layout || target.width() > layout->width || target.height() > layout->height)
        return {};
    QImage out(target, QImage::Format_RGB32);
    if (out.isNull() || !shrinkInto(file.get(), *layout, out))
        return {};
    return out;
}

} // namespace platform::desk
