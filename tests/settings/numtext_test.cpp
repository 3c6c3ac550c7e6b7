#include "settings/numtext.h"

#include <gtest/gtest.h>

#include <optional>

struct IntCase
{
    const char *text;
    std::optional<std::int32_t> value;
};

class IntegerConversion : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(IntegerConversion, ReadsWhatTheToolkitReads)
{
    EXPECT_EQ(settings::parseInteger(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Settings, IntegerConversion,
    ::testing::Values(IntCase {"0", 0}, IntCase {"360", 360}, IntCase {"-5", -5}, IntCase {"+7", 7},
        IntCase {"  12", 12}, IntCase {"$1F", 31}, IntCase {"0x1f", std::nullopt},
        IntCase {"0X10", std::nullopt}, IntCase {"\t12", std::nullopt}, IntCase {"$FFFFFFFF", -1},
        IntCase {"2147483647", 2147483647}, IntCase {"-2147483648", INT32_MIN},
        IntCase {"2147483648", std::nullopt}, IntCase {"", std::nullopt},
        IntCase {"-", std::nullopt}, IntCase {"12 ", std::nullopt}, IntCase {"abc", std::nullopt},
        IntCase {"1e3", std::nullopt}, IntCase {"$", std::nullopt},
        IntCase {"$1FFFFFFFF", std::nullopt}));

TEST(Settings, StrToIntNamesTheBadText)
{
    try {
        settings::StrToInt("0x10");
        FAIL();
    } catch (const settings::ConvertError &e) {
        EXPECT_STREQ(e.what(), "'0x10' is not a valid integer value");
    }
    EXPECT_EQ(settings::StrToIntDef("abc", 9), 9);
}
