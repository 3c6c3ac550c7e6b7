#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace picturelist {

/** Placement modes, numbered as the placement group's items. */
enum PlacementMode : std::int32_t {
    NoPlacement = -1,
    Stretch = 0,
    Center = 1,
    Tiled = 2,
    Location = 3,
};

/** What a settings string says: the mode, and X and Y as read (0 where not a number). */
struct ParsedSettings
{
    std::int32_t mode = Location;
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const ParsedSettings &, const ParsedSettings &) = default;
};

/**
 * Reads a settings string: the mode digit (anything else, or nothing, is Location), X from
 * the second character up to the first "|", Y after it (the whole string when there is no
 * "|"); a number that does not read as an integer is 0. Values are not clamped here.
 */
ParsedSettings parseSettingsString(std::string_view s);

/**
 * Makes a settings string: the mode digit, X, "|", Y. With no mode chosen (-1) the string
 * is written for Location, which is what the reader takes a missing mode for, so the stored
 * text always follows the format and reads back to the same X and Y.
 */
std::string makeSettingsString(std::int32_t mode, std::int32_t x, std::int32_t y);

} // namespace picturelist
