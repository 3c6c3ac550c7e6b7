// jpeg2bmp: decodes one JPEG file with the picture control's decoder and writes the Windows
// bitmap file image it produces.
#include "jpegctl/JpegDecoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <random>
#include <string>
#include <string_view>

namespace {

constexpr int ExitDecodeFailed = 1;
constexpr int ExitUsage = 2;

void usage()
{
    std::fputs("usage: jpeg2bmp [options] IN OUT\n"
               "  --colors 16|256|truecolor   colour reduction (default 256)\n"
               "  --dct int|fast|float        inverse-DCT method (default int)\n"
               "  --dither none|fs|ordered    dithering with colour reduction (default fs)\n"
               "  --fast                      speed preset: fast DCT, ordered one-pass dither\n"
               "  --grayscale                 decode to grey\n"
               "  --nosmooth                  plain upsampling of chroma\n"
               "  --onepass                   one-pass colour quantisation\n",
        stderr);
}

// Writes `bmp` to a temporary file beside `path` and renames it over `path`, so that a reader
// sees either the old file or the whole new one.
bool writeFileAtomically(const std::string &path, const jpegctl::MemoryStream &bmp)
{
    std::random_device random;
    const std::string temporary = path + ".tmp" + std::to_string(random());
    std::FILE *file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = bmp.size() == 0 || std::fwrite(bmp.data(), 1, bmp.size(), file) == bmp.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    jpegctl::JpegOptions options;
    std::string paths[2];
    int pathCount = 0;

    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const auto value = [&]() -> std::string_view { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--colors") {
            const std::string_view v = value();
            if (v == "16")
                options.NumOfColors = TNumOfColors::_16;
            else if (v == "256")
                options.NumOfColors = TNumOfColors::_256;
            else if (v == "truecolor")
                options.NumOfColors = TNumOfColors::TrueColor;
            else
                return usage(), ExitUsage;
        } else if (arg == "--dct") {
            const std::string_view v = value();
            if (v == "int")
                options.DCTMethod = TDCTMethod::Integ;
            else if (v == "fast")
                options.DCTMethod = TDCTMethod::FastInteg;
            else if (v == "float")
                options.DCTMethod = TDCTMethod::FloatingPoint;
            else
                return usage(), ExitUsage;
        } else if (arg == "--dither") {
            const std::string_view v = value();
            if (v == "none")
                options.Dither = TDither::None;
            else if (v == "fs")
                options.Dither = TDither::FS;
            else if (v == "ordered")
                options.Dither = TDither::Ordered;
            else
                return usage(), ExitUsage;
        } else if (arg == "--fast") {
            options.FastProcessing = true;
        } else if (arg == "--grayscale") {
            options.GrayScale = true;
        } else if (arg == "--nosmooth") {
            options.NoSmooth = true;
        } else if (arg == "--onepass") {
            options.OnePass = true;
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            std::fprintf(stderr, "jpeg2bmp: unknown option %s\n", argv[i]);
            return usage(), ExitUsage;
        } else if (pathCount < 2) {
            paths[pathCount++] = argv[i];
        } else {
            return usage(), ExitUsage;
        }
    }
    if (pathCount != 2)
        return usage(), ExitUsage;

    try {
        jpegctl::MemoryStream source;
        source.loadFromFile(paths[0]);
        jpegctl::MemoryStream bmp;
        jpegctl::decodeJpegToBmp(source, options, bmp);
        if (!writeFileAtomically(paths[1], bmp)) {
            std::fprintf(
                stderr, "jpeg2bmp: cannot write %s: %s\n", paths[1].c_str(), std::strerror(errno));
            return ExitDecodeFailed;
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return ExitDecodeFailed;
    }
    return 0;
}
