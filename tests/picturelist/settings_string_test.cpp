#include "picturelist/settings_string.h"

#include <gtest/gtest.h>

using picturelist::ParsedSettings;
using picturelist::parseSettingsString;

struct SettingsCase
{
    const char *text;
    ParsedSettings parsed;
};

class SettingsStringReading : public ::testing::TestWithParam<SettingsCase>
{
};

TEST_P(SettingsStringReading, ModeXAndY)
{
    EXPECT_EQ(parseSettingsString(GetParam().text), GetParam().parsed) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(SettingsString, SettingsStringReading,
    ::testing::Values(SettingsCase {"3100|50", {3, 100, 50}}, SettingsCase {"", {3, 0, 0}},
        SettingsCase {"2", {2, 0, 2}}, SettingsCase {"7100|50", {3, 100, 50}},
        SettingsCase {"0abc|5", {0, 0, 5}}, SettingsCase {"340000|0", {3, 40000, 0}},
        SettingsCase {"3$1F|$10", {3, 31, 16}}, SettingsCase {"3-5|-7", {3, -5, -7}},
        SettingsCase {"|5", {3, 0, 5}}, SettingsCase {"1|", {1, 0, 0}},
        SettingsCase {"10|0|9", {1, 0, 0}}, SettingsCase {"25", {2, 0, 25}}));

TEST(SettingsString, MakesTheNormalForm)
{
    EXPECT_EQ(picturelist::makeSettingsString(3, 100, 50), "3100|50");
    EXPECT_EQ(picturelist::makeSettingsString(0, 0, 0), "00|0");
    EXPECT_EQ(picturelist::makeSettingsString(3, 32000, 32000), "332000|32000");
    // With no mode chosen the string still follows the format and reads back its X and Y.
    const std::string none = picturelist::makeSettingsString(-1, 12, 34);
    EXPECT_EQ(none, "312|34");
    EXPECT_EQ(parseSettingsString(none), (ParsedSettings {3, 12, 34}));
}
