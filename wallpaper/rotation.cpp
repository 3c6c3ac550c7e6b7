#include "wallpaper/rotation.h"

#include <algorithm>
#include <chrono>

namespace wallpaper {

std::int32_t firstSelectedIndex(const std::vector<int> &selectedRows, std::int32_t count)
{
    if (count < 1)
        return -1;
    if (selectedRows.empty())
        return 0;
    return *std::min_element(selectedRows.begin(), selectedRows.end());
}

std::int32_t nextIndex(std::int32_t index, std::int32_t count)
{
    return index + 1 > count - 1 ? 0 : index + 1;
}

std::int32_t prevIndex(std::int32_t index, std::int32_t count)
{
    return index - 1 < 0 ? count - 1 : index - 1;
}

std::int32_t RandomGenerator::draw(std::int32_t range)
{
    m_seed = m_seed * 134775813u + 1u; // unsigned: wraps modulo 2^32
    if (range < 1)
        return 0;
    const std::uint64_t product = static_cast<std::uint64_t>(range) * m_seed;
    return static_cast<std::int32_t>(product >> 32);
}

std::uint32_t timeOfDayMs(int hour, int minute, int second, int millisecond)
{
    return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

std::int32_t randomPick(std::uint32_t timeOfDayMs, std::int32_t count)
{
    RandomGenerator generator(timeOfDayMs);
    return generator.draw(count);
}

std::int32_t timerIntervalMs(std::int32_t seconds)
{
    return std::clamp(seconds, MinTimerSeconds, MaxTimerSeconds) * 1000;
}

std::uint32_t utcTimeOfDayMs()
{
    using namespace std::chrono;
    const auto now = system_clock::now(); // counts UTC seconds without leap seconds
    const auto sinceMidnight = now - floor<days>(now);
    const hh_mm_ss<milliseconds> t(duration_cast<milliseconds>(sinceMidnight));
    return timeOfDayMs(static_cast<int>(t.hours().count()), static_cast<int>(t.minutes().count()),
        static_cast<int>(t.seconds().count()), static_cast<int>(t.subseconds().count()));
}

} // namespace wallpaper
