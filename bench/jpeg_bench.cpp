// Decodes one 6000 x 4000 JPEG with jpeg2bmp and with the reference decoder (djpeg -bmp),
// true colour and 256 colours, in pairs run back to back (which of the two goes first
// alternates), and prints the median of the pairs' wall-time ratios, the median times and
// processor times, both peaks of resident memory, and whether the two bitmaps are the same
// bytes. The machine may be shared: a pair's two runs see much the same load, so the ratio
// within a pair is steadier than either time. The bitmaps are written twice over: to the disk
// (a folder under $TMPDIR or /var/tmp, which must not be a memory file system), where users
// keep them, and to a memory file system (/dev/shm), which shows the decoding alone.
// Usage: jpeg_bench JPEG2BMP DJPEG [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/statfs.h>
#include <sys/wait.h>

extern char **environ;

namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;

// A photograph-like picture: smooth gradients, some edges and sensor-like noise.
void writeTestJpeg(const std::string &path)
{
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::perror(path.c_str());
        std::exit(2);
    }
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr err {};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = Width;
    cinfo.image_height = Height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::minstd_rand noise(42);
    std::vector<JSAMPLE> row(Width * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < Width; ++x) {
            const int edge = ((x / 300 + y / 250) & 1) * 40;
            const int n = static_cast<int>(noise() % 24);
            const int v[3] = {x * 200 / Width + edge + n, y * 180 / Height + 30 + n,
                (x + y) * 120 / (Width + Height) + 90 - edge + n};
            for (int c = 0; c < 3; ++c)
                row[static_cast<std::size_t>(x * 3 + c)]
                    = static_cast<JSAMPLE>(std::clamp(v[c], 0, 255));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

struct Run
{
    double seconds; // wall time
    double cpuSeconds; // user + system
    long peakKiB;
};

double secondsOf(const timeval &t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

Run run(const std::vector<std::string> &args)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(2);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(2);
    }
    return {took.count(), secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime), usage.ru_maxrss};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

bool sameBytes(const std::string &a, const std::string &b)
{
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        if (fa.gcount() != fb.gcount()
            || !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin()))
            return false;
    }
    return !fa && !fb;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: jpeg_bench JPEG2BMP DJPEG [ROUNDS]\n");
        return 2;
    }
    const std::string ours = argv[1];
    const std::string djpeg = argv[2];
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 11;

    // The picture is made once, on the disk; each place then gets its own bitmaps.
    const char *tmpdir = std::getenv("TMPDIR");
    const std::filesystem::path diskBase = tmpdir && *tmpdir ? tmpdir : "/var/tmp";
    constexpr long TmpfsMagic = 0x01021994;
    struct statfs diskInfo
    {
    };
    if (statfs(diskBase.c_str(), &diskInfo) != 0 || diskInfo.f_type == TmpfsMagic) {
        std::fprintf(stderr, "jpeg_bench: %s is not on a disk; set TMPDIR to a folder that is\n",
            diskBase.c_str());
        return 2;
    }
    const std::string tag = "jpeg-bench-" + std::to_string(getpid());
    const auto diskDir = diskBase / tag;
    const auto memoryDir = std::filesystem::path("/dev/shm") / tag;
    std::filesystem::create_directories(diskDir);
    const std::string in = (diskDir / "in.jpg").string();
    writeTestJpeg(in);
    std::printf("jpeg_bench: %d x %d, %ju bytes of JPEG, %d rounds each\n", Width, Height,
        static_cast<std::uintmax_t>(std::filesystem::file_size(in)), rounds);

    struct Place
    {
        const char *name;
        std::filesystem::path dir;
    };
    std::vector<Place> places {{"disk", diskDir}};
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)
        && std::filesystem::create_directories(memoryDir, error))
        places.push_back({"tmpfs", memoryDir});
    constexpr double PeakTarget = 1.1;
    for (const Place &place : places) {
        const std::string outOurs = (place.dir / "ours.bmp").string();
        const std::string outRef = (place.dir / "ref.bmp").string();
        std::printf("bitmaps written to the %s (%s):\n", place.name, place.dir.c_str());
        struct Mode
        {
            const char *name;
            double target; // the wall-time ratio to reach
            std::vector<std::string> oursArgs, refArgs;
        };
        const Mode modes[] = {
            {"true colour", 0.6, {ours, "--colors", "truecolor", in, outOurs},
                {djpeg, "-bmp", "-outfile", outRef, in}},
            {"256 colours", 0.9, {ours, "--colors", "256", in, outOurs},
                {djpeg, "-colors", "256", "-bmp", "-outfile", outRef, in}},
        };
        for (const Mode &mode : modes) {
            std::vector<double> tOurs, tRef, cpuOurs, cpuRef, ratios;
            long peakOurs = 0, peakRef = 0;
            run(mode.oursArgs); // warm the page cache and the binaries
            run(mode.refArgs);
            for (int r = 0; r < rounds; ++r) {
                Run pair[2] {}; // ours, reference
                for (int k = 0; k < 2; ++k) {
                    const int which = (r + k) % 2;
                    pair[which] = run(which == 0 ? mode.oursArgs : mode.refArgs);
                }
                tOurs.push_back(pair[0].seconds);
                tRef.push_back(pair[1].seconds);
                cpuOurs.push_back(pair[0].cpuSeconds);
                cpuRef.push_back(pair[1].cpuSeconds);
                ratios.push_back(pair[0].seconds / pair[1].seconds);
                peakOurs = std::max(peakOurs, pair[0].peakKiB);
                peakRef = std::max(peakRef, pair[1].peakKiB);
            }
            const double ratio = median(ratios);
            const double peakRatio = static_cast<double>(peakOurs) / static_cast<double>(peakRef);
            std::printf("  %s: wall-time ratio %.3f (median of %d pairs; target <= %.2f: %s)\n"
                        "    median wall time jpeg2bmp %.1f ms, djpeg %.1f ms; processor time "
                        "jpeg2bmp %.1f ms, djpeg %.1f ms (ratio %.3f)\n"
                        "    peak resident memory jpeg2bmp %.1f MiB, djpeg %.1f MiB, ratio %.3f "
                        "(target <= %.2f: %s); bitmaps %s\n",
                mode.name, ratio, rounds, mode.target, ratio <= mode.target ? "met" : "MISSED",
                median(tOurs) * 1000, median(tRef) * 1000, median(cpuOurs) * 1000,
                median(cpuRef) * 1000, median(cpuOurs) / median(cpuRef),
                static_cast<double>(peakOurs) / 1024.0, static_cast<double>(peakRef) / 1024.0,
                peakRatio, PeakTarget, peakRatio <= PeakTarget ? "met" : "MISSED",
                sameBytes(outOurs, outRef) ? "byte-identical" : "DIFFER");
        }
    }
    std::filesystem::remove_all(diskDir);
    std::filesystem::remove_all(memoryDir, error);
    return 0;
}
