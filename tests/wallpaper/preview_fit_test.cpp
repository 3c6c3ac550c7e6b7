#include "tests/support/temp_dir.h"
#include "wallpaper/preview_fit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using testsupport::TempDir;
using testsupport::writeFile;

using wallpaper::PreviewSize;

struct FitCase
{
    const char *name;
    std::int32_t width;
    std::int32_t height;
    std::optional<PreviewSize> size;
    std::int32_t presentWidth; // the control's width when the size is left alone
    std::int32_t left;
};

class PreviewFit : public ::testing::TestWithParam<FitCase>
{
};

// The preview frame at its design size: 90 x 67 inside.
TEST_P(PreviewFit, InTheDesignFrame)
{
    const FitCase &c = GetParam();
    EXPECT_EQ(wallpaper::previewSize(c.width, c.height, 90, 67), c.size);
    const std::int32_t width = c.size ? c.size->width : c.presentWidth;
    EXPECT_EQ(wallpaper::previewLeft(90, width), c.left);
}

INSTANTIATE_TEST_SUITE_P(Preview, PreviewFit,
    ::testing::Values(FitCase {"Landscape640x480", 640, 480, PreviewSize {86, 63}, 0, 2},
        // 67 x 480 / 640 = 50.25, cut to 50, less 4; (86 - 46) / 2 + 2
        FitCase {"Portrait480x640", 480, 640, PreviewSize {46, 63}, 0, 22},
        FitCase {"Flat800x200", 800, 200, PreviewSize {86, 18}, 0, 2},
        // A square is sized by the width rule and overhangs the frame below.
        FitCase {"Square100x100", 100, 100, PreviewSize {86, 86}, 0, 2},
        FitCase {"ZeroWidthKeepsSize", 0, 480, std::nullopt, 46, 22},
        FitCase {"ZeroHeightKeepsSize", 640, 0, std::nullopt, 85, 2},
        FitCase {"NegativeKeepsSize", -5, 10, std::nullopt, 86, 2},
        // Quotients are cut, not rounded: 67 x 641 / 640 = 67.1 for the unused side,
        // 90 x 641 / 642 = 89.86 gives 89.
        FitCase {"NearlySquareLandscape", 642, 641, PreviewSize {86, 85}, 0, 2},
        FitCase {"NearlySquarePortrait", 641, 642, PreviewSize {62, 63}, 0, 14},
        FitCase {"VeryFlatGoesBelowZero", 1000, 1, PreviewSize {86, -4}, 0, 2},
        FitCase {"VeryTallGoesBelowZero", 1, 1000, PreviewSize {-4, 63}, 0, 47},
        // The quotient a flat picture does not use exceeds 32 bits; the one it uses does not.
        FitCase {"HugeWidth", 40000000, 2, PreviewSize {86, -4}, 0, 2},
        FitCase {"HugeHeight", 3, 40000000, PreviewSize {-4, 63}, 0, 47}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(PreviewFit, OtherFrameSizes)
{
    // A frame grown with larger fonts: 120 x 89.
    EXPECT_EQ(wallpaper::previewSize(640, 480, 120, 89), (PreviewSize {116, 86}));
    EXPECT_EQ(wallpaper::previewSize(480, 640, 120, 89), (PreviewSize {62, 85}));
    EXPECT_EQ(wallpaper::previewLeft(120, 62), 29);
    // A control as wide as the room or wider sits at 2.
    EXPECT_EQ(wallpaper::previewLeft(90, 86), 2);
    EXPECT_EQ(wallpaper::previewLeft(90, 200), 2);
    EXPECT_EQ(wallpaper::previewLeft(90, 85), 2); // (86 - 85) / 2 is cut to 0
    EXPECT_EQ(wallpaper::previewLeft(90, 84), 3);
}

TEST(PreviewCaption, WidthXHeight)
{
    EXPECT_EQ(wallpaper::previewCaption(1024, 768), "1024 X 768");
    EXPECT_EQ(wallpaper::previewCaption(640, 480), "640 X 480");
    EXPECT_EQ(wallpaper::previewCaption(1, 1), "1 X 1");
}

TEST(FileOpens, ForFilesThatCanBeRead)
{
    TempDir dir;
    const std::string file = dir.file("Sky.jpg");
    writeFile(file, "x");
    const std::string empty = dir.file("Empty.bmp");
    writeFile(empty, "");
    EXPECT_TRUE(wallpaper::fileOpensForReading(file));
    EXPECT_TRUE(wallpaper::fileOpensForReading(empty));
    EXPECT_FALSE(wallpaper::fileOpensForReading(dir.file("Missing.bmp")));
    EXPECT_FALSE(wallpaper::fileOpensForReading(dir.file("no/such/folder/Sky.bmp")));
    EXPECT_FALSE(wallpaper::fileOpensForReading(""));
    // A name holding a zero byte names no file, even though its start does.
    EXPECT_FALSE(wallpaper::fileOpensForReading(file + std::string(1, '\0') + "x"));
}

TEST(FileOpens, NotForAFolderNamedLikeABitmap)
{
    TempDir dir;
    const std::string folder = dir.file("Holiday.bmp");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(wallpaper::fileOpensForReading(folder));
}

TEST(FileOpens, NotForAFileWithoutReadPermission)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    const std::string file = dir.file("Locked.bmp");
    writeFile(file, "x");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_FALSE(wallpaper::fileOpensForReading(file));
}
