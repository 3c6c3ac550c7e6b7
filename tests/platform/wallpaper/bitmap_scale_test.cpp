// Bitmaps scaled while they are read: checked against Qt's own decoder at full size, against
// a plain area average worked out here in floating point (shrinking) and Qt's own smooth
// scaling (enlarging), and drawn into a part of a larger picture without touching the rest.
#include "platform/linux/wallpaper/bitmap_scale.h"
#include "platform/linux/wallpaper/compose.h"
#include "tests/support/temp_dir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace platform::desk;
using testsupport::bitmapFile;

namespace {

/** Writes `bytes` as `name` in the tests' own folder and gives its path. */
std::string writeFile(const std::string &bytes, const char *name)
{
    static const testsupport::TempDir dir;
    const std::string path = dir.file(name);
    testsupport::writeFile(path, bytes);
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
        = writeFile(bitmapFile(c.width, c.height, detail, {c.bits, c.topDown}), "shrink.bmp");
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
                = writeFile(bitmapFile(33, 17, detail, {bits, topDown}), "full.bmp");
            const QImage ours = readBitmapShrunk(path, QSize(33, 17));
            QImage qt(QString::fromStdString(path));
            ASSERT_FALSE(qt.isNull());
            EXPECT_EQ(ours, qt.convertToFormat(QImage::Format_RGB32)) << bits << topDown;
        }
    }
}

TEST(BitmapShrink, OtherFilesAreLeftToTheGeneralDecoder)
{
    const auto plain = bitmapFile(20, 10, detail, {24, false});
    // larger than the picture in either direction
    EXPECT_TRUE(readBitmapShrunk(writeFile(plain, "a.bmp"), QSize(21, 5)).isNull());
    EXPECT_TRUE(readBitmapShrunk(writeFile(plain, "a.bmp"), QSize(5, 11)).isNull());
    EXPECT_TRUE(readBitmapShrunk(writeFile(plain, "a.bmp"), QSize(0, 5)).isNull());
    // cut short
    const std::string cut = plain.substr(0, plain.size() - 1);
    EXPECT_TRUE(readBitmapShrunk(writeFile(cut, "cut.bmp"), QSize(5, 5)).isNull());
    // run-length encoded, paletted, not a bitmap, missing
    EXPECT_TRUE(readBitmapShrunk(
        writeFile(bitmapFile(20, 10, detail, {24, false, 1}), "rle.bmp"), QSize(5, 5))
                    .isNull());
    auto paletted = plain;
    paletted[28] = 8; // biBitCount
    EXPECT_TRUE(readBitmapShrunk(writeFile(paletted, "p8.bmp"), QSize(5, 5)).isNull());
    auto notBitmap = plain;
    notBitmap[0] = 'X';
    EXPECT_TRUE(readBitmapShrunk(writeFile(notBitmap, "x.bmp"), QSize(5, 5)).isNull());
    EXPECT_TRUE(readBitmapShrunk(::testing::TempDir() + "none.bmp", QSize(5, 5)).isNull());
    // ... and loadPicture still reads a bitmap it cannot shrink through Qt, unscaled
    EXPECT_EQ(loadPicture(writeFile(plain, "a.bmp"), QSize(40, 40)).size(), QSize(20, 10));
}

class BitmapEnlarge : public testing::TestWithParam<ShrinkCase>
{
};

TEST_P(BitmapEnlarge, EveryPixelIsTheToolkitsSmoothScaling)
{
    // The toolkit's smooth scaling of the picture as its own decoder reads it, in 32-bit
    // pixels; a bottom-up file is scaled as it lies in the file, upside down, and turned back.
    const ShrinkCase &c = GetParam();
    const std::string path
        = writeFile(bitmapFile(c.width, c.height, detail, {c.bits, c.topDown}), "enlarge.bmp");
    QImage out(c.outWidth, c.outHeight, QImage::Format_RGB32);
    ASSERT_TRUE(scaleBitmapInto(path, out));
    QImage picture = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    if (!c.topDown)
        picture = picture.mirrored(false, true);
    QImage expected
        = picture.scaled(c.outWidth, c.outHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!c.topDown)
        expected = expected.mirrored(false, true);
    EXPECT_EQ(out, expected.convertToFormat(QImage::Format_RGB32));
}

INSTANTIATE_TEST_SUITE_P(Table, BitmapEnlarge,
    testing::Values(ShrinkCase {"Double24BottomUp", 8, 6, 24, false, 16, 12},
        ShrinkCase {"Odd24TopDown", 13, 7, 24, true, 40, 23},
        ShrinkCase {"Odd32BottomUp", 11, 9, 32, false, 30, 31},
        ShrinkCase {"Odd32TopDown", 11, 9, 32, true, 31, 30},
        ShrinkCase {"OnlyAcross", 10, 12, 24, false, 37, 12},
        ShrinkCase {"OnePixel", 1, 1, 24, true, 5, 4},
        ShrinkCase {"ScreenLike", 300, 200, 24, false, 384, 216}),
    [](const testing::TestParamInfo<ShrinkCase> &p) { return std::string(p.param.name); });

TEST(BitmapScaleInto, OnlyTheGivenAreaIsDrawnAndMixedDirectionsAreRefused)
{
    const std::string path = writeFile(bitmapFile(20, 10, detail, {24, false}), "area.bmp");
    for (const QSize size : {QSize(8, 4), QSize(50, 30)}) { // shrunk, enlarged
        QImage screen(size.width() + 10, size.height() + 6, QImage::Format_RGB32);
        screen.fill(qRgb(1, 2, 3));
        QImage area = imageArea(screen, QRect(QPoint(4, 2), size));
        ASSERT_EQ(area.size(), size);
        ASSERT_TRUE(scaleBitmapInto(path, area));
        int outside = 0, inside = 0;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                const bool in = QRect(QPoint(4, 2), size).contains(x, y);
                const bool untouched = screen.pixel(x, y) == qRgb(1, 2, 3);
                outside += !in && !untouched;
                inside += in && screen.pixel(x, y) == area.pixel(x - 4, y - 2);
            }
        }
        EXPECT_EQ(outside, 0) << size.width();
        EXPECT_EQ(inside, size.width() * size.height()) << size.width();
    }
    QImage wideLow(40, 5, QImage::Format_RGB32);
    EXPECT_FALSE(scaleBitmapInto(path, wideLow));
    QImage wrongFormat(40, 20, QImage::Format_ARGB32);
    EXPECT_FALSE(scaleBitmapInto(path, wrongFormat));
}

} // namespace
