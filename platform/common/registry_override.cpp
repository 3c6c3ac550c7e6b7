// The registry every part of the program uses, on every platform: the one a test installed, or
// the backend's own (systemRegistry).
#include "platform/registry.h"

namespace platform {

namespace {

Registry *g_override = nullptr;

} // namespace

Registry &currentUserRegistry()
{
    return g_override ? *g_override : systemRegistry();
}

void setCurrentUserRegistry(Registry *registry)
{
    g_override = registry;
}

} // namespace platform
