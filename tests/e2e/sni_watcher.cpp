// A StatusNotifierWatcher with a host of its own, on the session bus, as a panel runs it:
//   sni_watcher FILE
// owns org.kde.StatusNotifierWatcher, says a host is registered, and writes the service (and
// object path, when given one) of each item that registers to FILE, one a line. It ends when
// its bus goes away or after 120 seconds.
#include <gio/gio.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char *const introspection = R"(<node>
  <interface name='org.kde.StatusNotifierWatcher'>
    <method name='RegisterStatusNotifierItem'><arg type='s' direction='in'/></method>
    <method name='RegisterStatusNotifierHost'><arg type='s' direction='in'/></method>
    <property name='RegisteredStatusNotifierItems' type='as' access='read'/>
    <property name='IsStatusNotifierHostRegistered' type='b' access='read'/>
    <property name='ProtocolVersion' type='i' access='read'/>
    <signal name='StatusNotifierItemRegistered'><arg type='s'/></signal>
    <signal name='StatusNotifierItemUnregistered'><arg type='s'/></signal>
    <signal name='StatusNotifierHostRegistered'/>
  </interface>
</node>)";

std::string g_file;
std::vector<std::string> g_items;

void onCall(GDBusConnection *bus, const gchar *sender, const gchar *, const gchar *,
    const gchar *method, GVariant *parameters, GDBusMethodInvocation *invocation, gpointer)
{
    if (std::string(method) == "RegisterStatusNotifierItem") {
        const gchar *given = nullptr;
        g_variant_get(parameters, "(&s)", &given);
        // an item names its service, or only its object path on the caller's connection
        const std::string item = given[0] == '/' ? std::string(sender) + given : std::string(given);
        g_items.push_back(item);
        if (std::FILE *out = std::fopen(g_file.c_str(), "a")) {
            std::fprintf(out, "%s\n", item.c_str());
            std::fclose(out);
        }
        g_dbus_connection_emit_signal(bus, nullptr, "/StatusNotifierWatcher",
            "org.kde.StatusNotifierWatcher", "StatusNotifierItemRegistered",
            g_variant_new("(s)", item.c_str()), nullptr);
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

GVariant *onProperty(GDBusConnection *, const gchar *, const gchar *, const gchar *,
    const gchar *name, GError **, gpointer)
{
    const std::string property = name;
    if (property == "IsStatusNotifierHostRegistered")
        return g_variant_new_boolean(TRUE);
    if (property == "ProtocolVersion")
        return g_variant_new_int32(0);
    GVariantBuilder items;
    g_variant_builder_init(&items, G_VARIANT_TYPE("as"));
    for (const std::string &item : g_items)
        g_variant_builder_add(&items, "s", item.c_str());
    return g_variant_builder_end(&items);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sni_watcher FILE\n");
        return 2;
    }
    g_file = argv[1];
    GError *error = nullptr;
    GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (!bus) {
        std::fprintf(stderr, "sni_watcher: no session bus: %s\n", error->message);
        return 1;
    }
    GDBusNodeInfo *node = g_dbus_node_info_new_for_xml(introspection, nullptr);
    static const GDBusInterfaceVTable vtable = {onCall, onProperty, nullptr, {}};
    g_dbus_connection_register_object(
        bus, "/StatusNotifierWatcher", node->interfaces[0], &vtable, nullptr, nullptr, nullptr);
    GMainLoop *loop = g_main_loop_new(nullptr, FALSE);
    g_bus_own_name_on_connection(
        bus, "org.kde.StatusNotifierWatcher", G_BUS_NAME_OWNER_FLAGS_NONE, nullptr,
        [](GDBusConnection *, const gchar *, gpointer data) {
            g_main_loop_quit(static_cast<GMainLoop *>(data)); // the name is taken by another
        },
        loop, nullptr);
    g_signal_connect_swapped(bus, "closed", G_CALLBACK(g_main_loop_quit), loop);
    g_timeout_add_seconds(
        120,
        [](gpointer data) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop *>(data));
            return G_SOURCE_REMOVE;
        },
        loop);
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    g_dbus_node_info_unref(node);
    g_object_unref(bus);
    return 0;
}
