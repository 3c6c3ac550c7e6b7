// Next on a 3840 x 2160 bitmap with "Stretch", until the X11 root shows it, against
// feh --bg-scale on the same file, in the same run, round after round. Prints the median
// times, their ratio (the aim: 1.0 or less) and the resident memory of this process idle and
// while applying. Run on a private X server: scripts/with-xvfb wallpaper_bench [feh].
#include <platform/desktop_wallpaper.h>
#include <platform/registry.h>

#include <QImage>
#include <QString>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int pictureWidth = 3840;
constexpr int pictureHeight = 2160;
constexpr int rounds = 7;

/** A picture with detail all over (so that scaling does real work) and a solid middle. */
bool writePicture(const std::string &path, QRgb middle)
{
    QImage image(pictureWidth, pictureHeight, QImage::Format_RGB32);
    for (int y = 0; y < pictureHeight; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < pictureWidth; ++x)
            row[x] = qRgb((x * 255) / pictureWidth, (y * 255) / pictureHeight, (x ^ y) & 255);
    }
    for (int y = pictureHeight / 2 - 300; y < pictureHeight / 2 + 300; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = pictureWidth / 2 - 300; x < pictureWidth / 2 + 300; ++x)
            row[x] = middle;
    }
    return image.save(QString::fromStdString(path), "BMP");
}

/** Waits until the root's middle pixel shows `colour`; false after 20 seconds. */
bool waitForRoot(Display *display, QRgb colour)
{
    const Window root = XDefaultRootWindow(display);
    const int screen = XDefaultScreen(display);
    const int x = XDisplayWidth(display, screen) / 2;
    const int y = XDisplayHeight(display, screen) / 2;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        XImage *pixel = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        if (pixel) {
            const unsigned long value = XGetPixel(pixel, 0, 0);
            XDestroyImage(pixel);
            const int r = static_cast<int>((value >> 16) & 255);
            const int g = static_cast<int>((value >> 8) & 255);
            const int b = static_cast<int>(value & 255);
            if (std::abs(r - qRed(colour)) <= 3 && std::abs(g - qGreen(colour)) <= 3
                && std::abs(b - qBlue(colour)) <= 3)
                return true;
        }
    }
    return false;
}

/** What Next does for a "Stretch" picture: the four desktop values, then the call. */
bool next(const std::string &path)
{
    platform::Registry &registry = platform::currentUserRegistry();
    const std::string key = "Control Panel\\Desktop";
    bool ok = true;
    for (const auto &[name, text] :
        {std::pair {"TileWallpaper", "0"}, std::pair {"WallpaperStyle", "2"},
            std::pair {"WallpaperOriginX", "0"}, std::pair {"WallpaperOriginY", "0"}})
        ok = registry.write(key, name, {platform::RegSz, std::string(text) + '\0'}) && ok;
    platform::setDeskWallpaper(path);
    return ok;
}

/** Runs feh and gives its largest resident set in kB, or -1 when it failed. */
long runFeh(const std::string &feh, const std::string &path)
{
    std::vector<std::string> argv {feh, "--no-fehbg", "--bg-scale", path};
    std::vector<char *> args;
    for (auto &a : argv)
        args.push_back(a.data());
    args.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage usage {};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

/** A line of /proc/self/status in kB ("VmRSS", "VmHWM"). */
long statusKb(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5"; // restarts VmHWM from the current VmRSS
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    const std::string feh = argc > 1 ? argv[1] : "feh";
    char dirTemplate[] = "/tmp/murelin-bench-XXXXXX";
    if (!mkdtemp(dirTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = dirTemplate;
    // Keep the benchmark's registry and feh's files away from the user's own.
    setenv("HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (dir + "/cache").c_str(), 1);

    const long idleKb = statusKb("VmRSS");
    // Two pictures with different middles, so that every round changes what the root shows.
    const QRgb ours = qRgb(200, 40, 30);
    const QRgb theirs = qRgb(30, 180, 220);
    const std::string ourPicture = dir + "/ours.bmp";
    const std::string fehPicture = dir + "/feh.bmp";
    // Made by a child process, so that this process's memory shows the wallpaper call alone.
    const pid_t maker = fork();
    if (maker == 0)
        _exit(writePicture(ourPicture, ours) && writePicture(fehPicture, theirs) ? 0 : 1);
    int made = -1;
    if (maker < 0 || waitpid(maker, &made, 0) != maker || !WIFEXITED(made)
        || WEXITSTATUS(made) != 0) {
        std::fprintf(stderr, "wallpaper_bench: cannot write the pictures in %s\n", dir.c_str());
        return 1;
    }
    const long preparedKb = statusKb("VmRSS");
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "wallpaper_bench: no X display (run it under scripts/with-xvfb)\n");
        return 1;
    }
    const int screen = XDefaultScreen(display);
    std::printf("wallpaper: %d x %d bitmap stretched on a %d x %d root, %d rounds\n", pictureWidth,
        pictureHeight, XDisplayWidth(display, screen), XDisplayHeight(display, screen), rounds);

    std::vector<double> ourTimes;
    std::vector<double> fehTimes;
    long ourPeakKb = 0;
    long fehPeakKb = 0;
    // The first pass of each warms the page cache and the loaders and is not counted.
    for (int round = 0; round <= rounds; ++round) {
        resetPeak();
        auto start = Clock::now();
        if (!next(ourPicture) || !waitForRoot(display, ours)) {
            std::fprintf(stderr, "wallpaper_bench: our picture did not appear on the root\n");
            return 1;
        }
        const double ourMs = millisecondsSince(start);
        ourPeakKb = std::max(ourPeakKb, statusKb("VmHWM"));

        start = Clock::now();
        const long fehKb = runFeh(feh, fehPicture);
        if (fehKb < 0 || !waitForRoot(display, theirs)) {
            std::fprintf(stderr, "wallpaper_bench: %s did not set the root\n", feh.c_str());
            return 1;
        }
        const double fehMs = millisecondsSince(start);
        fehPeakKb = std::max(fehPeakKb, fehKb);
        if (round == 0)
            continue;
        ourTimes.push_back(ourMs);
        fehTimes.push_back(fehMs);
        std::printf("  round %d: murelin %7.1f ms   feh %7.1f ms\n", round, ourMs, fehMs);
    }
    const double ourMedian = median(ourTimes);
    const double fehMedian = median(fehTimes);
    std::printf("median: murelin %.1f ms, feh --bg-scale %.1f ms\n", ourMedian, fehMedian);
    std::printf("ratio murelin/feh: %.2f (target <= 1.0)\n", ourMedian / fehMedian);
    const auto mb = [](long kb) { return static_cast<double>(kb) / 1024.0; };
    std::printf("resident memory of this process: at start %.1f MB, with the pictures made "
                "%.1f MB, peak while applying %.1f MB, after applying %.1f MB "
                "(feh's peak %.1f MB)\n",
        mb(idleKb), mb(preparedKb), mb(ourPeakKb), mb(statusKb("VmRSS")), mb(fehPeakKb));
    XCloseDisplay(display);
    std::system(("rm -rf '" + dir + "'").c_str());
    return 0;
}
