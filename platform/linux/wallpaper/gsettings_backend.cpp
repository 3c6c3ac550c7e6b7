#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/gio_library.h"

#include <memory>

namespace platform::desk {

namespace {

struct SchemaInfo
{
    const char *id;
    const char *pictureKey;
    const char *darkPictureKey; ///< set too when the schema has it
    bool pictureIsUri;
};

SchemaInfo schemaFor(GSettingsFlavour flavour)
{
    switch (flavour) {
    case GSettingsFlavour::Gnome:
        return {"org.gnome.desktop.background", "picture-uri", "picture-uri-dark", true};
    case GSettingsFlavour::Cinnamon:
        return {"org.cinnamon.desktop.background", "picture-uri", nullptr, true};
    case GSettingsFlavour::Mate:
        return {"org.mate.background", "picture-filename", nullptr, false};
    }
    return {"org.gnome.desktop.background", "picture-uri", nullptr, true};
}

const char *optionsNick(NativeMode mode)
{
    switch (mode) {
    case NativeMode::Stretch:
        return "stretched";
    case NativeMode::Center:
        return "centered";
    case NativeMode::Tile:
        return "wallpaper";
    case NativeMode::Span:
        return "spanned";
    }
    return "stretched";
}

// Every object here comes from GIO, which is loaded by the time one exists.
struct GioDeleter
{
    void operator()(GSettings *p) const { gioLibrary()->object_unref(p); }
    void operator()(GSettingsSchema *p) const { gioLibrary()->settings_schema_unref(p); }
    void operator()(GSettingsSchemaKey *p) const { gioLibrary()->settings_schema_key_unref(p); }
};
using SettingsPtr = std::unique_ptr<GSettings, GioDeleter>;
using SchemaPtr = std::unique_ptr<GSettingsSchema, GioDeleter>;
using KeyPtr = std::unique_ptr<GSettingsSchemaKey, GioDeleter>;

/** True when `key` exists as a string key that accepts `value`. */
bool acceptsString(
    const GioLibrary &gio, GSettingsSchema *schema, const char *key, const char *value)
{
    if (!gio.settings_schema_has_key(schema, key))
        return false;
    KeyPtr schemaKey(gio.settings_schema_get_key(schema, key));
    if (!g_variant_type_equal(
            gio.settings_schema_key_get_value_type(schemaKey.get()), G_VARIANT_TYPE_STRING))
        return false;
    GVariant *candidate = g_variant_ref_sink(g_variant_new_string(value));
    const bool ok = gio.settings_schema_key_range_check(schemaKey.get(), candidate);
    g_variant_unref(candidate);
    return ok;
}

bool reads(const GioLibrary &gio, GSettings *settings, const char *key, const std::string &expected)
{
    gchar *value = gio.settings_get_string(settings, key);
    const bool same = value && expected == value;
    g_free(value);
    return same;
}

} // namespace

bool setGSettingsWallpaper(GSettingsFlavour flavour, const std::string &path, NativeMode mode)
{
    const GioLibrary *library = gioLibrary();
    if (!library)
        return false;
    const GioLibrary &gio = *library;
    const SchemaInfo info = schemaFor(flavour);
    GSettingsSchemaSource *source = gio.settings_schema_source_get_default();
    if (!source)
        return false;
    SchemaPtr schema(gio.settings_schema_source_lookup(source, info.id, TRUE));
    if (!schema)
        return false;

    const bool removing = path.empty();
    const std::string picture = removing ? std::string() : info.pictureIsUri ? fileUri(path) : path;
    const char *options = removing ? "none" : optionsNick(mode);
    // GVariant strings are UTF-8; a URI is ASCII, a plain path is checked by the caller.
    if (!isUtf8(picture) || !acceptsString(gio, schema.get(), "picture-options", options))
        return false;
    if (!removing && !acceptsString(gio, schema.get(), info.pictureKey, picture.c_str()))
        return false;
    const bool dark = !removing && info.darkPictureKey
        && acceptsString(gio, schema.get(), info.darkPictureKey, picture.c_str());

    {
        SettingsPtr settings(gio.settings_new_full(schema.get(), nullptr, nullptr));
        // One apply, so the desktop sees the picture and its placement change together.
        gio.settings_delay(settings.get());
        bool set = gio.settings_set_string(settings.get(), "picture-options", options);
        if (!removing)
            set = gio.settings_set_string(settings.get(), info.pictureKey, picture.c_str()) && set;
        if (dark)
            set = gio.settings_set_string(settings.get(), info.darkPictureKey, picture.c_str())
                && set;
        if (!set) {
            gio.settings_revert(settings.get());
            return false;
        }
        gio.settings_apply(settings.get());
    }
    gio.settings_sync();

    // A backend that cannot store (dconf without its service) accepts the write and drops it
    // later: only what a fresh object reads back counts.
    SettingsPtr check(gio.settings_new_full(schema.get(), nullptr, nullptr));
    bool stuck = reads(gio, check.get(), "picture-options", options);
    if (!removing)
        stuck = reads(gio, check.get(), info.pictureKey, picture) && stuck;
    if (dark)
        stuck = reads(gio, check.get(), info.darkPictureKey, picture) && stuck;
    return stuck;
}

} // namespace platform::desk
