#include "platform/instance_guard.h"

#include "platform/win32/windows_headers.h"

namespace platform {

// A file mapping backed by the paging file: the system creates a named one atomically, so of
// two copies started together exactly one is told that it already exists, and the system
// drops the name when the last handle goes, with the process that held it, however it ends.
InstanceGuard::InstanceGuard(const char *name)
{
    SetLastError(ERROR_SUCCESS);
    HANDLE mapping
        = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1024, name);
    m_alreadyExists = GetLastError() == ERROR_ALREADY_EXISTS;
    m_handle = reinterpret_cast<std::intptr_t>(mapping);
}

InstanceGuard::~InstanceGuard()
{
    // A failed creation gives a null handle; the class starts from -1. Neither is closed.
    if (m_handle != 0 && m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

} // namespace platform
