#include "settings/regstring.h"
#include "tests/support/memory_registry.h"

#include <gtest/gtest.h>

using platform::RegValue;
using settings::ReadRegString;
using settings::RegistryError;
using settings::WriteRegString;

namespace {

constexpr const char *Key = "Software\\Tovrane\\Murelin";

/** The program's registry in memory for one test. */
class RegStringTest : public ::testing::Test
{
protected:
    void store(const char *name, const RegValue &value) { m_reg.store(Key, name, value); }
    std::string failureOf(void (*action)())
    {
        try {
            action();
        } catch (const RegistryError &e) {
            return e.what();
        }
        return "(no error)";
    }

    testsupport::MemoryRegistry m_reg;
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
    EXPECT_EQ(failureOf([] { ReadRegString(Key, "X1", "0"); }), "Invalid data type for 'X1'");
    store("Y1", RegValue {platform::RegBinary, "12"});
    EXPECT_EQ(failureOf([] { ReadRegString(Key, "Y1", "0"); }), "Invalid data type for 'Y1'");
}

TEST_F(RegStringTest, WriteStoresTheTextAndOneZero)
{
    const std::string ansi = "C:\\Bilder\\\xE9t\xE9 \xC4\x80.bmp";
    WriteRegString(Key, "Index", "-1");
    WriteRegString(Key, "Path", ansi);
    WriteRegString(Key, "FTop", "");
    EXPECT_EQ(m_reg.read(Key, "Index").value, (RegValue {platform::RegSz, std::string("-1\0", 3)}));
    EXPECT_EQ(m_reg.read(Key, "Path").value, (RegValue {platform::RegSz, ansi + '\0'}));
    EXPECT_EQ(m_reg.read(Key, "FTop").value, (RegValue {platform::RegSz, std::string(1, '\0')}));
    EXPECT_EQ(ReadRegString(Key, "Path", ""), ansi);
}

TEST_F(RegStringTest, AKeyThatCannotBeOpenedGivesTheDefaultAndFailsTheWrite)
{
    m_reg.failKeys = true;
    EXPECT_EQ(ReadRegString(Key, "Timer", "360"), "360");
    EXPECT_EQ(
        failureOf([] { WriteRegString(Key, "Timer", "5"); }), "Failed to set data for 'Timer'");
}
