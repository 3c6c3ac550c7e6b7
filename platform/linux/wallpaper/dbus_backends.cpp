#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/gio_library.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace platform::desk {

namespace {

/** The session bus, or nullptr when there is none (or no GIO to reach it with). */
GDBusConnection *sessionBus()
{
    const GioLibrary *gio = gioLibrary();
    if (!gio)
        return nullptr;
    GError *error = nullptr;
    GDBusConnection *bus = gio->bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (error)
        g_error_free(error);
    return bus; // a new reference to GIO's shared connection
}

/** One method call with our time limit; the reply, or nullptr on any error. */
GVariant *call(GDBusConnection *bus, const char *service, const char *object, const char *interface,
    const char *method, GVariant *arguments, const GVariantType *replyType)
{
    GError *error = nullptr;
    // There is a bus, so GIO is loaded.
    GVariant *reply = gioLibrary()->dbus_connection_call_sync(bus, service, object, interface,
        method, arguments, replyType, G_DBUS_CALL_FLAGS_NONE, commandTimeoutMs, nullptr, &error);
    if (error)
        g_error_free(error);
    return reply;
}

bool callSucceeds(GDBusConnection *bus, const char *service, const char *object,
    const char *interface, const char *method, GVariant *arguments)
{
    GVariant *reply = call(bus, service, object, interface, method, arguments, nullptr);
    if (!reply)
        return false;
    g_variant_unref(reply);
    return true;
}

constexpr const char *xfconfService = "org.xfce.Xfconf";
constexpr const char *xfconfObject = "/org/xfce/Xfconf";
constexpr const char *xfconfInterface = "org.xfce.Xfconf";
constexpr const char *xfceChannel = "xfce4-desktop";

bool setXfconfProperty(GDBusConnection *bus, const std::string &property, GVariant *value)
{
    return callSucceeds(bus, xfconfService, xfconfObject, xfconfInterface, "SetProperty",
        g_variant_new("(ssv)", xfceChannel, property.c_str(), value));
}

/**
 * For "/backdrop/screen0/monitorNAME/workspaceN/last-image", the property without its last
 * part; "" for any other name.
 */
std::string backdropBase(std::string_view name)
{
    constexpr std::string_view head = "/backdrop/screen0/monitor";
    constexpr std::string_view tail = "/last-image";
    if (!name.starts_with(head) || !name.ends_with(tail))
        return {};
    const std::string_view middle
        = name.substr(head.size(), name.size() - head.size() - tail.size());
    const auto slash = middle.find('/');
    if (slash == 0 || slash == std::string_view::npos)
        return {};
    std::string_view workspace = middle.substr(slash + 1);
    if (!workspace.starts_with("workspace"))
        return {};
    workspace.remove_prefix(9);
    if (workspace.empty() || workspace.find_first_not_of("0123456789") != std::string_view::npos)
        return {};
    return std::string(name.substr(0, name.size() - tail.size() + 1));
}

/** The monitor's name in a backdrop's base ("/backdrop/screen0/monitorNAME/workspaceN/"). */
std::string backdropMonitor(std::string_view base)
{
    constexpr std::string_view head = "/backdrop/screen0/monitor";
    base.remove_prefix(head.size());
    return std::string(base.substr(0, base.rfind("/workspace")));
}

/** The existing .../last-image properties of screen 0, without their last part. */
std::vector<std::string> xfceBackdrops(GDBusConnection *bus)
{
    std::vector<std::string> bases;
    GVariant *reply = call(bus, xfconfService, xfconfObject, xfconfInterface, "GetAllProperties",
        g_variant_new("(ss)", xfceChannel, "/backdrop"), G_VARIANT_TYPE("(a{sv})"));
    if (!reply)
        return bases; // a channel without properties answers with an error
    GVariant *properties = g_variant_get_child_value(reply, 0);
    GVariantIter iter;
    g_variant_iter_init(&iter, properties);
    const gchar *name = nullptr;
    GVariant *value = nullptr;
    while (g_variant_iter_next(&iter, "{&sv}", &name, &value)) {
        if (std::string base = backdropBase(name); !base.empty())
            bases.push_back(std::move(base));
        g_variant_unref(value);
    }
    g_variant_unref(properties);
    g_variant_unref(reply);
    return bases;
}

const char *plasmaFillMode(NativeMode mode)
{
    switch (mode) {
    case NativeMode::Stretch:
    case NativeMode::Span: // Plasma takes a picture per screen instead
        return "0";
    case NativeMode::Center:
        return "6";
    case NativeMode::Tile:
        return "3";
    }
    return "0";
}

/** `text` as a JavaScript string literal; only [A-Za-z0-9] and "/:.-_%" stand as they are. */
std::string javaScriptLiteral(const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')
            || (u >= '0' && u <= '9') || std::strchr("/:.-_%", u) != nullptr;
        if (plain && u != 0) {
            out += c;
        } else {
            // The URI is ASCII, so one \u00XX per byte is the character itself.
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    out += '"';
    return out;
}

} // namespace

int xfceImageStyle(NativeMode mode)
{
    switch (mode) {
    case NativeMode::Center:
        return 1;
    case NativeMode::Tile:
        return 2;
    case NativeMode::Stretch:
        return 3;
    case NativeMode::Span:
        return 6; // "spanning screens"
    }
    return 3;
}

bool setXfconfWallpaper(const std::vector<OutputPicture> &pictures, NativeMode mode,
    const std::vector<std::string> &monitors, int workspaces)
{
    for (const OutputPicture &picture : pictures) {
        if (!isUtf8(picture.path) || picture.path.empty())
            return false;
    }
    GDBusConnection *bus = sessionBus();
    if (!bus)
        return false;
    std::vector<std::string> bases = xfceBackdrops(bus);
    const bool removing = pictures.empty();
    if (!removing) {
        // xfdesktop's name for a monitor it cannot name is its number
        std::vector<std::string> names
            = monitors.empty() ? std::vector<std::string> {"0"} : monitors;
        for (const std::string &monitor : names) {
            for (int workspace = 0; workspace < std::max(workspaces, 1); ++workspace) {
                std::string base = "/backdrop/screen0/monitor" + monitor + "/workspace"
                    + std::to_string(workspace) + "/";
                if (std::find(bases.begin(), bases.end(), base) == bases.end())
                    bases.push_back(std::move(base));
            }
        }
    }
    bool ok = !bases.empty();
    for (const std::string &base : bases) {
        // The style first: xfdesktop redraws on the image, and should draw it placed already.
        const gint32 style = removing ? 0 : xfceImageStyle(mode);
        ok = setXfconfProperty(bus, base + "image-style", g_variant_new_int32(style)) && ok;
        if (removing)
            continue;
        const std::string monitor = backdropMonitor(base);
        const std::string *path = &pictures.front().path;
        for (const OutputPicture &picture : pictures) {
            if (picture.output.empty() || picture.output == monitor) {
                path = &picture.path;
                if (!picture.output.empty())
                    break;
            }
        }
        ok = setXfconfProperty(bus, base + "last-image", g_variant_new_string(path->c_str())) && ok;
    }
    gioLibrary()->object_unref(bus);
    return ok;
}

std::string plasmaScript(const std::string &uri, NativeMode mode)
{
    return plasmaScript(std::vector<PlasmaImage> {{uri, 0, 0}}, mode);
}

std::string plasmaScript(const std::vector<PlasmaImage> &images, NativeMode mode)
{
    if (images.empty())
        return {};
    std::string script;
    if (images.size() == 1) {
        script += "var image = " + javaScriptLiteral(images.front().uri) + ";\n";
    } else {
        script += "var images = [";
        for (std::size_t k = 0; k < images.size(); ++k) {
            script += k ? ", [" : "[";
            script += std::to_string(images[k].x) + ", " + std::to_string(images[k].y) + ", "
                + javaScriptLiteral(images[k].uri) + "]";
        }
        script += "];\n";
    }
    script += "var all = desktops();\n";
    script += "for (var i = 0; i < all.length; i++) {\n";
    script += "    var d = all[i];\n";
    if (images.size() > 1) {
        script += "    var image = images[0][2];\n";
        script += "    var g = screenGeometry(d.screen);\n";
        script += "    for (var k = 0; g && k < images.length; k++) {\n";
        script += "        if (g.x == images[k][0] && g.y == images[k][1])\n";
        script += "            image = images[k][2];\n";
        script += "    }\n";
    }
    script += "    d.wallpaperPlugin = \"org.kde.image\";\n";
    script += "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n";
    script += "    d.writeConfig(\"Image\", image);\n";
    script += "    d.writeConfig(\"FillMode\", " + std::string(plasmaFillMode(mode)) + ");\n";
    script += "}\n";
    return script;
}

bool setPlasmaWallpaper(const std::vector<PlasmaImage> &images, NativeMode mode)
{
    if (images.empty())
        return false;
    GDBusConnection *bus = sessionBus();
    if (!bus)
        return false;
    const std::string script = plasmaScript(images, mode);
    const bool ok = callSucceeds(bus, "org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell",
        "evaluateScript", g_variant_new("(s)", script.c_str()));
    gioLibrary()->object_unref(bus);
    return ok;
}

} // namespace platform::desk
