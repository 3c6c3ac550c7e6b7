// Laying a picture on the desktop through the system: each placement's four desktop values
// under the current user's "Control Panel\Desktop", in order, each before the wallpaper call,
// then the call itself, whose result SPI_GETDESKWALLPAPER reports.
#include "tests/support/memory_registry.h"
#include "tests/win32/child_modes.h"
#include "tests/win32/support.h"

#include "platform/desktop_wallpaper.h"
#include "platform/registry.h"
#include "wallpaper/desktop_values.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

using namespace win32test;

namespace {

std::string systemWallpaper()
{
    char buffer[MAX_PATH + 1] = {};
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof buffer, buffer, 0);
    return buffer;
}

struct Write
{
    std::string key;
    std::string name;
    std::string text;
    std::string wallpaperAtThatMoment;

    friend bool operator==(const Write &, const Write &) = default;
};

struct PlacementCase
{
    const char *name;
    wallpaper::PlacementFlags flags;
    // The texts of each wallpaper call, in the order written: TileWallpaper, WallpaperStyle,
    // WallpaperOriginX, WallpaperOriginY.
    std::vector<std::vector<std::string>> calls;
};

class DesktopValues : public testing::TestWithParam<PlacementCase>
{
};

// A run of the program laying a "Location" picture at 100, 50, for the stage to read back.
const ChildMode leaveDesktopMode("leave-desktop", [](const std::vector<std::string> &) {
    try {
        wallpaper::ApplyPlacement(
            platform::setDeskWallpaper, "C:\\Pics\\Hill.bmp", {true, false, false, true, 100, 50});
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return systemWallpaper() == "C:\\Pics\\Hill.bmp" ? 0 : 2;
});

} // namespace

TEST_P(DesktopValues, AreWrittenInOrderBeforeEachWallpaperCall)
{
    const PlacementCase &c = GetParam();
    const std::string before = "C:\\Pics\\before " + std::string(c.name) + ".bmp";
    const std::string path = "C:\\Pics\\" + std::string(c.name) + " \xE9.bmp";
    ASSERT_TRUE(
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char *>(before.c_str()), 0));
    DWORD type = 0;
    const auto profileBefore = rawAnsiValue("Control Panel\\Desktop", "Wallpaper", &type);

    // Every access goes on to the system's registry; each write is noted with the wallpaper
    // the system reports at that moment.
    std::vector<Write> writes;
    {
        testsupport::MemoryRegistry recorder(platform::systemRegistry());
        recorder.onWrite = [&writes](std::string_view keyPath, const auto &write) {
            writes.push_back({std::string(keyPath), write.name, write.text, systemWallpaper()});
        };
        wallpaper::ApplyPlacement(platform::setDeskWallpaper, path, c.flags);
    }

    const char *names[]
        = {"TileWallpaper", "WallpaperStyle", "WallpaperOriginX", "WallpaperOriginY"};
    std::vector<Write> expected;
    for (std::size_t call = 0; call < c.calls.size(); ++call) {
        for (std::size_t i = 0; i < 4; ++i)
            expected.push_back(
                {"Control Panel\\Desktop", names[i], c.calls[call][i], call == 0 ? before : path});
    }
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(systemWallpaper(), c.calls.empty() ? before : path);

    if (!c.calls.empty()) {
        for (std::size_t i = 0; i < 4; ++i) {
            const auto shown = regQuery("Control Panel\\Desktop", names[i]);
            ASSERT_TRUE(shown.has_value()) << names[i];
            EXPECT_EQ(shown->type, "REG_SZ") << names[i];
            EXPECT_EQ(shown->text, c.calls.back()[i]) << names[i];
        }
    }
    EXPECT_EQ(rawAnsiValue("Control Panel\\Desktop", "Wallpaper", &type), profileBefore)
        << "the wallpaper is not recorded in the user's profile";
}

INSTANTIATE_TEST_SUITE_P(Placements, DesktopValues,
    testing::Values(
        PlacementCase {"Stretch", {true, false, false, false, 7, 9}, {{"0", "2", "0", "0"}}},
        PlacementCase {"Center", {false, true, false, false, 7, 9}, {{"0", "0", "0", "0"}}},
        PlacementCase {"Tiled", {false, false, true, false, 7, 9}, {{"1", "0", "0", "0"}}},
        PlacementCase {"Location", {true, false, false, true, 100, 50},
            {{"0", "2", "0", "0"}, {"0", "0", "100", "50"}}},
        PlacementCase {"LocationAtZero", {true, false, false, true, 0, 0},
            {{"0", "2", "0", "0"}, {"0", "0", "0", "0"}}},
        PlacementCase {"None", {false, false, false, false, 7, 9}, {}}),
    [](const testing::TestParamInfo<PlacementCase> &c) { return std::string(c.param.name); });

// The system's wallpaper as any program sees it, for the end-to-end run of the real program.
const ChildMode printWallpaperMode("print-wallpaper", [](const std::vector<std::string> &) {
    std::printf("%s\n", systemWallpaper().c_str());
    return 0;
});
