// The desktops reached over D-Bus, on a private session bus (run through private-session
// --bus): XFCE against a real xfconfd, started by the bus on demand and read back with
// xfconf-query; Plasma against a stand-in plasmashell that records the script it is sent.
#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/desk_apply.h"
#include "tests/platform/wallpaper/test_pictures.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace platform::desk;

namespace {

std::string home()
{
    return std::getenv("HOME") ? std::getenv("HOME") : "/tmp";
}

/** Runs `command` through the shell and gives back what it printed. */
std::string output(const std::string &command)
{
    std::FILE *pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return {};
    std::string out;
    char buffer[512];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

/** A property as xfconf-query prints it, without the line end it adds. */
std::string xfconf(const std::string &property)
{
    std::string value = output("xfconf-query -c xfce4-desktop -p '" + property + "'");
    if (!value.empty() && value.back() == '\n')
        value.pop_back();
    return value;
}

void xfconfCreate(const std::string &property, const char *type, const std::string &value)
{
    const std::string command = "xfconf-query -c xfce4-desktop -n -p '" + property + "' -t " + type
        + " -s '" + value + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

class Xfconf : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr)
            << "needs private-session --bus";
        // every test starts from an empty channel
        std::system("xfconf-query -c xfce4-desktop -p /backdrop -r -R >/dev/null 2>&1");
        ASSERT_EQ(output("xfconf-query -c xfce4-desktop -l"), "");
        m_pictures = testpics::folder(home(), "pictures");
    }
    std::string picture(const std::string &name)
    {
        const std::string path = m_pictures + "/" + name;
        EXPECT_TRUE(testpics::save(testpics::marked(), path, "png"));
        return path;
    }
    std::string m_pictures;
};

TEST_F(Xfconf, WithoutBackdropsThePairsAreCreatedForEveryWorkspace)
{
    const std::string path = picture("fresh.png");
    ASSERT_TRUE(setXfconfWallpaper({{"", path}}, NativeMode::Tile, {"Virtual-1"}, 2));
    std::string expected;
    for (const char *workspace : {"0", "1"}) {
        const std::string base
            = "/backdrop/screen0/monitorVirtual-1/workspace" + std::string(workspace) + "/";
        EXPECT_EQ(xfconf(base + "last-image"), path);
        EXPECT_EQ(xfconf(base + "image-style"), "2");
        expected += base + "image-style\n" + base + "last-image\n";
    }
    EXPECT_EQ(output("xfconf-query -c xfce4-desktop -l"), expected);
}

TEST_F(Xfconf, EveryBackdropOfEveryMonitorGetsItsMonitorsPicture)
{
    const std::string a = "/backdrop/screen0/monitorHDMI-1/workspace0/";
    const std::string b = "/backdrop/screen0/monitorDP-2/workspace3/";
    const std::string gone = "/backdrop/screen0/monitorVGA-9/workspace0/"; // unplugged
    xfconfCreate(a + "last-image", "string", "/old/a.png");
    xfconfCreate(a + "image-style", "int", "5");
    xfconfCreate(a + "color-style", "int", "1");
    xfconfCreate(b + "last-image", "string", "/old/b.png");
    xfconfCreate(gone + "last-image", "string", "/old/g.png");
    xfconfCreate("/backdrop/screen1/monitor0/workspace0/last-image", "string", "/old/c.png");

    const std::string hdmi = picture("hdmi.png");
    const std::string dp = picture("dp.png");
    ASSERT_TRUE(setXfconfWallpaper(
        {{"HDMI-1", hdmi}, {"DP-2", dp}}, NativeMode::Center, {"HDMI-1", "DP-2"}, 2));
    for (const std::string &base :
        {a, std::string("/backdrop/screen0/monitorHDMI-1/workspace1/")}) {
        EXPECT_EQ(xfconf(base + "last-image"), hdmi) << base;
        EXPECT_EQ(xfconf(base + "image-style"), "1");
    }
    for (const std::string &base : {b, std::string("/backdrop/screen0/monitorDP-2/workspace0/"),
             std::string("/backdrop/screen0/monitorDP-2/workspace1/")}) {
        EXPECT_EQ(xfconf(base + "last-image"), dp) << base;
        EXPECT_EQ(xfconf(base + "image-style"), "1");
    }
    EXPECT_EQ(xfconf(gone + "last-image"), hdmi); // a monitor we do not see takes the first
    EXPECT_EQ(xfconf(a + "color-style"), "1");
    EXPECT_EQ(xfconf("/backdrop/screen1/monitor0/workspace0/last-image"), "/old/c.png");
}

TEST_F(Xfconf, TheWallpaperCallHandsOverHostileNamesExactly)
{
    const std::string path = picture("it's \"q\" a\\b\nc.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Xfce, path, {PlacementKind::Stretch, 0, 0}));
    // no X display here: the monitor is xfdesktop's old name for the first one
    const std::string base = "/backdrop/screen0/monitor0/workspace0/";
    EXPECT_EQ(xfconf(base + "last-image"), path);
    EXPECT_EQ(xfconf(base + "image-style"), "3");
}

TEST_F(Xfconf, AnOriginOrANameThatIsNotUtf8GetsAComposedCopy)
{
    const std::string base = "/backdrop/screen0/monitor0/workspace0/";
    for (const std::string &path : {picture("origin.bmp"), picture("not-utf8-\xff.bmp")}) {
        const DeskPlacement placement = path.find("origin") != std::string::npos
            ? DeskPlacement {PlacementKind::Origin, 10, 10}
            : DeskPlacement {PlacementKind::Tile, 0, 0};
        ASSERT_TRUE(applyDeskWallpaper(Desktop::Xfce, path, placement));
        EXPECT_EQ(xfconf(base + "last-image")
                      .rfind(std::string(std::getenv("XDG_CACHE_HOME")) + "/murelin/wallpaper-", 0),
            0u);
        EXPECT_EQ(xfconf(base + "image-style"), "3");
    }
}

TEST_F(Xfconf, AnEmptyPathShowsNoImage)
{
    const std::string base = "/backdrop/screen0/monitor0/workspace0/";
    const std::string path = picture("before.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Xfce, path, {PlacementKind::Tile, 0, 0}));
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Xfce, "", {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(xfconf(base + "image-style"), "0");
    EXPECT_EQ(xfconf(base + "last-image"), path);
}

/** A stand-in for plasmashell: owns its name on the bus and records evaluateScript calls. */
class FakePlasmaShell
{
public:
    explicit FakePlasmaShell(bool refuse)
        : m_refuse(refuse)
    {
        m_thread = std::thread([this] { serve(); });
        std::unique_lock lock(m_mutex);
        while (!m_ready)
            m_cv.wait(lock);
    }
    ~FakePlasmaShell()
    {
        g_main_loop_quit(m_loop);
        m_thread.join();
    }
    std::vector<std::string> scripts()
    {
        std::lock_guard lock(m_mutex);
        return m_scripts;
    }
    bool owned() const { return m_owned; }

private:
    static void onCall(GDBusConnection *, const gchar *, const gchar *, const gchar *,
        const gchar *method, GVariant *parameters, GDBusMethodInvocation *invocation, gpointer self)
    {
        auto *shell = static_cast<FakePlasmaShell *>(self);
        if (std::string(method) != "evaluateScript") {
            g_dbus_method_invocation_return_dbus_error(
                invocation, "org.freedesktop.DBus.Error.UnknownMethod", "no such method");
            return;
        }
        const gchar *script = nullptr;
        g_variant_get(parameters, "(&s)", &script);
        {
            std::lock_guard lock(shell->m_mutex);
            shell->m_scripts.emplace_back(script);
        }
        if (shell->m_refuse)
            g_dbus_method_invocation_return_dbus_error(
                invocation, "org.kde.PlasmaShell.Error", "scripting is locked");
        else
            g_dbus_method_invocation_return_value(invocation, nullptr);
    }

    void serve()
    {
        GMainContext *context = g_main_context_new();
        g_main_context_push_thread_default(context);
        m_loop = g_main_loop_new(context, FALSE);
        GDBusConnection *bus
            = g_dbus_connection_new_for_address_sync(std::getenv("DBUS_SESSION_BUS_ADDRESS"),
                static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT
                    | G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
                nullptr, nullptr, nullptr);
        GDBusNodeInfo *node = g_dbus_node_info_new_for_xml(
            "<node><interface name='org.kde.PlasmaShell'><method name='evaluateScript'>"
            "<arg type='s' name='script' direction='in'/></method></interface></node>",
            nullptr);
        static const GDBusInterfaceVTable vtable = {&FakePlasmaShell::onCall, nullptr, nullptr, {}};
        guint registration = 0;
        if (bus && node) {
            registration = g_dbus_connection_register_object(
                bus, "/PlasmaShell", node->interfaces[0], &vtable, this, nullptr, nullptr);
            GVariant *reply = g_dbus_connection_call_sync(bus, "org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
                g_variant_new("(su)", "org.kde.plasmashell", 4u), G_VARIANT_TYPE("(u)"),
                G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, nullptr);
            if (reply) {
                guint32 answer = 0;
                g_variant_get(reply, "(u)", &answer);
                m_owned = answer == 1; // the primary owner
                g_variant_unref(reply);
            }
        }
        {
            std::lock_guard lock(m_mutex);
            m_ready = true;
        }
        m_cv.notify_all();
        g_main_loop_run(m_loop);
        if (registration)
            g_dbus_connection_unregister_object(bus, registration);
        if (node)
            g_dbus_node_info_unref(node);
        if (bus) {
            g_dbus_connection_close_sync(bus, nullptr, nullptr);
            g_object_unref(bus);
        }
        g_main_loop_unref(m_loop);
        g_main_context_pop_thread_default(context);
        g_main_context_unref(context);
    }

    bool m_refuse = false;
    std::atomic<bool> m_owned {false};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_ready = false;
    GMainLoop *m_loop = nullptr;
    std::vector<std::string> m_scripts;
};

class Plasma : public testing::Test
{
protected:
    void SetUp() override { m_pictures = testpics::folder(home(), "pictures"); }
    std::string picture(const std::string &name)
    {
        const std::string path = m_pictures + "/" + name;
        EXPECT_TRUE(testpics::save(testpics::marked(), path, "bmp"));
        return path;
    }
    std::string m_pictures;
};

TEST_F(Plasma, TheScriptGoesToPlasmaShellWithTheEncodedPath)
{
    FakePlasmaShell shell(false);
    ASSERT_TRUE(shell.owned());
    const std::string path = picture("it's \"q\" a\\b\nc.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Plasma, path, {PlacementKind::Center, 0, 0}));
    ASSERT_EQ(shell.scripts().size(), 1u);
    const std::string script = shell.scripts()[0];
    EXPECT_EQ(script, plasmaScript(fileUri(path), NativeMode::Center));
    EXPECT_NE(script.find("it%27s%20%22q%22%20a%5Cb%0Ac.bmp\";\n"), std::string::npos) << script;
}

TEST_F(Plasma, AnOriginIsComposedAndSetStretched)
{
    FakePlasmaShell shell(false);
    ASSERT_TRUE(shell.owned());
    ASSERT_TRUE(
        applyDeskWallpaper(Desktop::Plasma, picture("o.bmp"), {PlacementKind::Origin, 4, 4}));
    ASSERT_EQ(shell.scripts().size(), 1u);
    EXPECT_NE(shell.scripts()[0].find("/murelin/wallpaper-"), std::string::npos);
    EXPECT_NE(shell.scripts()[0].find("(\"FillMode\", 0)"), std::string::npos);
}

TEST_F(Plasma, ARefusalOrNoPlasmaShellIsAFailure)
{
    const std::string path = picture("refused.bmp");
    {
        FakePlasmaShell shell(true);
        ASSERT_TRUE(shell.owned());
        EXPECT_FALSE(applyDeskWallpaper(Desktop::Plasma, path, {PlacementKind::Tile, 0, 0}));
        EXPECT_EQ(shell.scripts().size(), 1u);
    }
    EXPECT_FALSE(applyDeskWallpaper(Desktop::Plasma, path, {PlacementKind::Tile, 0, 0}));
}

} // namespace
