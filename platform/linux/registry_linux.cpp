#include "platform/registry.h"

#include "registry_file.h"

namespace platform {

namespace {
Registry *g_override = nullptr;
} // namespace

Registry &currentUserRegistry()
{
    if (g_override)
        return *g_override;
    // The file is located afresh each time, so a changed XDG_CONFIG_HOME takes effect.
    static thread_local FileRegistry registry("");
    registry = FileRegistry(FileRegistry::defaultFilePath());
    return registry;
}

void setCurrentUserRegistry(Registry *registry)
{
    g_override = registry;
}

} // namespace platform
