// GSettings for real: the keyfile backend in a private configuration folder (GNOME's schemas
// come from gsettings-desktop-schemas, MATE's keys from a schema compiled here), read back
// with the gsettings command. Run through private-session, which gives it its own home.
#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/compose.h"
#include "platform/linux/wallpaper/desk_apply.h"
#include "tests/platform/wallpaper/test_pictures.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace platform::desk;

namespace {

bool dconfRun()
{
    return std::getenv("MURELIN_DCONF_TEST") != nullptr;
}

std::string home()
{
    return std::getenv("HOME") ? std::getenv("HOME") : "/tmp";
}

/** Runs before any GSettings use: the backend and the schema folders are read only once. */
const bool s_environment = [] {
    if (std::getenv("MURELIN_NO_SCHEMAS_TEST")) {
        setenv("GSETTINGS_BACKEND", "keyfile", 1);
        setenv("XDG_DATA_DIRS", (home() + "/no-data").c_str(), 1);
        return true;
    }
    if (dconfRun()) {
        setenv("GSETTINGS_BACKEND", "dconf", 1);
        return true;
    }
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
    const char *source = std::getenv("MURELIN_SCHEMA_SOURCE");
    if (!source)
        return false;
    const std::string target = home() + "/schemas";
    const std::string command = "mkdir -p '" + target + "' && glib-compile-schemas --targetdir='"
        + target + "' '" + source + "'";
    if (std::system(command.c_str()) != 0)
        return false;
    setenv("GSETTINGS_SCHEMA_DIR", target.c_str(), 1);
    return true;
}();

/** The gsettings command's answer, without its line end. */
std::string gsettingsGet(const char *schema, const char *key)
{
    const std::string command = std::string("gsettings get ") + schema + " " + key + " 2>&1";
    std::FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return "<no gsettings>";
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    ::pclose(pipe);
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

std::string gnome(const char *key)
{
    return gsettingsGet("org.gnome.desktop.background", key);
}
std::string mate(const char *key)
{
    return gsettingsGet("org.mate.background", key);
}

class GSettingsKeyfile : public testing::Test
{
protected:
    void SetUp() override
    {
        if (dconfRun())
            GTEST_SKIP() << "this run is for dconf";
        ASSERT_TRUE(s_environment) << "could not prepare the schemas";
        m_pictures = testpics::folder(home(), "pictures");
    }
    std::string picture(const std::string &name, const char *format = "png")
    {
        const std::string path = m_pictures + "/" + name;
        EXPECT_TRUE(testpics::save(testpics::marked(), path, format));
        return path;
    }
    std::string m_pictures;
};

struct ModeCase
{
    const char *name;
    Desktop desktop;
    DeskPlacement placement;
    const char *options;
};

class GnomeModes : public GSettingsKeyfile, public testing::WithParamInterface<ModeCase>
{
};

TEST_P(GnomeModes, PictureAndOptionsReadBack)
{
    const ModeCase &c = GetParam();
    const std::string path = picture(std::string("mode-") + c.name + ".png");
    ASSERT_TRUE(applyDeskWallpaper(c.desktop, path, c.placement));
    const std::string uri = "'file://" + path + "'";
    const char *schema = c.desktop == Desktop::Gnome ? "org.gnome.desktop.background"
                                                     : "org.cinnamon.desktop.background";
    EXPECT_EQ(gsettingsGet(schema, "picture-uri"), uri);
    if (c.desktop == Desktop::Gnome) {
        EXPECT_EQ(gnome("picture-uri-dark"), uri);
    }
    EXPECT_EQ(gsettingsGet(schema, "picture-options"), std::string("'") + c.options + "'");
}

INSTANTIATE_TEST_SUITE_P(Table, GnomeModes,
    testing::Values(
        ModeCase {"Stretch", Desktop::Gnome, {PlacementKind::Stretch, 0, 0}, "stretched"},
        ModeCase {"Center", Desktop::Gnome, {PlacementKind::Center, 0, 0}, "centered"},
        ModeCase {
            "CinnamonStretch", Desktop::Cinnamon, {PlacementKind::Stretch, 0, 0}, "stretched"},
        ModeCase {"CinnamonCenter", Desktop::Cinnamon, {PlacementKind::Center, 0, 0}, "centered"}),
    [](const testing::TestParamInfo<ModeCase> &p) { return std::string(p.param.name); });

TEST_F(GSettingsKeyfile, HostileNamesArePercentEncoded)
{
    const std::string path = picture("it's \"a\" b\\c\nd%e\xff.png");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Gnome, path, {PlacementKind::Center, 0, 0}));
    EXPECT_EQ(gnome("picture-uri"),
        "'file://" + m_pictures + "/it%27s%20%22a%22%20b%5Cc%0Ad%25e%FF.png'");
}

TEST_F(GSettingsKeyfile, AnOriginIsComposedIntoTheCacheAndSetStretched)
{
    const std::string path = picture("origin.bmp");
    const std::string cache = std::string(std::getenv("XDG_CACHE_HOME")) + "/murelin/";
    const std::vector<std::string> expected {
        "wallpaper-1.png", "wallpaper-2.png", "wallpaper-3.png"};
    for (const std::string &name : expected) {
        ASSERT_TRUE(applyDeskWallpaper(Desktop::Gnome, path, {PlacementKind::Origin, 120, 70}));
        EXPECT_EQ(gnome("picture-uri"), "'file://" + cache + name + "'");
        EXPECT_EQ(gnome("picture-options"), "'stretched'");
    }
    // no display here: the composed picture has the fallback screen size
    const QImage composed(QString::fromStdString(cache + "wallpaper-3.png"));
    ASSERT_EQ(composed.size(), QSize(1920, 1080));
    EXPECT_EQ(composed.pixel(120, 70), 0xffff0000);
    EXPECT_EQ(composed.pixel(121, 70), 0xff336699);
    EXPECT_EQ(composed.pixel(119, 70), 0xff000000);
    EXPECT_EQ(composed.pixel(159, 99), 0xff336699);
    EXPECT_EQ(composed.pixel(160, 100), 0xff000000);
}

TEST_F(GSettingsKeyfile, TilesAreComposedFromTheCornerWhereTheDesktopTilesFromTheMiddle)
{
    const std::string path = picture("tile.png");
    for (const auto &[desktop, schema] :
        {std::pair {Desktop::Gnome, "org.gnome.desktop.background"},
            std::pair {Desktop::Cinnamon, "org.cinnamon.desktop.background"}}) {
        ASSERT_TRUE(applyDeskWallpaper(desktop, path, {PlacementKind::Tile, 0, 0}));
        EXPECT_EQ(gsettingsGet(schema, "picture-options"), "'stretched'") << schema;
        const std::string uri = gsettingsGet(schema, "picture-uri");
        ASSERT_NE(uri.find("/murelin/wallpaper-"), std::string::npos) << uri;
        // no display here: the fallback screen size, tiled from its top-left corner
        const QImage composed(QString::fromStdString(uri.substr(8, uri.size() - 9)));
        ASSERT_EQ(composed.size(), QSize(1920, 1080)) << schema;
        for (const QPoint corner : {QPoint(0, 0), QPoint(40, 0), QPoint(0, 30), QPoint(1880, 1050)})
            EXPECT_EQ(composed.pixel(corner), 0xffff0000) << schema << " " << corner.x();
        EXPECT_EQ(composed.pixel(41, 31), 0xff336699) << schema;
    }
}

TEST_F(GSettingsKeyfile, OtherFormatsGoAsAPngCopyWithTheirOwnMode)
{
    for (const char *format : {"ppm", "bmp"}) {
        const std::string path = picture(std::string("portable.") + format, format);
        ASSERT_TRUE(applyDeskWallpaper(Desktop::Gnome, path, {PlacementKind::Center, 0, 0}));
        const std::string uri = gnome("picture-uri");
        EXPECT_NE(uri.find("/murelin/wallpaper-"), std::string::npos) << uri;
        EXPECT_EQ(gnome("picture-options"), "'centered'");
        const std::string file = uri.substr(8, uri.size() - 9); // 'file://...'
        EXPECT_EQ(QImage(QString::fromStdString(file)), testpics::marked()) << file;
    }
}

TEST_F(GSettingsKeyfile, UnreadablePicturesChangeNothing)
{
    const std::string path = picture("kept.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Gnome, path, {PlacementKind::Center, 0, 0}));
    const std::string garbage = m_pictures + "/garbage.bmp";
    std::FILE *f = std::fopen(garbage.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("not a picture at all", f);
    std::fclose(f);
    EXPECT_FALSE(applyDeskWallpaper(
        Desktop::Gnome, m_pictures + "/missing.bmp", {PlacementKind::Stretch, 0, 0}));
    EXPECT_FALSE(applyDeskWallpaper(Desktop::Gnome, garbage, {PlacementKind::Origin, 5, 5}));
    EXPECT_EQ(gnome("picture-uri"), "'file://" + path + "'");
    EXPECT_EQ(gnome("picture-options"), "'centered'");
}

TEST_F(GSettingsKeyfile, AnEmptyPathRemovesThePicture)
{
    const std::string path = picture("before-none.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Gnome, path, {PlacementKind::Tile, 0, 0}));
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Gnome, "", {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(gnome("picture-options"), "'none'");
}

TEST_F(GSettingsKeyfile, MateTakesAPlainPath)
{
    const std::string path = picture("mate 'x'.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Mate, path, {PlacementKind::Center, 0, 0}));
    EXPECT_EQ(mate("picture-filename"), "\"" + path + "\"");
    EXPECT_EQ(mate("picture-options"), "'centered'");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Mate, path, {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(mate("picture-options"), "'wallpaper'");
}

TEST_F(GSettingsKeyfile, MateGetsACopyForANameThatIsNotUtf8)
{
    const std::string path = picture("mate-\xfe.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Mate, path, {PlacementKind::Center, 0, 0}));
    const std::string name = mate("picture-filename");
    EXPECT_NE(name.find("/murelin/wallpaper-"), std::string::npos) << name;
    EXPECT_EQ(mate("picture-options"), "'stretched'");
}

TEST(NoSchemas, AMissingSchemaIsAFailureNotAnAbort)
{
    if (!std::getenv("MURELIN_NO_SCHEMAS_TEST"))
        GTEST_SKIP() << "runs as desktop_gsettings_noschema_test";
    // Looking the schema up first keeps GLib from ending the process.
    const std::string path = testpics::folder(home(), "pictures") + "/none.png";
    ASSERT_TRUE(testpics::save(testpics::marked(), path, "png"));
    for (const Desktop desktop : {Desktop::Gnome, Desktop::Cinnamon, Desktop::Mate})
        EXPECT_FALSE(applyDeskWallpaper(desktop, path, {PlacementKind::Center, 0, 0}));
    EXPECT_FALSE(setGSettingsWallpaper(GSettingsFlavour::Cinnamon, path, NativeMode::Tile));
}

TEST(DconfWithoutBus, AWriteThatDoesNotStickIsAFailure)
{
    if (!dconfRun())
        GTEST_SKIP() << "runs as desktop_gsettings_dconf_test";
    const std::string dir = testpics::folder(home(), "pictures");
    const std::string path = dir + "/dconf.bmp";
    ASSERT_TRUE(testpics::save(testpics::marked(), path, "bmp"));
    EXPECT_FALSE(applyDeskWallpaper(Desktop::Gnome, path, {PlacementKind::Stretch, 0, 0}));
}

} // namespace
