#pragma once

#include <cstdint>

namespace platform {

/**
 * The single-instance guard: a named object that exists while the first copy of the program
 * runs. Creating it never fails loudly; a failed creation counts as "no other copy".
 * The system releases it when the holding process ends, however it ends.
 */
class InstanceGuard
{
public:
    /** Creates (or opens) the guard named `name`. */
    explicit InstanceGuard(const char *name);
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard &) = delete;
    InstanceGuard &operator=(const InstanceGuard &) = delete;

    /** True when another running process already holds the guard. */
    bool alreadyExists() const { return m_alreadyExists; }

private:
    std::intptr_t m_handle = -1;
    bool m_alreadyExists = false;
};

} // namespace platform
