// ReadRegString and WriteRegString over the system's registry (wine's, here): every stored
// setting, read back by the program and by reg.exe. The string operations' own cases are in
// tests/settings, the system registry's bytes in registry_test.cpp.
#include "tests/win32/child_modes.h"
#include "tests/win32/support.h"

#include "settings/regstring.h"
#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
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
