#include "platform/registry.h"

#include "platform/linux/registry_file.h"

namespace platform {

Registry &systemRegistry()
{
    // The file is located afresh each time, so a changed XDG_CONFIG_HOME takes effect.
    static thread_local FileRegistry registry("");
    registry = FileRegistry(FileRegistry::defaultFilePath());
    return registry;
}

} // namespace platform
