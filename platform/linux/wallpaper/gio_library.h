#pragma once

// GIO's GSettings and D-Bus calls, loaded when a desktop that needs them is first set rather
// than when the program starts: a program waiting in the tray on a desktop that never asks for
// them does not carry the library's pages, nor its type system's start-up. GVariant and the
// other plain GLib helpers stay linked as usual (the toolkit's event loop loads GLib anyway).

#include <gio/gio.h>

namespace platform::desk {

struct GioLibrary
{
    decltype(&g_object_unref) object_unref;
    decltype(&g_bus_get_sync) bus_get_sync;
    decltype(&g_dbus_connection_call_sync) dbus_connection_call_sync;
    decltype(&g_settings_schema_source_get_default) settings_schema_source_get_default;
    decltype(&g_settings_schema_source_lookup) settings_schema_source_lookup;
    decltype(&g_settings_schema_unref) settings_schema_unref;
    decltype(&g_settings_schema_has_key) settings_schema_has_key;
    decltype(&g_settings_schema_get_key) settings_schema_get_key;
    decltype(&g_settings_schema_key_unref) settings_schema_key_unref;
    decltype(&g_settings_schema_key_get_value_type) settings_schema_key_get_value_type;
    decltype(&g_settings_schema_key_range_check) settings_schema_key_range_check;
    decltype(&g_settings_new_full) settings_new_full;
    decltype(&g_settings_delay) settings_delay;
    decltype(&g_settings_set_string) settings_set_string;
    decltype(&g_settings_get_string) settings_get_string;
    decltype(&g_settings_revert) settings_revert;
    decltype(&g_settings_apply) settings_apply;
    decltype(&g_settings_sync) settings_sync;
};

/**
 * The library's functions, loaded on the first call and kept for the rest of the run; nullptr
 * when the library or one of its functions cannot be had (the desktops that need it are then
 * not set, as when their service does not answer).
 */
const GioLibrary *gioLibrary();

} // namespace platform::desk
