#include "platform/linux/wallpaper/bitmap_scale.h"
#include "platform/linux/regular_file.h"

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
 * Enlarges with the toolkit's smooth scaling straight from the file mapped into memory, not
 * copied: vectorised and shared among the cores, it measured several times faster here than
 * a bilinear blend of our own. A bottom-up file is scaled as it lies and its rows are stored
 * the other way round.
 */
bool enlargeInto(int fd, const BitmapLayout &b, QImage &out)
{
    Mapping map;
    map.size = static_cast<std::size_t>(b.rowOffset(b.bottomUp ? 0 : b.height - 1)) + b.stride;
    map.address = ::mmap(nullptr, map.size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map.address == MAP_FAILED)
        return false;
    const auto *lowest
        = static_cast<const uchar *>(map.address) + b.rowOffset(b.bottomUp ? b.height - 1 : 0);
    const QImage rows(lowest, b.width, b.height, static_cast<qsizetype>(b.stride),
        b.bytesPerPixel == 3 ? QImage::Format_BGR888 : QImage::Format_RGB32);
    // Rows of three bytes are widened first: the toolkit scales 32-bit pixels about three
    // times faster than 24-bit ones, the widening included.
    const QImage scaled = rows.convertToFormat(QImage::Format_RGB32)
                              .scaled(out.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_RGB32);
    if (scaled.size() != out.size())
        return false;
    const int width = out.width();
    const int height = out.height();
    for (int y = 0; y < height; ++y) {
        const auto *from
            = reinterpret_cast<const QRgb *>(scaled.constScanLine(b.bottomUp ? height - 1 - y : y));
        auto *to = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] = from[x] | 0xff000000u; // a 32-bit file's fourth byte is no alpha
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
