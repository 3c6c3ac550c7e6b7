#pragma once

// Moving through the picture list: which row is current, Next and Prev with their wrap-around,
// the random pick and the change timer's interval. Rows are 32-bit signed; -1 means none.

#include <cstdint>
#include <vector>

namespace wallpaper {

/**
 * The current picture as the list's selection gives it: the first selected row (the lowest;
 * `selectedRows` may come in any order), 0 when nothing is selected in a list of `count` >= 1
 * rows, -1 for an empty list.
 */
std::int32_t firstSelectedIndex(const std::vector<int> &selectedRows, std::int32_t count);

/** The row after `index` in a list of `count` >= 1 rows, the first after the last. */
std::int32_t nextIndex(std::int32_t index, std::int32_t count);

/** The row before `index` in a list of `count` >= 1 rows, the last before the first. */
std::int32_t prevIndex(std::int32_t index, std::int32_t count);

/**
 * The random generator: a 32-bit linear congruential generator whose seed steps as
 * seed * 134775813 + 1 (modulo 2^32); a draw below `range` is the upper 32 bits of the 64-bit
 * product of `range` and the stepped seed.
 */
class RandomGenerator
{
public:
    explicit RandomGenerator(std::uint32_t seed = 0)
        : m_seed(seed)
    {
    }

    /** Steps the seed and gives a value from 0 to range - 1; 0 when `range` is below 1. */
    std::int32_t draw(std::int32_t range);
    std::uint32_t seed() const { return m_seed; }

private:
    std::uint32_t m_seed;
};

/** The clock reading the generator is seeded with: ((h * 60 + m) * 60 + s) * 1000 + ms. */
std::uint32_t timeOfDayMs(int hour, int minute, int second, int millisecond);

/** The system clock's UTC time of day in milliseconds, as timeOfDayMs forms it. */
std::uint32_t utcTimeOfDayMs();

/**
 * The random pick of Next and Prev: the generator seeded afresh with the UTC time of day in
 * milliseconds, then one draw below `count`. Two picks at the same reading give the same row.
 */
std::int32_t randomPick(std::uint32_t timeOfDayMs, std::int32_t count);

/** The change timer's range, in seconds: one second to seven days. */
inline constexpr std::int32_t MinTimerSeconds = 1;
inline constexpr std::int32_t MaxTimerSeconds = 604800;

/**
 * The change timer's interval for `seconds`: seconds * 1000, with `seconds` first brought
 * into the timer's range, so that whatever it is given (0, a negative number, a typed value
 * past the range) the timer never runs faster than once a second nor slower than once in
 * seven days, and the interval always fits the timer.
 */
std::int32_t timerIntervalMs(std::int32_t seconds);

} // namespace wallpaper
