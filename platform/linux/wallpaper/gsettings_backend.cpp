#include "backends.h"

#include <gio/gio.h>

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
    }
    return "stretched";
}

template <typename T, void (*Free)(T *)> struct GDeleter
{
    void operator()(T *p) const
    {
        if (p)
            Free(p);
    }
};
void unrefObject(GSettings *p)
{
    g_object_unref(p);
}
using SettingsPtr = std::unique_ptr<GSettings, GDeleter<GSettings, unrefObject>>;
using SchemaPtr
    = std::unique_ptr<GSettingsSchema, GDeleter<GSettingsSchema, g_settings_schema_unref>>;
using KeyPtr = std::unique_ptr<GSettingsSchemaKey,
    GDeleter<GSettingsSchemaKey, g_settings_schema_key_unref>>;

/** True when `key` exists as a string key that accepts `value`. */
bool acceptsString(GSettingsSchema *schema, const char *key, const char *value)
{
    if (!g_settings_schema_has_key(schema, key))
        return false;
    KeyPtr schemaKey(g_settings_schema_get_key(schema, key));
    if (!g_variant_type_equal(
            g_settings_schema_key_get_value_type(schemaKey.get()), G_VARIANT_TYPE_STRING))
        return false;
    GVariant *candidate = g_variant_ref_sink(g_variant_new_string(value));
    const bool ok = g_settings_schema_key_range_check(schemaKey.get(), candidate);
    g_variant_unref(candidate);
    return ok;
}

bool reads(GSettings *settings, const char *key, const std::string &expected)
{
    gchar *value = g_settings_get_string(settings, key);
    const bool same = value && expected == value;
    g_free(value);
    return same;
}

} // namespace

bool setGSettingsWallpaper(GSettingsFlavour flavour, const std::string &path, NativeMode mode)
{
    const SchemaInfo info = schemaFor(flavour);
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    SchemaPtr schema(g_settings_schema_source_lookup(source, info.id, TRUE));
    if (!schema)
        return false;

    const bool removing = path.empty();
    const std::string picture = removing ? std::string() : info.pictureIsUri ? fileUri(path) : path;
    const char *options = removing ? "none" : optionsNick(mode);
    // GVariant strings are UTF-8; a URI is ASCII, a plain path is checked by the caller.
    if (!isUtf8(picture) || !acceptsString(schema.get(), "picture-options", options))
        return false;
    if (!removing && !acceptsString(schema.get(), info.pictureKey, picture.c_str()))
        return false;
    const bool dark = !removing && info.darkPictureKey
        && acceptsString(schema.get(), info.darkPictureKey, picture.c_str());

    {
        SettingsPtr settings(g_settings_new_full(schema.get(), nullptr, nullptr));
        // One apply, so the desktop sees the picture and its placement change together.
        g_settings_delay(settings.get());
        bool set = g_settings_set_string(settings.get(), "picture-options", options);
        if (!removing)
            set = g_settings_set_string(settings.get(), info.pictureKey, picture.c_str()) && set;
        if (dark)
            set = g_settings_set_string(settings.get(), info.darkPictureKey, picture.c_str())
                && set;
        if (!set) {
            g_settings_revert(settings.get());
            return false;
        }
        g_settings_apply(settings.get());
    }
    g_settings_sync();

    // A backend that cannot store (dconf without its service) accepts the write and drops it
    // later: only what a fresh object reads back counts.
    SettingsPtr check(g_settings_new_full(schema.get(), nullptr, nullptr));
    bool stuck = reads(check.get(), "picture-options", options);
    if (!removing)
        stuck = reads(check.get(), info.pictureKey, picture) && stuck;
    if (dark)
        stuck = reads(check.get(), info.darkPictureKey, picture) && stuck;
    return stuck;
}

} // namespace platform::desk
