// The decoder's bitmap image is byte for byte what the reference decoder (djpeg -bmp) writes
// for the same file and the same options.
#include "jpegctl/JpegDecoder.h"
#include "tests/support/jpeg_test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <sys/wait.h>

using namespace testsupport;

namespace {

struct Picture
{
    const char *name;
    JpegRecipe recipe;
};

struct Options
{
    const char *name;
    jpegctl::JpegOptions options;
    const char *djpeg; // the same options for the reference decoder
};

template <typename F> JpegRecipe with(JpegRecipe s, F change)
{
    change(s);
    return s;
}

const Picture pictures[] = {
    {"Colour420Odd", sized(37, 23)},
    {"Colour422", with(sized(50, 17), [](JpegRecipe &s) { s.lumaV = 1; })},
    {"Colour444Wide", with(sized(203, 9), [](JpegRecipe &s) { s.lumaH = s.lumaV = 1; })},
    {"Grey", sized(33, 19, Kind::Grey)},
    {"Progressive", with(sized(61, 45), [](JpegRecipe &s) { s.progressive = true; })},
    {"GreyProgressive",
        with(sized(17, 40, Kind::Grey), [](JpegRecipe &s) { s.progressive = true; })},
    {"Restarts", with(sized(64, 64), [](JpegRecipe &s) { s.restartRows = 1; })},
    {"Comments",
        with(sized(31, 29),
            [](JpegRecipe &s) {
                s.comments = {"one", std::string(6000, 'z')};
            })},
    {"Arithmetic", with(sized(40, 24), [](JpegRecipe &s) { s.arithmetic = true; })},
    {"OnePixel", sized(1, 1)},
};

jpegctl::JpegOptions make(TNumOfColors n, TDCTMethod d = TDCTMethod::Integ, TDither t = TDither::FS)
{
    jpegctl::JpegOptions o;
    o.NumOfColors = n;
    o.DCTMethod = d;
    o.Dither = t;
    return o;
}

template <typename F> jpegctl::JpegOptions with(jpegctl::JpegOptions o, F change)
{
    change(o);
    return o;
}

using N = TNumOfColors;

const Options options[] = {
    {"TrueColour", make(N::TrueColor), ""},
    {"Colours256", make(N::_256), "-colors 256"},
    {"Colours16", make(N::_16), "-colors 16"},
    {"DitherNone", make(N::_256, TDCTMethod::Integ, TDither::None), "-colors 256 -dither none"},
    {"DitherOrdered", make(N::_16, TDCTMethod::Integ, TDither::Ordered),
        "-colors 16 -dither ordered"},
    {"DctFast", make(N::TrueColor, TDCTMethod::FastInteg), "-dct fast"},
    {"DctFloat", make(N::_256, TDCTMethod::FloatingPoint), "-colors 256 -dct float"},
    {"Grayscale", with(make(N::TrueColor), [](auto &o) { o.GrayScale = true; }), "-grayscale"},
    {"Grayscale16", with(make(N::_16), [](auto &o) { o.GrayScale = true; }),
        "-grayscale -colors 16"},
    {"NoSmooth", with(make(N::TrueColor), [](auto &o) { o.NoSmooth = true; }), "-nosmooth"},
    {"OnePass", with(make(N::_256), [](auto &o) { o.OnePass = true; }), "-colors 256 -onepass"},
    {"Fast256",
        with(make(N::_256, TDCTMethod::FloatingPoint), [](auto &o) { o.FastProcessing = true; }),
        "-colors 256 -dct float -fast"},
    {"FastTrueColour", with(make(N::TrueColor), [](auto &o) { o.FastProcessing = true; }), "-fast"},
};

class Oracle : public testing::TestWithParam<std::tuple<Picture, Options>>
{
};

TEST_P(Oracle, SameBitmapAsTheReferenceDecoder)
{
    const auto &[picture, option] = GetParam();
    TempDir dir;
    const Bytes jpeg = makeJpeg(picture.recipe);
    writeFile(dir.file("in.jpg"), jpeg);
    const std::string command = std::string(MURELIN_DJPEG) + " -bmp -dct int -dither fs "
        + option.djpeg + " -outfile " + dir.file("ref.bmp") + " " + dir.file("in.jpg");
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Bytes expected = readBytes(dir.file("ref.bmp"));

    jpegctl::MemoryStream source;
    source.write(jpeg.data(), jpeg.size());
    jpegctl::MemoryStream bmp;
    jpegctl::decodeJpegToBmp(source, option.options, bmp);
    const Bytes actual(bmp.data(), bmp.data() + bmp.size());

    ASSERT_EQ(actual.size(), expected.size());
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin());
    EXPECT_TRUE(diff.first == actual.end())
        << "first difference at byte " << (diff.first - actual.begin());
}

INSTANTIATE_TEST_SUITE_P(Djpeg, Oracle,
    testing::Combine(testing::ValuesIn(pictures), testing::ValuesIn(options)),
    [](const testing::TestParamInfo<Oracle::ParamType> &p) {
        return std::string(std::get<0>(p.param).name) + "_" + std::get<1>(p.param).name;
    });

} // namespace

namespace {

const char premature[] = "Premature end of JPEG file\n";

Bytes truncatedCopy(Bytes b)
{
    b.resize(b.size() * 2 / 3);
    return b;
}

int runTool(const std::string &arguments)
{
    const int status = std::system((std::string(MURELIN_JPEG2BMP) + " " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Jpeg2bmp, OptionsMatchTheReferenceDecodersAndFailuresExitNonZero)
{
    TempDir dir;
    const std::string in = dir.file("in.jpg");
    writeFile(in, makeJpeg(sized(45, 31)));
    const std::pair<const char *, const char *> cases[] = {
        {"", "-colors 256"},
        {"--colors truecolor --dct float --nosmooth", "-dct float -nosmooth"},
        {"--colors 16 --dither ordered --onepass", "-colors 16 -dither ordered -onepass"},
        {"--dither none --dct fast --grayscale", "-colors 256 -dither none -dct fast -grayscale"},
        {"--colors 256 --fast", "-colors 256 -fast"},
    };
    for (const auto &[ours, theirs] : cases) {
        ASSERT_EQ(runTool(std::string(ours) + " " + in + " " + dir.file("ours.bmp")), 0) << ours;
        const std::string ref = std::string(MURELIN_DJPEG) + " -bmp " + theirs + " -outfile "
            + dir.file("ref.bmp") + " " + in;
        ASSERT_EQ(std::system(ref.c_str()), 0);
        EXPECT_EQ(readBytes(dir.file("ours.bmp")), readBytes(dir.file("ref.bmp"))) << ours;
    }

    writeFile(dir.file("cut.jpg"), truncatedCopy(readBytes(in)));
    EXPECT_EQ(
        runTool(dir.file("cut.jpg") + " " + dir.file("cut.bmp") + " 2>" + dir.file("err")), 1);
    EXPECT_EQ(readBytes(dir.file("err")), (Bytes {std::begin(premature), std::end(premature) - 1}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("cut.bmp")));
    EXPECT_EQ(runTool("--colors 17 " + in + " " + dir.file("x.bmp") + " 2>/dev/null"), 2);
}

} // namespace
