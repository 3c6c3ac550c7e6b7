#include "platform/registry.h"

#include "platform/win32/windows_headers.h"

#include <string>

namespace platform {
namespace {

/** HKEY_CURRENT_USER of the system's registry. */
class SystemRegistry final : public Registry
{
public:
    RegRead read(std::string_view keyPath, std::string_view name) override
    {
        RegRead result;
        HKEY key = openOrCreate(keyPath);
        if (!key)
            return result;
        result.keyOpened = true;

        const std::string valueName(name);
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size);
        // The size asked for first may be larger than the data (an ANSI read of a string
        // stored in UTF-16) or stale by the time of the second call: read until it fits.
        while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            std::string data(size, '\0');
            DWORD got = size;
            status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                reinterpret_cast<BYTE *>(data.data()), &got);
            if (status == ERROR_SUCCESS) {
                data.resize(got);
                result.value = RegValue {type, std::move(data)};
                break;
            }
            if (status == ERROR_MORE_DATA)
                size = got > size ? got : size + 256;
        }
        RegCloseKey(key);
        return result;
    }

    bool write(std::string_view keyPath, std::string_view name, const RegValue &value) override
    {
        HKEY key = openOrCreate(keyPath);
        if (!key)
            return false;
        const std::string valueName(name);
        const LONG status = RegSetValueExA(key, valueName.c_str(), 0, value.type,
            reinterpret_cast<const BYTE *>(value.data.data()),
            static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
        return status == ERROR_SUCCESS;
    }

private:
    /** Opens keyPath below HKEY_CURRENT_USER for full access, creating it; null on failure. */
    static HKEY openOrCreate(std::string_view keyPath)
    {
        const std::string path(keyPath);
        HKEY key = nullptr;
        const LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
            REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return status == ERROR_SUCCESS ? key : nullptr;
    }
};

} // namespace

Registry &systemRegistry()
{
    static SystemRegistry system;
    return system;
}

} // namespace platform
