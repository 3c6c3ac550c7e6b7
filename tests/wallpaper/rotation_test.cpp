#include "wallpaper/rotation.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

// ---------------------------------------------------------------- the current row

struct FirstCase
{
    std::vector<int> selected;
    std::int32_t count;
    std::int32_t expected;
};

class FirstSelectedTest : public ::testing::TestWithParam<FirstCase>
{
};

TEST_P(FirstSelectedTest, Table)
{
    const FirstCase &c = GetParam();
    EXPECT_EQ(wallpaper::firstSelectedIndex(c.selected, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Selections, FirstSelectedTest,
    ::testing::Values(FirstCase {{2, 5}, 6, 2}, FirstCase {{5, 2}, 6, 2}, FirstCase {{}, 6, 0},
        FirstCase {{}, 1, 0}, FirstCase {{}, 0, -1}, FirstCase {{0}, 1, 0}, FirstCase {{3}, 4, 3}));

// ---------------------------------------------------------------- Next and Prev

struct StepCase
{
    std::int32_t index;
    std::int32_t count;
    std::int32_t next;
    std::int32_t prev;
};

class StepTest : public ::testing::TestWithParam<StepCase>
{
};

TEST_P(StepTest, WrapsBothWays)
{
    const StepCase &c = GetParam();
    EXPECT_EQ(wallpaper::nextIndex(c.index, c.count), c.next);
    EXPECT_EQ(wallpaper::prevIndex(c.index, c.count), c.prev);
}

INSTANTIATE_TEST_SUITE_P(Lists, StepTest,
    ::testing::Values(StepCase {0, 3, 1, 2}, StepCase {1, 3, 2, 0}, StepCase {2, 3, 0, 1},
        StepCase {0, 1, 0, 0}, StepCase {0, 2, 1, 1}, StepCase {1, 2, 0, 0},
        StepCase {99, 100, 0, 98}));

// ---------------------------------------------------------------- the random pick

TEST(RandomGenerator, SeedStepsModulo2To32)
{
    wallpaper::RandomGenerator generator(0);
    const std::array<std::uint32_t, 4> expected {1u, 134775814u, 3698175007u, 870078620u};
    for (std::uint32_t seed : expected) {
        generator.draw(7);
        EXPECT_EQ(generator.seed(), seed);
    }
}

struct PickCase
{
    std::uint32_t clock;
    std::int32_t count;
    std::int32_t expected;
};

class RandomPickTest : public ::testing::TestWithParam<PickCase>
{
};

TEST_P(RandomPickTest, FixedClockReadings)
{
    const PickCase &c = GetParam();
    EXPECT_EQ(wallpaper::randomPick(c.clock, c.count), c.expected);
    // The same reading gives the same row again.
    EXPECT_EQ(wallpaper::randomPick(c.clock, c.count), c.expected);
}

// Worked out by hand: seed = clock * 134775813 + 1 mod 2^32, row = (count * seed) >> 32.
INSTANTIATE_TEST_SUITE_P(Clock, RandomPickTest,
    ::testing::Values(PickCase {0, 5, 0}, PickCase {1, 5, 0}, PickCase {1000, 5, 1},
        PickCase {43200000, 5, 1}, PickCase {86399999, 5, 3}, PickCase {12345678, 3, 1},
        PickCase {12345678, 1, 0}, PickCase {3600000, 10, 7}, PickCase {7, 100, 21},
        PickCase {86399999, 2147483647, 1553179645}));

TEST(RandomPick, EveryRowComesAboutEquallyOftenOverTheDay)
{
    constexpr std::int32_t rows = 5;
    std::array<int, rows> seen {};
    int draws = 0;
    for (std::uint32_t clock = 0; clock < 86400000u; clock += 997) {
        const std::int32_t row = wallpaper::randomPick(clock, rows);
        ASSERT_GE(row, 0);
        ASSERT_LT(row, rows);
        ++seen[static_cast<size_t>(row)];
        ++draws;
    }
    for (int count : seen)
        EXPECT_NEAR(count, draws / rows, draws / rows / 20); // within 5 %
}

TEST(RandomPick, TimeOfDayReading)
{
    EXPECT_EQ(wallpaper::timeOfDayMs(0, 0, 0, 0), 0u);
    EXPECT_EQ(wallpaper::timeOfDayMs(0, 0, 1, 0), 1000u);
    EXPECT_EQ(wallpaper::timeOfDayMs(12, 0, 0, 0), 43200000u);
    EXPECT_EQ(wallpaper::timeOfDayMs(23, 59, 59, 999), 86399999u);
    // The clock's own reading, against the seconds since the epoch: a day is 86400 s in UTC.
    const auto before = std::chrono::system_clock::now();
    const std::uint32_t reading = wallpaper::utcTimeOfDayMs();
    const auto ms
        = std::chrono::duration_cast<std::chrono::milliseconds>(before.time_since_epoch()).count()
        % 86400000;
    EXPECT_LT((reading + 86400000u - static_cast<std::uint32_t>(ms)) % 86400000u, 1000u);
}

// ---------------------------------------------------------------- the timer's interval

TEST(TimerInterval, SecondsTimesThousandNeverOutsideOneSecondToSevenDays)
{
    const std::pair<std::int32_t, std::int32_t> cases[]
        = {{1, 1000}, {360, 360000}, {604800, 604800000}, {0, 1000}, {-1, 1000}, {INT32_MIN, 1000},
            {604801, 604800000}, {2147484, 604800000}, {INT32_MAX, 604800000}};
    for (const auto &[seconds, ms] : cases)
        EXPECT_EQ(wallpaper::timerIntervalMs(seconds), ms) << seconds;
}

} // namespace
