#pragma once

#include "platform/registry.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

/**
 * The current user's registry in memory, for tests: keys and names match without regard to
 * ASCII case, every write is logged, and reads or writes can be made to fail. Given a registry
 * to pass on to, it keeps nothing itself and only logs and injects failures in front of it.
 */
class MemoryRegistry : public platform::Registry
{
public:
    /** Makes this the registry of the program until it is destroyed. */
    MemoryRegistry();
    /** Passes every read and every write that is not made to fail on to `backing`. */
    explicit MemoryRegistry(platform::Registry &backing);
    ~MemoryRegistry() override;

    platform::RegRead read(std::string_view keyPath, std::string_view name) override;
    bool write(
        std::string_view keyPath, std::string_view name, const platform::RegValue &value) override;

    /** One write as it was asked for: the value's name and its data without the zero. */
    struct Write
    {
        std::string name;
        std::string text;
        friend bool operator==(const Write &, const Write &) = default;
    };
    std::vector<Write> writes;
    /** Runs at every write, as it is asked for, before it is stored or made to fail. */
    std::function<void(std::string_view keyPath, const Write &)> onWrite;
    /** Names whose writes fail; "*" makes every write fail. */
    std::set<std::string> failingWrites;
    /** The write that fails, counted from 0 in the log; -1 for none. */
    int failingWriteNumber = -1;
    /** How many reads were asked for. */
    int reads = 0;
    /** Every key fails to open. */
    bool failKeys = false;

    /** Stores `text` as a REG_SZ under `keyPath`. */
    void store(std::string_view keyPath, std::string_view name, const std::string &text);
    /** Stores `value` under `keyPath` exactly as given. */
    void store(std::string_view keyPath, std::string_view name, const platform::RegValue &value);
    /** The text stored under `keyPath`, or "<missing>". */
    std::string stored(std::string_view keyPath, std::string_view name) const;
    /** How many writes of `name` were logged. */
    int writesOf(std::string_view name) const;

private:
    static std::string folded(std::string_view text);
    std::map<std::pair<std::string, std::string>, platform::RegValue> m_values;
    platform::Registry *m_backing = nullptr;
};

} // namespace testsupport
