#include "platform/linux/wallpaper/gio_library.h"

#include <dlfcn.h>

namespace platform::desk {

namespace {

template <typename F> bool load(void *library, const char *name, F &function)
{
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

bool loadAll(void *library, GioLibrary &gio)
{
    // Each name once, beside the field it fills; every one must be found.
    return load(library, "g_object_unref", gio.object_unref)
        && load(library, "g_bus_get_sync", gio.bus_get_sync)
        && load(library, "g_dbus_connection_call_sync", gio.dbus_connection_call_sync)
        && load(
            library, "g_settings_schema_source_get_default", gio.settings_schema_source_get_default)
        && load(library, "g_settings_schema_source_lookup", gio.settings_schema_source_lookup)
        && load(library, "g_settings_schema_unref", gio.settings_schema_unref)
        && load(library, "g_settings_schema_has_key", gio.settings_schema_has_key)
        && load(library, "g_settings_schema_get_key", gio.settings_schema_get_key)
        && load(library, "g_settings_schema_key_unref", gio.settings_schema_key_unref)
        && load(
            library, "g_settings_schema_key_get_value_type", gio.settings_schema_key_get_value_type)
        && load(library, "g_settings_schema_key_range_check", gio.settings_schema_key_range_check)
        && load(library, "g_settings_new_full", gio.settings_new_full)
        && load(library, "g_settings_delay", gio.settings_delay)
        && load(library, "g_settings_set_string", gio.settings_set_string)
        && load(library, "g_settings_get_string", gio.settings_get_string)
        && load(library, "g_settings_revert", gio.settings_revert)
        && load(library, "g_settings_apply", gio.settings_apply)
        && load(library, "g_settings_sync", gio.settings_sync);
}

} // namespace

const GioLibrary *gioLibrary()
{
    static const GioLibrary *const loaded = []() -> const GioLibrary * {
        // Kept loaded: GIO registers types and may start threads that must not lose their code.
        void *library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return nullptr;
        static GioLibrary gio {};
        return loadAll(library, gio) ? &gio : nullptr;
    }();
    return loaded;
}

} // namespace platform::desk
