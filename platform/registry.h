#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/** Registry value types, numbered as the system numbers them. */
enum RegType : std::uint32_t {
    RegNone = 0,
    RegSz = 1,
    RegExpandSz = 2,
    RegBinary = 3,
    RegDword = 4,
    RegMultiSz = 7,
};

/** One stored value: its type and its data bytes exactly as stored (a REG_SZ keeps its zero). */
struct RegValue
{
    std::uint32_t type = RegSz;
    std::string data;

    friend bool operator==(const RegValue &, const RegValue &) = default;
};

/** The outcome of one read: whether the key could be opened (or created), and the value if any. */
struct RegRead
{
    bool keyOpened = false;
    std::optional<RegValue> value;
};

/**
 * The current user's part of the registry. Key paths are relative to the root
 * ("Software\\Tovrane\\Murelin") and, like value names, match without regard to ASCII case.
 * Nothing is cached: every call opens the key, does its one access and closes it again.
 */
class Registry
{
public:
    virtual ~Registry() = default;

    /** Opens keyPath for full access, creating it when missing, and reads the value `name`. */
    virtual RegRead read(std::string_view keyPath, std::string_view name) = 0;

    /**
     * Opens or creates keyPath and stores `value` under `name`, replacing any value of that
     * name whatever its type. Returns false when the key cannot be opened or created, or the
     * value cannot be set; the stored data is then unchanged.
     */
    virtual bool write(std::string_view keyPath, std::string_view name, const RegValue &value) = 0;
};

/**
 * The registry every part of the program uses: the system's on Windows; on Linux the file
 * ${XDG_CONFIG_HOME:-$HOME/.config}/murelin/HKEY_CURRENT_USER.reg, located afresh on each call.
 */
Registry &currentUserRegistry();

/** Makes currentUserRegistry() return `registry` (for tests); nullptr restores the default. */
void setCurrentUserRegistry(Registry *registry);

/** The backend's own registry, which currentUserRegistry() gives unless a test replaced it. */
Registry &systemRegistry();

} // namespace platform
