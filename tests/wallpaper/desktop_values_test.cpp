#include "wallpaper/desktop_values.h"

#include "platform/desktop_wallpaper.h"
#include "platform/linux/wallpaper/desk_placement.h"
#include "platform/registry.h"
#include "settings/regstring.h"
#include "tests/support/memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::desk::DeskPlacement;
using platform::desk::PlacementKind;
using wallpaper::PlacementFlags;

/**
 * The registry in memory, with every write and the wallpaper call logged in one list, so that
 * a test sees the exact order of everything the desktop is told.
 */
class DesktopValuesTest : public ::testing::Test
{
protected:
    testsupport::MemoryRegistry registry;
    std::vector<std::string> log;
    std::vector<DeskPlacement> placementsSeen; // what the system read back at each call
    // The system's wallpaper call, logged with what the desktop reads back at that moment.
    const wallpaper::DeskWallpaperCall record = [this](const std::string &path) {
        log.push_back("wallpaper " + path);
        placementsSeen.push_back(platform::desk::placementFromDesktopValues(
            platform::desk::readDesktopValues(registry)));
        return true;
    };

    void SetUp() override
    {
        registry.onWrite = [this](std::string_view keyPath, const auto &write) {
            log.push_back(std::string(keyPath) + "|" + write.name + "=" + write.text);
        };
    }
};

/** The log of one ApplyWallpaper call that writes the four texts given. */
std::vector<std::string> oneCall(
    const char *tile, const char *style, const char *x, const char *y, const std::string &path)
{
    const std::string k = "Control Panel\\Desktop|";
    return {k + "TileWallpaper=" + tile, k + "WallpaperStyle=" + style, k + "WallpaperOriginX=" + x,
        k + "WallpaperOriginY=" + y, "wallpaper " + path};
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// ---------------------------------------------------------------- the four texts

struct TextsCase
{
    std::int32_t style;
    std::int32_t x;
    std::int32_t y;
    wallpaper::DesktopTexts expected;
};

class DesktopTextsTest : public ::testing::TestWithParam<TextsCase>
{
};

TEST_P(DesktopTextsTest, EachStyleCode)
{
    const TextsCase &c = GetParam();
    EXPECT_EQ(wallpaper::desktopTexts(c.style, c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Styles, DesktopTextsTest,
    ::testing::Values(
        // The origin goes out only with style 3; the others write zeros whatever it holds.
        TextsCase {wallpaper::Tiled, 100, 50, {"1", "0", "0", "0"}},
        TextsCase {wallpaper::Centred, 100, 50, {"0", "0", "0", "0"}},
        TextsCase {wallpaper::Stretched, 100, 50, {"0", "2", "0", "0"}},
        TextsCase {wallpaper::AtOrigin, 100, 50, {"0", "0", "100", "50"}},
        TextsCase {wallpaper::AtOrigin, 0, 0, {"0", "0", "0", "0"}},
        TextsCase {wallpaper::AtOrigin, 32000, 7, {"0", "0", "32000", "7"}},
        TextsCase {wallpaper::AtOrigin, -5, INT32_MIN, {"0", "0", "-5", "-2147483648"}}));

TEST(DesktopTexts, UnknownStyleCodeIsAnError)
{
    EXPECT_THROW(wallpaper::desktopTexts(4, 0, 0), std::invalid_argument);
    EXPECT_THROW(wallpaper::desktopTexts(-1, 0, 0), std::invalid_argument);
}

// ---------------------------------------------------------------- the placement table

struct PlacementCase
{
    const char *name;
    PlacementFlags flags;
    std::vector<std::string> log; // writes and calls, in order
    std::vector<DeskPlacement> readBack; // the placement the system saw at each call
};

class PlacementTableTest : public DesktopValuesTest,
                           public ::testing::WithParamInterface<PlacementCase>
{
};

TEST_P(PlacementTableTest, WritesThenCallsInOrder)
{
    const PlacementCase &c = GetParam();
    wallpaper::ApplyPlacement(record, "/pictures/a.bmp", c.flags);
    EXPECT_EQ(log, c.log);
    EXPECT_EQ(placementsSeen, c.readBack);
}

const std::string pic = "/pictures/a.bmp";

INSTANTIATE_TEST_SUITE_P(Modes, PlacementTableTest,
    ::testing::Values(
        // The flags as each placement leaves them; Stretch and the others ignore the origin.
        PlacementCase {"Stretch", {true, false, false, false, 100, 50},
            oneCall("0", "2", "0", "0", pic), {{PlacementKind::Stretch}}},
        PlacementCase {"Center", {false, true, false, false, 100, 50},
            oneCall("0", "0", "0", "0", pic), {{PlacementKind::Center}}},
        PlacementCase {"Tiled", {false, false, true, false, 100, 50},
            oneCall("1", "0", "0", "0", pic), {{PlacementKind::Tile}}},
        // Location is laid twice: stretched first, then at its origin.
        PlacementCase {"Location", {true, false, false, true, 100, 50},
            joined(oneCall("0", "2", "0", "0", pic), oneCall("0", "0", "100", "50", pic)),
            {{PlacementKind::Stretch}, {PlacementKind::Origin, 100, 50}}},
        PlacementCase {"LocationAtZero", {true, false, false, true, 0, 0},
            joined(oneCall("0", "2", "0", "0", pic), oneCall("0", "0", "0", "0", pic)),
            {{PlacementKind::Stretch}, {PlacementKind::Center}}},
        PlacementCase {"NothingChosen", {false, false, false, false, 100, 50}, {}, {}}),
    [](const ::testing::TestParamInfo<PlacementCase> &p) { return p.param.name; });

TEST_F(DesktopValuesTest, PathGoesToTheSystemUnchanged)
{
    // Bytes that are no UTF-8, blanks, an empty path and a file that does not exist: the
    // values are written and the call is made with exactly these bytes.
    for (const std::string &path :
        {std::string("/tmp/\xff\xfe bild.bmp"), std::string(), std::string("/no/such/file.bmp")}) {
        log.clear();
        wallpaper::ApplyWallpaper(record, path, wallpaper::Centred, 0, 0);
        EXPECT_EQ(log, oneCall("0", "0", "0", "0", path));
    }
}

TEST_F(DesktopValuesTest, FailedWriteStopsTheRestAndTheCall)
{
    // Location: the second call's third write fails. The first call is complete, the second
    // stops at that write, and its wallpaper call is not made.
    registry.failingWriteNumber = 6;
    EXPECT_THROW(wallpaper::ApplyPlacement(record, pic, {true, false, false, true, 100, 50}),
        settings::RegistryError);
    const std::string k = "Control Panel\\Desktop|";
    EXPECT_EQ(log,
        joined(oneCall("0", "2", "0", "0", pic),
            {k + "TileWallpaper=0", k + "WallpaperStyle=0", k + "WallpaperOriginX=100"}));
}

TEST_F(DesktopValuesTest, RefusedWallpaperCallIsNotNoticed)
{
    const wallpaper::DeskWallpaperCall refuse = [](const std::string &) { return false; };
    EXPECT_NO_THROW(wallpaper::ApplyPlacement(refuse, pic, {false, false, true, false, 0, 0}));
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(DesktopValuesTest, WithoutADesktopTheValuesAreWrittenAndNothingIsCalled)
{
    wallpaper::ApplyPlacement({}, pic, {false, false, true, false, 0, 0});
    std::vector<std::string> writes = oneCall("1", "0", "0", "0", pic);
    writes.pop_back(); // the wallpaper call
    EXPECT_EQ(log, writes);
}

} // namespace
