#include "settings/regstring.h"

#include "platform/registry.h"

namespace settings {

std::string ReadRegString(
    std::string_view keyPath, std::string_view name, std::string_view defaultText)
{
    const platform::RegRead read = platform::currentUserRegistry().read(keyPath, name);
    if (!read.keyOpened || !read.value)
        return std::string(defaultText);
    const platform::RegValue &value = *read.value;
    if (value.data.empty())
        return {};
    if (value.type != platform::RegSz && value.type != platform::RegExpandSz)
        throw RegistryError("Invalid data type for '" + std::string(name) + "'");
    const auto zero = value.data.find('\0');
    return zero == std::string::npos ? value.data : value.data.substr(0, zero);
}

void WriteRegString(std::string_view keyPath, std::string_view name, std::string_view text)
{
    platform::RegValue value;
    value.type = platform::RegSz;
    value.data.assign(text);
    value.data += '\0';
    if (!platform::currentUserRegistry().write(keyPath, name, value))
        throw RegistryError("Failed to set data for '" + std::string(name) + "'");
}

} // namespace settings
