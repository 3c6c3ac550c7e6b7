#include "linux/registry_file.h"
#include "settings/regstring.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

using testsupport::TempDir;

using platform::RegValue;
using settings::ReadRegString;
using settings::RegistryError;
using settings::WriteRegString;

namespace {

constexpr const char *Key = "Software\\Tovrane\\Murelin";

/** Points the program's registry at a private file for one test. */
class RegStringTest : public ::testing::Test
{
protected:
    void SetUp() override { platform::setCurrentUserRegistry(&m_reg); }
    void TearDown() override { platform::setCurrentUserRegistry(nullptr); }
    void store(const char *name, RegValue value) { ASSERT_TRUE(m_reg.write(Key, name, value)); }

    TempDir m_dir;
    platform::FileRegistry m_reg {m_dir.file("HKEY_CURRENT_USER.reg")};
};

} // namespace

TEST_F(RegStringTest, MissingValueGivesTheDefaultAndEmptyValueGivesEmpty)
{
    EXPECT_EQ(ReadRegString(Key, "Timer", "360"), "360");
    store("Timer", RegValue {platform::RegSz, std::string(1, '\0')});
    EXPECT_EQ(ReadRegString(Key, "Timer", "360"), "");
    store("Timer", RegValue {platform::RegSz, ""}); // size 0
    EXPECT_EQ(ReadRegString(Key, "Timer", "360"), "");
}

TEST_F(RegStringTest, TextEndsAtTheFirstZeroOrRunsToTheEnd)
{
    store("A", RegValue {platform::RegSz, std::string("ab\0cd", 5)});
    EXPECT_EQ(ReadRegString(Key, "A", "x"), "ab");
    store("B", RegValue {platform::RegSz, "no zero"});
    EXPECT_EQ(ReadRegString(Key, "B", "x"), "no zero");
    store("C", RegValue {platform::RegExpandSz, std::string("%HOME%\\x\0", 9)});
    EXPECT_EQ(ReadRegString(Key, "C", "x"), "%HOME%\\x");
}

TEST_F(RegStringTest, OtherTypesFailWithTheValuesName)
{
    store("X1", RegValue {platform::RegDword, std::string("\x2a\0\0\0", 4)});
    try {
        ReadRegString(Key, "X1", "0");
        FAIL() << "no error";
    } catch (const RegistryError &e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'X1'");
    }
}

TEST_F(RegStringTest, WriteStoresTheTextAndOneZeroReplacingAnyType)
{
    store("Index", RegValue {platform::RegDword, std::string(4, '\0')});
    WriteRegString(Key, "Index", "-1");
    const auto read = m_reg.read(Key, "Index");
    ASSERT_TRUE(read.value);
    EXPECT_EQ(read.value->type, platform::RegSz);
    EXPECT_EQ(read.value->data, std::string("-1\0", 3));
}

TEST(RegString, AKeyThatCannotBeMadeGivesTheDefaultAndFailsTheWrite)
{
    TempDir dir;
    // A file where the registry's folder should be: nothing can be created below it.
    {
        platform::FileRegistry blocker(dir.file("r.reg"));
        ASSERT_TRUE(blocker.write(Key, "x", RegValue {}));
    }
    platform::FileRegistry reg(dir.file("r.reg/murelin/HKEY_CURRENT_USER.reg"));
    platform::setCurrentUserRegistry(&reg);
    EXPECT_EQ(ReadRegString(Key, "Timer", "360"), "360");
    try {
        WriteRegString(Key, "Timer", "5");
        ADD_FAILURE() << "no error";
    } catch (const RegistryError &e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Timer'");
    }
    platform::setCurrentUserRegistry(nullptr);
}

TEST(RegString, TheDefaultRegistryFollowsXdgConfigHome)
{
    TempDir dir;
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    WriteRegString(Key, "Index", "3");
    EXPECT_EQ(platform::FileRegistry::defaultFilePath(), dir.file("murelin/HKEY_CURRENT_USER.reg"));
    EXPECT_EQ(ReadRegString(Key, "Index", "-1"), "3");
    ::unsetenv("XDG_CONFIG_HOME");
}
