#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace settings {

/** A text that should have been a number; the message is what the user is shown. */
class ConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * The integer conversion: leading blanks (spaces), an optional sign, then decimal digits, or
 * hexadecimal digits after "$"; the value must fit 32 bits signed. Nothing else is allowed:
 * no tab, no "0x" prefix, nothing after the digits.
 */
std::optional<std::int32_t> parseInteger(std::string_view text);

/** parseInteger, raising "'text' is not a valid integer value" on failure. */
std::int32_t StrToInt(std::string_view text);

/** parseInteger, giving `fallback` on failure. */
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

/** Plain signed decimal, as "%d" prints it. */
std::string IntToStr(std::int64_t value);

} // namespace settings
