#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace settings {

/** A registry access that failed; the message is what the user is shown. */
class RegistryError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/**
 * Reads the string value `name` under `keyPath` (relative to the current user's root),
 * creating the key when it is missing. A missing value gives `defaultText`; a value of size 0
 * gives the empty text; otherwise the data up to its first zero byte (an expandable string is
 * returned unexpanded). A value of any other type raises "Invalid data type for 'name'".
 * A key that can be neither opened nor created gives `defaultText`.
 */
std::string ReadRegString(
    std::string_view keyPath, std::string_view name, std::string_view defaultText);

/**
 * Stores `text` under `name` as a REG_SZ of the text and one zero byte, replacing any value of
 * that name. Raises "Failed to set data for 'name'" when the value cannot be set.
 */
void WriteRegString(std::string_view keyPath, std::string_view name, std::string_view text);

} // namespace settings
