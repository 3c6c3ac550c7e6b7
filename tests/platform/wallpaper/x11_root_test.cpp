// The X11 backend for real: run on a private Xvfb (1024x768, depth 24). The root window's
// pixels are read back and compared with where the placement puts each quadrant.
#include "platform/linux/wallpaper/desk_apply.h"
#include "platform/linux/wallpaper/x11_root.h"
#include "tests/platform/wallpaper/quadrants.h"
#include "tests/support/memory_registry.h"
#include "tests/support/temp_dir.h"

#include <platform/desktop_wallpaper.h>

#include <QImage>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <unistd.h>

using namespace platform::desk;
using namespace quadrants;

namespace {

constexpr Atom pixmapType = 20;

int s_xErrors = 0;
int countErrors(Display *, XErrorEvent *)
{
    ++s_xErrors;
    return 0;
}

class X11Root : public testing::Test
{
protected:
    void SetUp() override
    {
        m_display = XOpenDisplay(nullptr);
        ASSERT_NE(m_display, nullptr) << "needs an X server (run under scripts/with-xvfb)";
        m_root = XDefaultRootWindow(m_display);
        m_width = XDisplayWidth(m_display, XDefaultScreen(m_display));
        m_height = XDisplayHeight(m_display, XDefaultScreen(m_display));
    }
    void TearDown() override
    {
        if (m_display)
            XCloseDisplay(m_display);
    }

    std::string save(const QImage &image, const char *name, const char *format)
    {
        const std::string path = m_dir.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path), format));
        return path;
    }

    /** The root window's pixels as a Format_RGB32 image. */
    QImage rootPixels()
    {
        XImage *shot = XGetImage(m_display, m_root, 0, 0, static_cast<unsigned>(m_width),
            static_cast<unsigned>(m_height), AllPlanes, ZPixmap);
        QImage out(m_width, m_height, QImage::Format_RGB32);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x)
                out.setPixel(x, y, 0xff000000u | (XGetPixel(shot, x, y) & 0xffffffu));
        }
        XDestroyImage(shot);
        return out;
    }

    std::optional<unsigned long> rootAtom(const char *name)
    {
        const Atom atom = XInternAtom(m_display, name, False);
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long rest = 0;
        unsigned char *data = nullptr;
        std::optional<unsigned long> value;
        if (XGetWindowProperty(m_display, m_root, atom, 0, 1, False, pixmapType, &type, &format,
                &items, &rest, &data)
                == Success
            && data && type == pixmapType && items == 1) {
            unsigned long item = 0;
            std::memcpy(&item, data, sizeof item);
            value = item;
        }
        if (data)
            XFree(data);
        return value;
    }

    void setRootAtom(const char *name, unsigned long value)
    {
        XChangeProperty(m_display, m_root, XInternAtom(m_display, name, False), pixmapType, 32,
            PropModeReplace, reinterpret_cast<const unsigned char *>(&value), 1);
        XSync(m_display, False);
    }

    /** True when `pixmap` is still a drawable on the server. */
    bool pixmapExists(unsigned long pixmap)
    {
        XSync(m_display, False);
        s_xErrors = 0;
        const XErrorHandler previous = XSetErrorHandler(countErrors);
        Window root = 0;
        int x = 0;
        int y = 0;
        unsigned w = 0;
        unsigned h = 0;
        unsigned border = 0;
        unsigned depth = 0;
        XGetGeometry(m_display, pixmap, &root, &x, &y, &w, &h, &border, &depth);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return s_xErrors == 0;
    }

    testsupport::TempDir m_dir;
    Display *m_display = nullptr;
    Window m_root = 0;
    int m_width = 0;
    int m_height = 0;
};

struct RootCase
{
    const char *name;
    DeskPlacement placement;
    int width;
    int height;
    const char *format;
};

/** "" when every pixel of `image` is as `expected` says, else how many are not and the first. */
template <typename Expected>
std::string wrongPixels(const QImage &image, int tolerance, Expected expected)
{
    int wrong = 0;
    std::string first;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const std::optional<QRgb> want = expected(x, y);
            if (want && channelDistance(image.pixel(x, y), *want) > tolerance && wrong++ == 0)
                first = std::to_string(x) + "," + std::to_string(y);
        }
    }
    return wrong ? std::to_string(wrong) + " wrong, the first at " + first : std::string();
}

class X11Placement : public X11Root, public testing::WithParamInterface<RootCase>
{
};

std::optional<QRgb> expectedPixel(const RootCase &c, int x, int y, int screenW, int screenH)
{
    return quadrants::expectedPixel(
        c.placement, c.width, c.height, std::string(c.format) == "jpg", x, y, screenW, screenH);
}

TEST_P(X11Placement, RootShowsThePlacedPicture)
{
    const RootCase &c = GetParam();
    const std::string path = save(
        quadrantPicture(c.width, c.height), (std::string("picture.") + c.format).c_str(), c.format);
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, path, c.placement));

    const QImage root = rootPixels();
    // JPEG is lossy: its colours are near, and its block edges are not compared exactly
    const int tolerance = std::string(c.format) == "jpg" ? 24 : 2;
    EXPECT_EQ(wrongPixels(root, tolerance,
                  [&](int x, int y) { return expectedPixel(c, x, y, m_width, m_height); }),
        "");
}

INSTANTIATE_TEST_SUITE_P(Table, X11Placement,
    testing::Values(RootCase {"StretchSmall", {PlacementKind::Stretch, 0, 0}, 200, 100, "bmp"},
        RootCase {"StretchLarge", {PlacementKind::Stretch, 0, 0}, 2000, 1600, "bmp"},
        RootCase {"CenterSmallOdd", {PlacementKind::Center, 0, 0}, 201, 101, "bmp"},
        RootCase {"CenterLarge", {PlacementKind::Center, 0, 0}, 2000, 1600, "bmp"},
        RootCase {"CenterLargeOdd", {PlacementKind::Center, 0, 0}, 1101, 901, "png"},
        RootCase {"TileSmall", {PlacementKind::Tile, 0, 0}, 200, 100, "bmp"},
        RootCase {"TileLarge", {PlacementKind::Tile, 0, 0}, 2000, 1600, "png"},
        RootCase {"OriginSmall", {PlacementKind::Origin, 100, 50}, 200, 100, "bmp"},
        RootCase {"OriginLarge", {PlacementKind::Origin, 300, 200}, 2000, 1600, "bmp"},
        RootCase {"OriginNegative", {PlacementKind::Origin, -150, -40}, 200, 100, "png"},
        RootCase {"OriginOffScreen", {PlacementKind::Origin, 5000, 10}, 200, 100, "bmp"},
        RootCase {"StretchJpeg", {PlacementKind::Stretch, 0, 0}, 2000, 1600, "jpg"},
        RootCase {"CenterJpeg", {PlacementKind::Center, 0, 0}, 400, 240, "jpg"}),
    [](const testing::TestParamInfo<RootCase> &p) { return std::string(p.param.name); });

/**
 * The screen split into two monitors of different sizes, as `xrandr --setmonitor` does it:
 * LEFT takes the server's output, RIGHT has none and leaves a strip below it uncovered.
 */
class X11TwoMonitors : public X11Root, public testing::WithParamInterface<RootCase>
{
protected:
    void SetUp() override
    {
        X11Root::SetUp();
        ASSERT_GE(m_width, 1000);
        XRRScreenResources *resources = XRRGetScreenResourcesCurrent(m_display, m_root);
        ASSERT_TRUE(resources && resources->noutput >= 1);
        RROutput output = resources->outputs[0];
        m_monitors = {{"LEFT", QRect(0, 0, 600, m_height)}, {"RIGHT", QRect(600, 0, 400, 300)}};
        for (const auto &[name, rect] : m_monitors) {
            XRRMonitorInfo *info = XRRAllocateMonitor(m_display, name == "LEFT" ? 1 : 0);
            info->name = XInternAtom(m_display, name.c_str(), False);
            info->x = rect.x();
            info->y = rect.y();
            info->width = rect.width();
            info->height = rect.height();
            info->mwidth = rect.width() / 4;
            info->mheight = rect.height() / 4;
            if (name == "LEFT")
                info->outputs[0] = output;
            XRRSetMonitor(m_display, m_root, info);
            XRRFreeMonitors(info);
        }
        XRRFreeScreenResources(resources);
        XSync(m_display, False);
    }
    void TearDown() override
    {
        // the server's own monitor for its output comes back by itself
        for (const auto &[name, rect] : m_monitors)
            XRRDeleteMonitor(m_display, m_root, XInternAtom(m_display, name.c_str(), False));
        XSync(m_display, False);
        X11Root::TearDown();
    }
    std::vector<std::pair<std::string, QRect>> m_monitors;
};

TEST_P(X11TwoMonitors, EachMonitorShowsThePictureFromItsOwnCorner)
{
    const RootCase &c = GetParam();
    const std::string path = save(
        quadrantPicture(c.width, c.height), (std::string("two.") + c.format).c_str(), c.format);
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, path, c.placement));

    const QImage root = rootPixels();
    EXPECT_EQ(wrongPixels(root, 2,
                  [&](int x, int y) {
                      std::optional<QRgb> expected = black;
                      for (const auto &[name, rect] : m_monitors) {
                          if (rect.contains(x, y))
                              expected = expectedPixel(
                                  c, x - rect.x(), y - rect.y(), rect.width(), rect.height());
                      }
                      return expected;
                  }),
        "");
}

INSTANTIATE_TEST_SUITE_P(Table, X11TwoMonitors,
    testing::Values(RootCase {"Stretch", {PlacementKind::Stretch, 0, 0}, 200, 100, "bmp"},
        RootCase {"Center", {PlacementKind::Center, 0, 0}, 201, 101, "png"},
        RootCase {"Tile", {PlacementKind::Tile, 0, 0}, 160, 120, "bmp"},
        RootCase {"Origin", {PlacementKind::Origin, 30, 20}, 200, 100, "bmp"}),
    [](const testing::TestParamInfo<RootCase> &p) { return std::string(p.param.name); });

/** A GSettings key read back with the gsettings command, without its quotes. */
std::string gsettingsValue(const std::string &schema, const char *key)
{
    const std::string command = "gsettings get " + schema + " " + key + " 2>&1";
    std::FILE *pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    if (pipe)
        ::pclose(pipe);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\''))
        out.pop_back();
    return out.substr(out.empty() || out.front() != '\'' ? 0 : 1);
}

TEST_P(X11TwoMonitors, DesktopsThatSpanGetOnePictureComposedForEachMonitorsCorner)
{
    // GSettings in a folder of the test's own, for the whole run (GIO reads it once): the
    // keyfile backend, read back by the command
    static const testsupport::TempDir settings;
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
    setenv("XDG_CONFIG_HOME", settings.file("config").c_str(), 1);
    setenv("XDG_CACHE_HOME", settings.file("cache").c_str(), 1);
    const RootCase &c = GetParam();
    const std::string path = save(
        quadrantPicture(c.width, c.height), (std::string("span.") + c.format).c_str(), c.format);
    const QRect area = m_monitors[0].second | m_monitors[1].second;
    for (const auto &[desktop, schema, key] :
        {std::tuple {Desktop::Gnome, "org.gnome.desktop.background", "picture-uri"},
            std::tuple {Desktop::Cinnamon, "org.cinnamon.desktop.background", "picture-uri"},
            std::tuple {Desktop::Mate, "org.mate.background", "picture-filename"}}) {
        ASSERT_TRUE(applyDeskWallpaper(desktop, path, c.placement)) << schema;
        EXPECT_EQ(gsettingsValue(schema, "picture-options"), "spanned");
        std::string file = gsettingsValue(schema, key);
        if (file.starts_with("file://"))
            file.erase(0, 7);
        const QImage spanned
            = QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(spanned.size(), area.size()) << file;
        EXPECT_EQ(wrongPixels(spanned, 2,
                      [&](int x, int y) {
                          std::optional<QRgb> expected = black;
                          for (const auto &[name, rect] : m_monitors) {
                              if (rect.contains(x, y))
                                  expected = expectedPixel(
                                      c, x - rect.x(), y - rect.y(), rect.width(), rect.height());
                          }
                          return expected;
                      }),
            "")
            << schema;
    }
}

TEST_F(X11TwoMonitors, MonitorsAreNamedAfterTheirOutput)
{
    const std::vector<OutputArea> monitors = x11Monitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(monitors[0].name, "screen"); // Xvfb's one output
    EXPECT_EQ(monitors[0].rect, m_monitors[0].second);
    EXPECT_EQ(monitors[1].name, "RIGHT");
    EXPECT_EQ(monitors[1].rect, m_monitors[1].second);
    EXPECT_EQ(largestOutput(monitors), m_monitors[0].second.size());
}

TEST_F(X11Root, ASettersPixmapOfTheScreensSizeIsDrawnOverAndAnyOtherIsFreed)
{
    // A setter's pixmap of another size, left behind by its connection as setters do.
    Display *setter = XOpenDisplay(nullptr);
    ASSERT_NE(setter, nullptr);
    const Pixmap small = XCreatePixmap(
        setter, m_root, 8, 8, static_cast<unsigned>(XDefaultDepth(setter, XDefaultScreen(setter))));
    XSetCloseDownMode(setter, RetainPermanent);
    XCloseDisplay(setter);
    setRootAtom("_XROOTPMAP_ID", small);
    setRootAtom("ESETROOT_PMAP_ID", small);

    const std::string path = save(quadrantPicture(64, 64), "a.bmp", "bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, path, {PlacementKind::Tile, 0, 0}));
    const auto first = rootAtom("_XROOTPMAP_ID");
    ASSERT_TRUE(first.has_value());
    EXPECT_NE(*first, small);
    EXPECT_FALSE(pixmapExists(small)) << "the previous pixmap was left behind";
    EXPECT_EQ(rootAtom("ESETROOT_PMAP_ID"), first);
    EXPECT_TRUE(pixmapExists(*first)) << "the pixmap must outlive the connection that made it";
    const QImage tiled = rootPixels();

    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, path, {PlacementKind::Center, 0, 0}));
    EXPECT_EQ(rootAtom("_XROOTPMAP_ID"), first) << "ours, of the screen's size, is drawn over";
    EXPECT_EQ(rootAtom("ESETROOT_PMAP_ID"), first);
    EXPECT_NE(rootPixels(), tiled);
    EXPECT_EQ(rootPixels().pixel(0, 0), 0xff000000); // centred on black
}

TEST_F(X11Root, APixmapNamedByOneAtomOnlyIsLeftAlone)
{
    // Someone else's root pixmap, named by _XROOTPMAP_ID alone: not ours to free.
    const Pixmap foreign = XCreatePixmap(m_display, m_root, 8, 8,
        static_cast<unsigned>(XDefaultDepth(m_display, XDefaultScreen(m_display))));
    setRootAtom("_XROOTPMAP_ID", foreign);
    setRootAtom("ESETROOT_PMAP_ID", foreign + 1);
    const std::string path = save(quadrantPicture(64, 64), "b.bmp", "bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, path, {PlacementKind::Stretch, 0, 0}));
    EXPECT_TRUE(pixmapExists(foreign));
    EXPECT_NE(rootAtom("_XROOTPMAP_ID"), std::optional<unsigned long>(foreign));
    XFreePixmap(m_display, foreign);
}

TEST_F(X11Root, UnreadablePicturesLeaveTheRootAsItWas)
{
    const std::string good = save(quadrantPicture(64, 64), "c.bmp", "bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, good, {PlacementKind::Tile, 0, 0}));
    const auto before = rootAtom("_XROOTPMAP_ID");
    const QImage shown = rootPixels();

    const std::string garbage = m_dir.file("garbage.bmp");
    testsupport::writeFile(garbage, "BM this is no bitmap");
    for (const std::string &path : {m_dir.file("missing.bmp"), garbage, m_dir.path()}) {
        EXPECT_FALSE(applyDeskWallpaper(Desktop::X11Root, path, {PlacementKind::Tile, 0, 0}))
            << path;
        EXPECT_EQ(rootAtom("_XROOTPMAP_ID"), before);
    }
    EXPECT_EQ(rootPixels(), shown);
}

TEST_F(X11Root, AnEmptyPathRemovesThePicture)
{
    const std::string path = save(quadrantPicture(64, 64), "d.bmp", "bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, path, {PlacementKind::Tile, 0, 0}));
    ASSERT_TRUE(applyDeskWallpaper(Desktop::X11Root, "", {PlacementKind::Tile, 0, 0}));
    QImage black(m_width, m_height, QImage::Format_RGB32);
    black.fill(0xff000000);
    EXPECT_EQ(rootPixels(), black);
}

TEST_F(X11Root, RelativePathsAreTakenFromTheWorkingDirectory)
{
    save(quadrantPicture(200, 100), "rel.bmp", "bmp");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(m_dir.path().c_str()), 0);
    const bool ok = applyDeskWallpaper(Desktop::X11Root, "rel.bmp", {PlacementKind::Origin, 1, 2});
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_TRUE(ok);
    EXPECT_EQ(rootPixels().pixel(1, 2), topLeft);
    EXPECT_EQ(rootPixels().pixel(0, 0), 0xff000000);
}

TEST_F(X11Root, TheWallpaperCallTakesThePlacementFromTheRegistry)
{
    testsupport::MemoryRegistry registry;
    const auto desktopValues
        = [&registry](const char *tile, const char *style, const char *x, const char *y) {
              registry.store("Control Panel\\Desktop", "TileWallpaper", tile);
              registry.store("Control Panel\\Desktop", "WallpaperStyle", style);
              registry.store("Control Panel\\Desktop", "WallpaperOriginX", x);
              registry.store("Control Panel\\Desktop", "WallpaperOriginY", y);
          };
    const std::string path = save(quadrantPicture(200, 100), "e.bmp", "bmp");

    // A Location picture as the window lays it: stretched first, then at its origin.
    desktopValues("0", "2", "0", "0");
    EXPECT_TRUE(platform::setDeskWallpaper(path));
    EXPECT_EQ(rootPixels().pixel(10, 10), topLeft);
    EXPECT_EQ(rootPixels().pixel(m_width - 10, m_height - 10), bottomRight);

    desktopValues("0", "0", "100", "50");
    EXPECT_TRUE(platform::setDeskWallpaper(path));
    const QImage root = rootPixels();
    EXPECT_EQ(root.pixel(99, 50), 0xff000000);
    EXPECT_EQ(root.pixel(100, 50), topLeft);
    EXPECT_EQ(root.pixel(299, 149), bottomRight);
    EXPECT_EQ(root.pixel(300, 150), 0xff000000);
}

TEST_F(X11Root, ScreenQueriesAnswer)
{
    EXPECT_EQ(x11ScreenSize(), QSize(m_width, m_height));
    ASSERT_EQ(outputAreas().size(), 1u);
    EXPECT_EQ(outputAreas()[0].rect, QRect(0, 0, m_width, m_height));
    EXPECT_EQ(outputAreas()[0].name, "screen");
    EXPECT_EQ(x11WorkspaceCount(), 1);
    const long four = 4;
    XChangeProperty(m_display, m_root, XInternAtom(m_display, "_NET_NUMBER_OF_DESKTOPS", False), 6,
        32, PropModeReplace, reinterpret_cast<const unsigned char *>(&four), 1);
    XSync(m_display, False);
    EXPECT_EQ(x11WorkspaceCount(), 4);
    XDeleteProperty(m_display, m_root, XInternAtom(m_display, "_NET_NUMBER_OF_DESKTOPS", False));
    XSync(m_display, False);
}

} // namespace
