#include "tests/win32/support.h"

#include "platform/desktop_wallpaper.h"

#include "platform/win32/windows_headers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using win32test::rawAnsiValue;

namespace {

std::string systemWallpaper()
{
    char buffer[MAX_PATH + 1] = {};
    if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof buffer, buffer, 0))
        return "(SPI_GETDESKWALLPAPER failed)";
    return buffer;
}

class DeskWallpaper : public testing::TestWithParam<std::string>
{
};

} // namespace

TEST_P(DeskWallpaper, TheSystemReportsThePathItWasGiven)
{
    EXPECT_TRUE(platform::setDeskWallpaper(GetParam()));
    EXPECT_EQ(systemWallpaper(), GetParam());
}

// Without SPIF_UPDATEINIFILE the system shows the picture but does not record it in the
// user's profile: the "Wallpaper" value under the desktop key stays as it was.
TEST_P(DeskWallpaper, TheUsersProfileIsNotUpdated)
{
    DWORD type = 0;
    const auto before = rawAnsiValue("Control Panel\\Desktop", "Wallpaper", &type);
    ASSERT_TRUE(platform::setDeskWallpaper(GetParam()));
    EXPECT_EQ(rawAnsiValue("Control Panel\\Desktop", "Wallpaper", &type), before);
}

// Nothing checks that the file exists; the path goes to the system byte for byte.
INSTANTIATE_TEST_SUITE_P(Paths, DeskWallpaper,
    testing::Values(std::string("C:\\Pics\\Sea.bmp"),
        std::string("C:\\Pics\\With Blanks\\Hill.bmp"), std::string("C:\\Bilder\\\xE9t\xE9.bmp"),
        std::string("C:\\Pics\\missing.bmp")));
