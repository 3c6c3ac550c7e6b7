// Bitmaps shrunk while they are read: checked against Qt's own decoder at full size and
// against a plain area average worked out here in floating point.
#include "bitmap_scale.h"
#include "compose.h"
#include "temp_dir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace platform::desk;

namespace {

void put16(std::vector<unsigned char> &b, std::size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v & 255);
    b[at + 1] = static_cast<unsigned char>((v >> 8) & 255);
}
void put32(std::vector<unsigned char> &b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>((v >> (8 * i)) & 255);
}

/** A Windows bitmap file, laid out field by field, of picture pixel(x, y). */
template <typename Pixel>
std::vector<unsigned char> bitmapFile(
    int width, int height, int bits, bool topDown, Pixel pixel, unsigned compression = 0)
{
    const std::size_t bytes = static_cast<std::size_t>(bits / 8);
    const std::size_t stride = (static_cast<std::size_t>(width) * bytes + 3) & ~std::size_t {3};
    std::vector<unsigned char> b(54 + stride * static_cast<std::size_t>(height), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size())); // bfSize
    put32(b, 10, 54); // bfOffBits
    put32(b, 14, 40); // biSize
    put32(b, 18, static_cast<std::uint32_t>(width)); // biWidth
    put32(b, 22, static_cast<std::uint32_t>(topDown ? -height : height)); // biHeight
    put16(b, 26, 1); // biPlanes
    put16(b, 28, static_cast<unsigned>(bits)); // biBitCount
    put32(b, 30, compression); // biCompression
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        unsigned char *row = b.data() + 54 + stride * static_cast<std::size_t>(fileRow);
        for (int x = 0; x < width; ++x) {
            const QRgb c = pixel(x, y);
            unsigned char *p = row + bytes * static_cast<std::size_t>(x);
            p[0] = static_cast<unsigned char>(qBlue(c));
            p[1] = static_cast<unsigned char>(qGreen(c));
            p[2] = static_cast<unsigned char>(qRed(c));
            if (bytes == 4)
                p[3] = 0x5a; // unused in an uncompressed 32-bit bitmap
        }
    }
    return b;
}

/** Writes `bytes` as `name` in the tests' own folder and gives its path. */
std::string writeFile(const std::vector<unsigned char> &bytes, const char *name)
{
    static const testsupport::TempDir dir;
    const std::string path = dir.file(name);
    testsupport::writeFile(path, std::string(bytes.begin(), bytes.end()));
    return path;
}

QRgb detail(int x, int y)
{
    return qRgb((x * 37 + y * 11) & 255, (x * x + 3 * y) & 255, (x ^ (y * 5)) & 255);
}

/** The area average of picture `pixel` (w x h) over output cell (ox, oy) of ow x oh. */
QRgb areaMean(int w, int h, int ow, int oh, int ox, int oy, QRgb (*pixel)(int, int))
{
    const double x0 = ox * double(w) / ow, x1 = (ox + 1) * double(w) / ow;
    const double y0 = oy * double(h) / oh, y1 = (oy + 1) * double(h) / oh;
    double sum[3] = {0, 0, 0};
    for (int y = int(std::floor(y0)); y < int(std::ceil(y1)); ++y) {
        const double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
        for (int x = int(std::floor(x0)); x < int(std::ceil(x1)); ++x) {
            const double wx = std::min(x1, x + 1.0) - std::max(x0, double(x));
            const QRgb c = pixel(x, y);
            sum[0] += wx * wy * qRed(c);
            sum[1] += wx * wy * qGreen(c);
            sum[2] += wx * wy * qBlue(c);
        }
    }
    const double area = (x1 - x0) * (y1 - y0);
    return qRgb(int(std::lround(sum[0] / area)), int(std::lround(sum[1] / area)),
        int(std::lround(sum[2] / area)));
}

struct ShrinkCase
{
    const char *name;
    int width, height, bits;
    bool topDown;
    int outWidth, outHeight;
};

class BitmapShrink : public testing::TestWithParam<ShrinkCase>
{
};

TEST_P(BitmapShrink, EveryPixelIsTheAreaMean)
{
    const ShrinkCase &c = GetParam();
    const std::string path
        = writeFile(bitmapFile(c.width, c.height, c.bits, c.topDown, detail), "shrink.bmp");
    const QImage out = readBitmapShrunk(path, QSize(c.outWidth, c.outHeight));
    ASSERT_EQ(out.size(), QSize(c.outWidth, c.outHeight));
    int wrong = 0;
    for (int y = 0; y < c.outHeight; ++y) {
        for (int x = 0; x < c.outWidth; ++x) {
            const QRgb expected
                = areaMean(c.width, c.height, c.outWidth, c.outHeight, x, y, detail);
            const QRgb got = out.pixel(x, y);
            // integer rounding of an exact sum against a floating one: at most one step apart
            if (std::abs(qRed(got) - qRed(expected)) > 1
                || std::abs(qGreen(got) - qGreen(expected)) > 1
                || std::abs(qBlue(got) - qBlue(expected)) > 1)
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, BitmapShrink,
    testing::Values(ShrinkCase {"Half24BottomUp", 8, 6, 24, false, 4, 3},
        ShrinkCase {"Odd24TopDown", 37, 23, 24, true, 10, 7},
        ShrinkCase {"Odd32BottomUp", 41, 29, 32, false, 13, 11},
        ShrinkCase {"PaddedRows", 7, 5, 24, false, 3, 2},
        ShrinkCase {"OneColumnKept", 9, 40, 24, false, 9, 13},
        ShrinkCase {"ToOnePixel", 50, 30, 24, true, 1, 1},
        ShrinkCase {"LargeRatio", 640, 480, 24, false, 17, 9}),
    [](const testing::TestParamInfo<ShrinkCase> &p) { return std::string(p.param.name); });

TEST(BitmapShrink, AtFullSizeItMatchesQtsDecoder)
{
    for (const bool topDown : {false, true}) {
        for (const int bits : {24, 32}) {
            const std::string path
                = writeFile(bitmapFile(33, 17, bits, topDown, detail), "full.bmp");
            const QImage ours = readBitmapShrunk(path, QSize(33, 17));
            QImage qt(QString::fromStdString(path));
            ASSERT_FALSE(qt.isNull());
            EXPECT_EQ(ours, qt.convertToFormat(QImage::Format_RGB32)) << bits << topDown;
        }
    }
}

TEST(BitmapShrink, OtherFilesAreLeftToTheGeneralDecoder)
{
    const auto plain = bitmapFile(20, 10, 24, false, detail);
    // larger than the picture in either direction
    EXPECT_TRUE(readBitmapShrunk(writeFile(plain, "a.bmp"), QSize(21, 5)).isNull());
    EXPECT_TRUE(readBitmapShrunk(writeFile(plain, "a.bmp"), QSize(5, 11)).isNull());
    EXPECT_TRUE(readBitmapShrunk(writeFile(plain, "a.bmp"), QSize(0, 5)).isNull());
    // cut short
    std::vector<unsigned char> cut(plain.begin(), plain.end() - 1);
    EXPECT_TRUE(readBitmapShrunk(writeFile(cut, "cut.bmp"), QSize(5, 5)).isNull());
    // run-length encoded, paletted, not a bitmap, missing
    EXPECT_TRUE(readBitmapShrunk(
        writeFile(bitmapFile(20, 10, 24, false, detail, 1), "rle.bmp"), QSize(5, 5))
                    .isNull());
    auto paletted = plain;
    put16(paletted, 28, 8);
    EXPECT_TRUE(readBitmapShrunk(writeFile(paletted, "p8.bmp"), QSize(5, 5)).isNull());
    auto notBitmap = plain;
    notBitmap[0] = 'X';
    EXPECT_TRUE(readBitmapShrunk(writeFile(notBitmap, "x.bmp"), QSize(5, 5)).isNull());
    EXPECT_TRUE(readBitmapShrunk(::testing::TempDir() + "none.bmp", QSize(5, 5)).isNull());
    // ... and loadPicture still reads a bitmap it cannot shrink through Qt, unscaled
    EXPECT_EQ(loadPicture(writeFile(plain, "a.bmp"), QSize(40, 40)).size(), QSize(20, 10));
}

} // namespace
