// The PNG a GTK desktop is handed: the time to write a 3840 x 2160 composed picture into the
// cache (writeComposedPicture, the program's own path) and its size, then the trade between
// time and size over the zlib levels, and the toolkit's own PNG writer for comparison. The
// picture is photograph-like (gradients, edges, sensor-like noise); the files go to the disk
// ($TMPDIR or /var/tmp). Usage: png_bench [ROUNDS]
#include "platform/linux/wallpaper/compose.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

QImage photograph(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::minstd_rand noise(42);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int edge = ((x / 300 + y / 250) & 1) * 40;
            const int n = static_cast<int>(noise() % 8);
            row[x] = qRgb(std::clamp(x * 200 / width + edge + n, 0, 255),
                std::clamp(y * 180 / height + 30 + n, 0, 255),
                std::clamp((x + y) * 120 / (width + height) + 90 - edge + n, 0, 255));
        }
    }
    return image;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double mib(std::uintmax_t bytes)
{
    return static_cast<double>(bytes) / 1048576.0;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const char *tmpdir = std::getenv("TMPDIR");
    const std::filesystem::path dir = std::filesystem::path(tmpdir && *tmpdir ? tmpdir : "/var/tmp")
        / ("png-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const QImage picture = photograph(3840, 2160);

    std::vector<double> times;
    std::uintmax_t size = 0;
    for (int r = 0; r <= rounds; ++r) {
        const auto start = Clock::now();
        const auto written = platform::desk::writeComposedPicture(picture, dir.string());
        const double took = msSince(start);
        if (!written) {
            std::fprintf(stderr, "png_bench: cannot write into %s\n", dir.c_str());
            return 1;
        }
        size = std::filesystem::file_size(*written);
        if (r > 0) // the first warms the allocator and the page cache
            times.push_back(took);
    }
    std::printf("png: a 3840 x 2160 composed picture written into the cache: median %.1f ms, "
                "%.1f MiB (level %d), %d rounds\n",
        median(times), mib(size), platform::desk::ComposedPngLevel, rounds);

    std::printf("  the trade, one file each:");
    for (const int level : {0, 1, 2, 3, 6, 9}) {
        const std::string path = (dir / ("level" + std::to_string(level) + ".png")).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const auto start = Clock::now();
        const bool ok = platform::desk::writePng(fd, picture, level);
        const double took = msSince(start);
        ::close(fd);
        if (ok)
            std::printf(
                " level %d %.0f ms %.1f MiB;", level, took, mib(std::filesystem::file_size(path)));
    }
    std::printf("\n");
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        writer.setQuality(
            80); // what the program wrote before: zlib level 1, every row filter tried
        const auto start = Clock::now();
        writer.write(picture);
        std::printf(
            "  the toolkit's PNG writer (zlib level 1, adaptive filters, in memory): %.0f ms "
            "%.1f MiB\n",
            msSince(start), mib(static_cast<std::uintmax_t>(buffer.size())));
    }
    std::filesystem::remove_all(dir);
    return 0;
}
