// ReadRegString and WriteRegString over the system's registry (wine's, here), with the same
// cases as the Linux registry file; the bytes are checked by the system's calls and reg.exe.
#include "child_modes.h"
#include "support.h"

#include "settings/regstring.h"
#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

using namespace win32test;
using settings::ReadRegString;
using settings::WriteRegString;

namespace {

const std::string key(settings::SettingsKey);

class RegString : public testing::Test
{
protected:
    void SetUp() override { deleteUserKey(key.c_str()); }
    void TearDown() override { deleteUserKey(key.c_str()); }
};

std::string failureOf(void (*action)())
{
    try {
        action();
    } catch (const std::runtime_error &error) {
        return error.what();
    }
    return "(no error)";
}

// Writes what a run of the program leaves behind, for the stage to read with reg.exe.
const ChildMode leaveRegistryMode("leave-registry", [](const std::vector<std::string> &) {
    try {
        WriteRegString(settings::SettingsKey, "Index", "-1");
        WriteRegString(settings::SettingsKey, "Timer", "360");
        WriteRegString(settings::SettingsKey, "AutoQuit", "false");
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
});

} // namespace

TEST_F(RegString, AReadOfAMissingKeyGivesTheDefaultAndLeavesTheKeyEmpty)
{
    ASSERT_FALSE(userKeyExists(key.c_str()));
    EXPECT_EQ(ReadRegString(key, "Timer", "360"), "360");
    DWORD values = 99;
    EXPECT_TRUE(userKeyExists(key.c_str(), &values));
    EXPECT_EQ(values, 0u);
}

TEST_F(RegString, AnEmptyValueReadsAsTheEmptyText)
{
    setRawValue(key.c_str(), "FLeft", REG_SZ, "", 0);
    EXPECT_EQ(ReadRegString(key, "FLeft", "302"), "");
    WriteRegString(key, "FTop", "");
    EXPECT_EQ(ReadRegString(key, "FTop", "198"), "");
}

TEST_F(RegString, MinusOneIsStoredAsThreeBytesOfTypeRegSz)
{
    WriteRegString(key, "Index", "-1");
    DWORD type = 0;
    EXPECT_EQ(rawAnsiValue(key.c_str(), "Index", &type), std::string("-1\0", 3));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(rawWideValue(key.c_str(), "Index", &type)->size(), 6u);
    const auto shown = regQuery(key, "Index");
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->type, "REG_SZ");
    EXPECT_EQ(shown->text, "-1");
    EXPECT_EQ(ReadRegString(key, "Index", "0"), "-1");
}

TEST_F(RegString, ADwordUnderX1IsAnInvalidDataType)
{
    const DWORD number = 100;
    setRawValue(key.c_str(), "X1", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(failureOf([] { ReadRegString(settings::SettingsKey, "X1", "0"); }),
        "Invalid data type for 'X1'");
    // A binary value is refused the same way; a write replaces either.
    setRawValue(key.c_str(), "Y1", REG_BINARY, "12", 2);
    EXPECT_EQ(failureOf([] { ReadRegString(settings::SettingsKey, "Y1", "0"); }),
        "Invalid data type for 'Y1'");
    WriteRegString(key, "X1", "100");
    EXPECT_EQ(ReadRegString(key, "X1", "0"), "100");
    EXPECT_EQ(regQuery(key, "X1")->type, "REG_SZ");
}

TEST_F(RegString, AStringWithoutItsZeroByteReadsAsAllItsBytes)
{
    setRawValue(key.c_str(), "Option", REG_SZ, "12X", 2);
    DWORD type = 0;
    ASSERT_EQ(rawAnsiValue(key.c_str(), "Option", &type), "12");
    EXPECT_EQ(ReadRegString(key, "Option", "3"), "12");
}

TEST_F(RegString, AnExpandableStringIsReturnedUnexpanded)
{
    const char stored[] = "%SystemRoot%\\Murelin";
    setRawValue(key.c_str(), "Timer", REG_EXPAND_SZ, stored, sizeof stored);
    EXPECT_EQ(ReadRegString(key, "Timer", "360"), stored);
}

TEST_F(RegString, TheTextEndsAtTheFirstZeroByte)
{
    setRawValue(key.c_str(), "Timer", REG_SZ, "60\0junk", 8);
    EXPECT_EQ(ReadRegString(key, "Timer", "360"), "60");
}

TEST_F(RegString, AnsiBytesAreKeptAsTheyAre)
{
    const std::string text = "C:\\Bilder\\\xE9t\xE9 \xC4\x80.bmp";
    WriteRegString(key, "Path", text);
    DWORD type = 0;
    EXPECT_EQ(rawAnsiValue(key.c_str(), "Path", &type), text + '\0');
    EXPECT_EQ(ReadRegString(key, "Path", ""), text);
}

TEST_F(RegString, AValueThatCannotBeSetFailsWithItsName)
{
    // The system refuses value names of more than 16383 characters.
    static const std::string tooLong(16384, 'n');
    const std::string message
        = failureOf([] { WriteRegString(settings::SettingsKey, tooLong, "1"); });
    EXPECT_EQ(message, "Failed to set data for '" + tooLong + "'");
}

TEST_F(RegString, EveryStoredSettingReadsBackWhatWasWritten)
{
    const char *names[] = {"Index", "Timer", "X1", "Y1", "Option", "FLeft", "FTop", "AutoQuit",
        "RandomPick", "IconClick", "LoadStart", "TimedDisplay", "PreviewOn"};
    const char *texts[] = {"4", "604800", "32000", "0", "-1", "-2147483648", "2147483647", "true",
        "false", "true", "false", "true", "false"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        WriteRegString(key, names[i], texts[i]);
    DWORD values = 0;
    ASSERT_TRUE(userKeyExists(key.c_str(), &values));
    EXPECT_EQ(values, std::size(names));
    for (std::size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(ReadRegString(key, names[i], "default"), texts[i]) << names[i];
        const auto shown = regQuery(key, names[i]);
        ASSERT_TRUE(shown.has_value()) << names[i];
        EXPECT_EQ(shown->text, texts[i]) << names[i];
    }
}
