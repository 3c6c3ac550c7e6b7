// jpeg2bmp: decodes one JPEG file with the picture control's decoder and writes the Windows
// bitmap file image it produces.
#include "jpegctl/JpegDecoder.h"
#include "platform/atomic_file.h"

#include <cstdio>
#include <exception>
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
        // The compressed bytes are read once, from the start: as the rows come, the memory of
        // what has been read goes back, so that the whole file and the whole bitmap are never
        // held at once.
        jpegctl::decodeJpegToBmp(
            source, options, bmp, 1, [&source] { source.releaseBefore(source.position()); });
        // Replaced whole: a reader sees the old file or the new one, also where a plain
        // rename refuses an existing target (Windows). The bitmap is made again from its JPEG
        // whenever it is lost, so nothing waits for the disk.
        std::string error;
        const auto *bytes = reinterpret_cast<const char *>(bmp.data());
        if (!platform::writeFileAtomically(paths[1], std::string_view(bytes, bmp.size()), &error,
                platform::Durability::Derived)) {
            std::fprintf(
                stderr, "jpeg2bmp: cannot write %s: %s\n", paths[1].c_str(), error.c_str());
            return ExitDecodeFailed;
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return ExitDecodeFailed;
    }
    return 0;
}
