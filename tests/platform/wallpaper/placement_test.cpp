// The four desktop values read back from the registry and turned into one placement.
#include "platform/linux/wallpaper/desk_placement.h"
#include "tests/support/memory_registry.h"

#include <gtest/gtest.h>

#include <climits>

using platform::RegValue;
using namespace platform::desk;

namespace {

struct ValuesCase
{
    const char *name;
    DesktopValues values;
    DeskPlacement expected;
};

class PlacementFromValues : public testing::TestWithParam<ValuesCase>
{
};

TEST_P(PlacementFromValues, GivesOnePlacement)
{
    EXPECT_EQ(placementFromDesktopValues(GetParam().values), GetParam().expected);
}

// The rows the window writes, then what else a hand-edited registry may hold.
INSTANTIATE_TEST_SUITE_P(Table, PlacementFromValues,
    testing::Values(ValuesCase {"Tiled", {"1", "0", "0", "0"}, {PlacementKind::Tile, 0, 0}},
        ValuesCase {"Centred", {"0", "0", "0", "0"}, {PlacementKind::Center, 0, 0}},
        ValuesCase {"Stretched", {"0", "2", "0", "0"}, {PlacementKind::Stretch, 0, 0}},
        ValuesCase {"Origin", {"0", "0", "100", "50"}, {PlacementKind::Origin, 100, 50}},
        ValuesCase {"OriginXOnly", {"0", "0", "7", "0"}, {PlacementKind::Origin, 7, 0}},
        ValuesCase {"OriginYOnly", {"0", "0", "0", "9"}, {PlacementKind::Origin, 0, 9}},
        ValuesCase {"NegativeOrigin", {"0", "0", "-20", "-1"}, {PlacementKind::Origin, -20, -1}},
        ValuesCase {"TileBeatsStretch", {"1", "2", "0", "0"}, {PlacementKind::Tile, 0, 0}},
        ValuesCase {"TileBeatsOrigin", {"1", "0", "30", "40"}, {PlacementKind::Tile, 0, 0}},
        ValuesCase {"StretchBeatsOrigin", {"0", "2", "30", "40"}, {PlacementKind::Stretch, 0, 0}},
        ValuesCase {"AllMissing", {"", "", "", ""}, {PlacementKind::Center, 0, 0}},
        ValuesCase {"OtherStyleIsNotStretch", {"0", "6", "0", "0"}, {PlacementKind::Center, 0, 0}},
        ValuesCase {"OtherTileIsNotTile", {"2", "0", "0", "0"}, {PlacementKind::Center, 0, 0}},
        ValuesCase {"LeadingBlankAndZero", {" 01", "0", "0", "0"}, {PlacementKind::Tile, 0, 0}},
        ValuesCase {"GarbageOriginIsZero", {"0", "0", "abc", "x"}, {PlacementKind::Center, 0, 0}},
        ValuesCase {
            "OriginDigitsThenText", {"0", "0", "12px", "3 "}, {PlacementKind::Origin, 12, 3}}),
    [](const testing::TestParamInfo<ValuesCase> &p) { return std::string(p.param.name); });

struct NumberCase
{
    const char *text;
    int expected;
};

class DesktopNumber : public testing::TestWithParam<NumberCase>
{
};

TEST_P(DesktopNumber, ReadsLikeTheSystem)
{
    EXPECT_EQ(desktopNumber(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, DesktopNumber,
    testing::Values(NumberCase {"0", 0}, NumberCase {"100", 100}, NumberCase {"-5", -5},
        NumberCase {"+8", 8}, NumberCase {"  42", 42}, NumberCase {"\t3", 3}, NumberCase {"", 0},
        NumberCase {"-", 0}, NumberCase {"1e3", 1}, NumberCase {"2147483647", INT_MAX},
        NumberCase {"2147483648", INT_MAX}, NumberCase {"99999999999999999999", INT_MAX},
        NumberCase {"-2147483648", INT_MIN}, NumberCase {"-99999999999999999999", INT_MIN}));

/** Stores one of the four desktop values exactly as given. */
void put(testsupport::MemoryRegistry &registry, const char *name, std::string data,
    std::uint32_t type = platform::RegSz)
{
    registry.store("Control Panel\\Desktop", name, RegValue {type, std::move(data)});
}

TEST(ReadDesktopValues, TakesTheTextUpToTheFirstZero)
{
    testsupport::MemoryRegistry registry;
    put(registry, "TileWallpaper", std::string("0\0", 2));
    put(registry, "WallpaperStyle", std::string("0\0", 2));
    put(registry, "WallpaperOriginX", std::string("100\0", 4));
    put(registry, "WallpaperOriginY",
        std::string("5\0"
                    "0junk\0",
            8));
    const DesktopValues values = readDesktopValues(registry);
    EXPECT_EQ(values.originX, "100");
    EXPECT_EQ(values.originY, "5");
    EXPECT_EQ(registry.reads, 4);
    EXPECT_EQ(placementFromDesktopValues(values), (DeskPlacement {PlacementKind::Origin, 100, 5}));
}

TEST(ReadDesktopValues, DataWithoutItsZeroIsStillText)
{
    testsupport::MemoryRegistry registry;
    put(registry, "TileWallpaper", "1");
    EXPECT_EQ(readDesktopValues(registry).tileWallpaper, "1");
}

TEST(ReadDesktopValues, MissingAndNonStringValuesReadAsEmpty)
{
    testsupport::MemoryRegistry registry;
    put(registry, "TileWallpaper", std::string("\x01\0\0\0", 4), platform::RegDword);
    put(registry, "WallpaperStyle", std::string("2\0", 2), platform::RegBinary);
    put(registry, "WallpaperOriginX", std::string("3\0", 2), platform::RegExpandSz);
    const DesktopValues values = readDesktopValues(registry);
    EXPECT_EQ(values.tileWallpaper, "");
    EXPECT_EQ(values.wallpaperStyle, "");
    EXPECT_EQ(values.originX, "3");
    EXPECT_EQ(values.originY, "");
}

TEST(ReadDesktopValues, ReadsFromTheDesktopKeyOnly)
{
    testsupport::MemoryRegistry registry;
    registry.write("Software\\Tovrane\\Murelin", "TileWallpaper", {platform::RegSz, "1"});
    EXPECT_EQ(placementFromDesktopValues(readDesktopValues(registry)).kind, PlacementKind::Center);
}

} // namespace
