// Decodes one 6000 x 4000 JPEG with jpeg2bmp and with the reference decoder (djpeg -bmp),
// alternating, several rounds, and prints the median times, their ratio and both peaks of
// resident memory. Usage: jpeg_bench JPEG2BMP DJPEG [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <spawn.h>
#include <sys/resource.h>
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
    double seconds;
    long peakKiB;
};

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
    return {took.count(), usage.ru_maxrss};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
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
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 7;

    const auto dir
        = std::filesystem::temp_directory_path() / ("jpeg-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "in.jpg").string();
    const std::string outOurs = (dir / "ours.bmp").string();
    const std::string outRef = (dir / "ref.bmp").string();
    writeTestJpeg(in);
    std::printf("jpeg_bench: %d x %d, %ju bytes of JPEG, %d rounds each\n", Width, Height,
        static_cast<std::uintmax_t>(std::filesystem::file_size(in)), rounds);

    struct Mode
    {
        const char *name;
        std::vector<std::string> oursArgs, refArgs;
    };
    const Mode modes[] = {
        {"true colour", {ours, "--colors", "truecolor", in, outOurs},
            {djpeg, "-bmp", "-outfile", outRef, in}},
        {"256 colours", {ours, "--colors", "256", in, outOurs},
            {djpeg, "-colors", "256", "-bmp", "-outfile", outRef, in}},
    };
    for (const Mode &mode : modes) {
        std::vector<double> tOurs, tRef;
        long peakOurs = 0, peakRef = 0;
        run(mode.oursArgs); // warm the page cache and the binaries
        run(mode.refArgs);
        for (int r = 0; r < rounds; ++r) {
            // alternate which goes first, so that neither always finds the other's cache state
            for (int k = 0; k < 2; ++k) {
                const bool oursNow = (r + k) % 2 == 0;
                const Run result = run(oursNow ? mode.oursArgs : mode.refArgs);
                (oursNow ? tOurs : tRef).push_back(result.seconds);
                long &peak = oursNow ? peakOurs : peakRef;
                peak = std::max(peak, result.peakKiB);
            }
        }
        const bool same = std::filesystem::file_size(outOurs) == std::filesystem::file_size(outRef);
        const double mo = median(tOurs), mr = median(tRef);
        std::printf("%-12s jpeg2bmp %7.1f ms  djpeg %7.1f ms  ratio %.3f (target <= 1.05)  "
                    "peak memory jpeg2bmp %ld MiB, djpeg %ld MiB%s\n",
            mode.name, mo * 1000, mr * 1000, mo / mr, peakOurs / 1024, peakRef / 1024,
            same ? "" : "  (output sizes differ!)");
    }
    std::filesystem::remove_all(dir);
    return 0;
}
