#include "tests/win32/support.h"

#include "platform/registry.h"

#include <gtest/gtest.h>

#include <string>

using namespace win32test;
using platform::RegValue;

namespace {

const char testKey[] = "Software\\Tovrane\\MurelinRegistryTest";

class SystemRegistry : public testing::Test
{
protected:
    void SetUp() override { deleteUserKey(testKey); }
    void TearDown() override { deleteUserKey(testKey); }
    platform::Registry &registry = platform::currentUserRegistry();
};

struct StoredCase
{
    const char *name;
    RegValue value;
    const char *queryType; // as reg.exe names it
    const char *queryText; // as reg.exe shows it (nullptr: not compared)
    std::size_t wideBytes; // the data's size as the system keeps it
};

class StoredValues : public SystemRegistry, public testing::WithParamInterface<StoredCase>
{
};

} // namespace

TEST_F(SystemRegistry, AReadCreatesAMissingKeyAndFindsNoValue)
{
    ASSERT_FALSE(userKeyExists(testKey));
    const platform::RegRead read = registry.read(testKey, "Timer");
    EXPECT_TRUE(read.keyOpened);
    EXPECT_FALSE(read.value.has_value());
    DWORD values = 99;
    EXPECT_TRUE(userKeyExists(testKey, &values));
    EXPECT_EQ(values, 0u);
}

TEST_P(StoredValues, AreKeptAsWrittenAndReadBackTheSame)
{
    const StoredCase &c = GetParam();
    ASSERT_TRUE(registry.write(testKey, c.name, c.value));

    DWORD type = 0;
    const auto wide = rawWideValue(testKey, c.name, &type);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(type, c.value.type);
    EXPECT_EQ(wide->size(), c.wideBytes);

    const auto shown = regQuery(testKey, c.name);
    ASSERT_TRUE(shown.has_value()) << "reg query found no " << c.name;
    EXPECT_EQ(shown->type, c.queryType);
    if (c.queryText) {
        EXPECT_EQ(shown->text, c.queryText);
    }

    const platform::RegRead read = registry.read(testKey, c.name);
    EXPECT_TRUE(read.keyOpened);
    ASSERT_TRUE(read.value.has_value());
    EXPECT_EQ(*read.value, c.value);
}

INSTANTIATE_TEST_SUITE_P(Types, StoredValues,
    testing::Values(
        StoredCase {"Index", {platform::RegSz, std::string("-1\0", 3)}, "REG_SZ", "-1", 6},
        // reg.exe shows no text of its own for an empty value: only the type is compared.
        StoredCase {"Empty", {platform::RegSz, ""}, "REG_SZ", nullptr, 0},
        StoredCase {"EmptyText", {platform::RegSz, std::string(1, '\0')}, "REG_SZ", nullptr, 2},
        StoredCase {"Flag", {platform::RegSz, std::string("true\0", 5)}, "REG_SZ", "true", 10},
        StoredCase {"Ansi",
            {platform::RegSz, std::string("C:\\Bilder\\\xE9t\xE9 \xC4\x80.bmp\0", 21)}, "REG_SZ",
            nullptr, 42},
        // Bytes after an inner zero are kept: only the reader of the text stops there.
        StoredCase {
            "InnerZero", {platform::RegSz, std::string("60\0junk\0", 8)}, "REG_SZ", nullptr, 16},
        StoredCase {"Expand", {platform::RegExpandSz, std::string("%SystemRoot%\\x\0", 15)},
            "REG_EXPAND_SZ", "%SystemRoot%\\x", 30},
        StoredCase {
            "Number", {platform::RegDword, std::string("\x07\0\0\0", 4)}, "REG_DWORD", "0x7", 4},
        StoredCase {
            "Bytes", {platform::RegBinary, std::string("a\0\xff", 3)}, "REG_BINARY", "6100FF", 3}),
    [](const testing::TestParamInfo<StoredCase> &c) { return std::string(c.param.name); });

TEST_F(SystemRegistry, AStringStoredWithoutItsZeroByteReadsAsAllItsBytes)
{
    // The byte after the three given is not zero, so nothing takes it for a terminator.
    setRawValue(testKey, "NoZero", REG_SZ, "abcX", 3);
    DWORD type = 0;
    ASSERT_EQ(rawWideValue(testKey, "NoZero", &type)->size(), 6u);
    const platform::RegRead read = registry.read(testKey, "NoZero");
    ASSERT_TRUE(read.value.has_value());
    EXPECT_EQ(*read.value, (RegValue {platform::RegSz, "abc"}));
}

TEST_F(SystemRegistry, AWriteReplacesAValueOfAnotherType)
{
    const DWORD seven = 7;
    setRawValue(testKey, "X1", REG_DWORD, &seven, sizeof seven);
    ASSERT_TRUE(registry.write(testKey, "X1", {platform::RegSz, std::string("12\0", 3)}));
    const auto shown = regQuery(testKey, "X1");
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->type, "REG_SZ");
    EXPECT_EQ(shown->text, "12");
}

TEST_F(SystemRegistry, KeyPathsAndValueNamesMatchWithoutRegardToCase)
{
    ASSERT_TRUE(registry.write(testKey, "FLeft", {platform::RegSz, std::string("-40\0", 4)}));
    const platform::RegRead read = registry.read("SOFTWARE\\tovrane\\murelinregistrytest", "fleft");
    ASSERT_TRUE(read.value.has_value());
    EXPECT_EQ(read.value->data, std::string("-40\0", 4));
}

TEST_F(SystemRegistry, AKeyThatCannotBeCreatedIsReportedByBothCalls)
{
    // A key name of more than 255 characters is refused by the system.
    const std::string tooLong = std::string(testKey) + "\\" + std::string(300, 'k');
    EXPECT_FALSE(registry.read(tooLong, "Timer").keyOpened);
    EXPECT_FALSE(registry.write(tooLong, "Timer", {platform::RegSz, std::string("1\0", 2)}));
}

TEST_F(SystemRegistry, AValueThatCannotBeSetIsReportedAndChangesNothing)
{
    const std::string tooLongName(16384, 'n');
    EXPECT_FALSE(registry.write(testKey, tooLongName, {platform::RegSz, std::string("1\0", 2)}));
    DWORD values = 99;
    EXPECT_TRUE(userKeyExists(testKey, &values));
    EXPECT_EQ(values, 0u);
}
