// What the desktops that take a command or a script are handed: the exact argument lists and
// scripts for hostile names, run for real through stand-ins that record their arguments.
#include "platform/linux/wallpaper/backends.h"
#include "platform/linux/wallpaper/compose.h"
#include "platform/linux/wallpaper/desk_apply.h"
#include "tests/platform/wallpaper/test_pictures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <QImageReader>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace platform::desk;
using Args = std::vector<std::string>;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

// Names that would change a command line or a script if any layer took them as syntax.
const std::string quotes = "/p/it's \"q\".bmp";
const std::string backslashes = "/p/a\\b\\\\c\\\".bmp";
const std::string newlines = "/p/a\nb\r\n.bmp";

struct SwayCase
{
    const char *name;
    std::string path;
    bool plain;
};

class SwayPaths : public testing::TestWithParam<SwayCase>
{
};

TEST_P(SwayPaths, PlainPathsGoAsTheyStandOthersNotAtAll)
{
    const auto command = swayCommand(GetParam().path, NativeMode::Center);
    if (GetParam().plain) {
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(*command, (Args {"swaymsg", "output", "*", "bg", GetParam().path, "center"}));
    } else {
        EXPECT_FALSE(command.has_value()) << (command ? (*command)[4] : "");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SwayPaths,
    testing::Values(SwayCase {"Plain", "/home/u/Pictures/sea-1_b.bmp", true},
        SwayCase {"InnerSpace", "/home/u/My Pictures/a b.bmp", true},
        SwayCase {"Utf8",
            "/home/u/Bilder/Gr\xc3\xbc\xc3\x9f"
            "e.bmp",
            true},
        SwayCase {"Marks", "/p/a+b@c%d.bmp", true}, SwayCase {"SingleQuote", quotes, false},
        SwayCase {"Backslash", backslashes, false}, SwayCase {"Newline", newlines, false},
        SwayCase {"CommandSeparator", "/p/a;exec rm -rf x.bmp", false},
        SwayCase {"CommaSeparator", "/p/a,b.bmp", false},
        SwayCase {"Expansion", "/p/$(touch x).bmp", false},
        SwayCase {"Backtick", "/p/`id`.bmp", false}, SwayCase {"Variable", "/p/$HOME.bmp", false},
        SwayCase {"Tilde", "~/a.bmp", false}, SwayCase {"Glob", "/p/*.bmp", false},
        SwayCase {"DoubleSpace", "/p/a  b.bmp", false}, SwayCase {"Tab", "/p/a\tb.bmp", false},
        SwayCase {"TrailingSpace", "/p/a.bmp ", false},
        SwayCase {"ModeWordInside", "/p/my tile x.bmp", false},
        SwayCase {"ModeWordAnyCase", "/p/a Fit me.bmp", false},
        SwayCase {"ModeWordInAName", "/p/my tile/a.bmp", true},
        SwayCase {"NotUtf8", "/p/\xff.bmp", false}, SwayCase {"Empty", "", false}),
    [](const testing::TestParamInfo<SwayCase> &p) { return std::string(p.param.name); });

TEST(SwayCommand, EachModeHasItsWord)
{
    EXPECT_EQ(swayCommand("/a.png", NativeMode::Stretch)->back(), "stretch");
    EXPECT_EQ(swayCommand("/a.png", NativeMode::Center)->back(), "center");
    EXPECT_EQ(swayCommand("/a.png", NativeMode::Tile)->back(), "tile");
}

TEST(PcmanfmQtCommand, TheNameIsOneArgumentExactlyAsGiven)
{
    for (const std::string &path : {quotes, backslashes, newlines}) {
        EXPECT_EQ(pcmanfmQtCommand(path, NativeMode::Tile),
            (Args {"pcmanfm-qt", "--set-wallpaper", path, "--wallpaper-mode", "tile"}));
    }
    EXPECT_EQ(pcmanfmQtCommand("/a.png", NativeMode::Stretch).back(), "stretch");
    EXPECT_EQ(pcmanfmQtCommand("/a.png", NativeMode::Center).back(), "center");
}

TEST(PlasmaScript, TheExactScript)
{
    EXPECT_EQ(plasmaScript("file:///p/a%20b.png", NativeMode::Tile),
        "var image = \"file:///p/a%20b.png\";\n"
        "var all = desktops();\n"
        "for (var i = 0; i < all.length; i++) {\n"
        "    var d = all[i];\n"
        "    d.wallpaperPlugin = \"org.kde.image\";\n"
        "    d.currentConfigGroup = [\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
        "    d.writeConfig(\"Image\", image);\n"
        "    d.writeConfig(\"FillMode\", 3);\n"
        "}\n");
}

TEST(PlasmaScript, HostileTextStaysInsideTheLiteral)
{
    // Even text that was never percent-encoded cannot leave the string literal.
    const std::string script
        = plasmaScript("a\"b'c\\d\ne</script>\xe2\x80\xa8", NativeMode::Center);
    EXPECT_EQ(script.substr(0, script.find('\n')),
        "var image = \"a\\u0022b\\u0027c\\u005cd\\u000ae\\u003c/script\\u003e"
        "\\u00e2\\u0080\\u00a8\";");
    EXPECT_NE(script.find("d.writeConfig(\"FillMode\", 6);"), std::string::npos);
    EXPECT_NE(plasmaScript("x", NativeMode::Stretch).find("(\"FillMode\", 0)"), std::string::npos);
}

/** The script run by a real JavaScript engine against desktops that record what they get. */
class PlasmaScriptInNode : public testing::Test
{
protected:
    void SetUp() override
    {
        if (std::system("node --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "node is not installed (scripts/packages/wallpaper.txt lists it)";
    }
    testsupport::TempDir m_dir;
    const std::string base = m_dir.path();
};

TEST_F(PlasmaScriptInNode, AJavaScriptEngineSeesTheUriAndNothingElse)
{
    // Two desktops that record every call, as plasmashell's scripting offers them.
    writeFile(base + "/harness.js",
        "const fs = require('fs');\n"
        "const calls = [];\n"
        "function desktops() { return [0, 1].map(n => ({\n"
        "  set wallpaperPlugin(v) { calls.push([n, 'plugin', v]); },\n"
        "  set currentConfigGroup(v) { calls.push([n, 'group', v.join('/')]); },\n"
        "  writeConfig(k, v) { calls.push([n, k, v]); } })); }\n"
        "eval(fs.readFileSync(process.argv[2], 'utf8'));\n"
        "fs.writeFileSync(process.argv[3], JSON.stringify(calls));\n"
        "const shown = calls.find(c => c[1] === 'Image')[2];\n"
        "fs.writeFileSync(process.argv[4], decodeURIComponent(shown.slice(7)));\n");
    for (const std::string &path : {quotes, backslashes, newlines,
             std::string("/p/\"); desktops = null; (\".bmp"), std::string("/p/\xe2\x80\xa8.bmp")}) {
        const std::string uri = fileUri(path);
        writeFile(base + "/script.js", plasmaScript(uri, NativeMode::Tile));
        const std::string command = "node " + base + "/harness.js " + base + "/script.js " + base
            + "/calls.json " + base + "/path.txt";
        ASSERT_EQ(std::system(command.c_str()), 0) << path;
        EXPECT_EQ(readFile(base + "/calls.json"),
            "[[0,\"plugin\",\"org.kde.image\"],[0,\"group\",\"Wallpaper/org.kde.image/General\"],"
            "[0,\"Image\",\""
                + uri
                + "\"],[0,\"FillMode\",3],"
                  "[1,\"plugin\",\"org.kde.image\"],[1,\"group\",\"Wallpaper/org.kde.image/"
                  "General\"],"
                  "[1,\"Image\",\""
                + uri + "\"],[1,\"FillMode\",3]]");
        EXPECT_EQ(readFile(base + "/path.txt"), path);
    }
}

TEST_F(PlasmaScriptInNode, EachScreenTakesThePictureForItsCorner)
{
    // Three desktops on screens at x 0 and 1920, and one whose screen no picture names.
    writeFile(base + "/harness.js",
        "const fs = require('fs');\n"
        "const shown = {};\n"
        "const corners = [[0, 0], [1920, 0], [0, 1080]];\n"
        "function screenGeometry(s) { return {x: corners[s][0], y: corners[s][1],\n"
        "  width: 1920, height: 1080}; }\n"
        "function desktops() { return [0, 1, 2].map(n => ({ screen: n,\n"
        "  set wallpaperPlugin(v) {}, set currentConfigGroup(v) {},\n"
        "  writeConfig(k, v) { if (k === 'Image') shown[n] = v; } })); }\n"
        "eval(fs.readFileSync(process.argv[2], 'utf8'));\n"
        "fs.writeFileSync(process.argv[3], JSON.stringify(shown));\n");
    writeFile(base + "/script.js",
        plasmaScript(
            {{"file:///c/left.png", 0, 0}, {"file:///c/it's.png", 1920, 0}}, NativeMode::Stretch));
    ASSERT_EQ(
        std::system(("node " + base + "/harness.js " + base + "/script.js " + base + "/shown.json")
                        .c_str()),
        0);
    EXPECT_EQ(readFile(base + "/shown.json"),
        "{\"0\":\"file:///c/left.png\",\"1\":\"file:///c/it's.png\",\"2\":\"file:///c/left.png\"}");
}

struct UriCase
{
    std::string path;
    std::string uri;
};

TEST(FileUri, EncodesEverythingButUnreservedCharacters)
{
    for (const UriCase &c : {UriCase {"/a/b-c_d.e~f", "file:///a/b-c_d.e~f"},
             UriCase {"/a b", "file:///a%20b"}, UriCase {"/%", "file:///%25"},
             UriCase {"/'\"\\\n#?&;", "file:///%27%22%5C%0A%23%3F%26%3B"},
             UriCase {"/\xc3\xa9\xff", "file:///%C3%A9%FF"}})
        EXPECT_EQ(fileUri(c.path), c.uri);
}

TEST(IsUtf8, AcceptsUtf8Only)
{
    EXPECT_TRUE(isUtf8(""));
    EXPECT_TRUE(isUtf8("plain"));
    EXPECT_TRUE(isUtf8("Gr\xc3\xbc\xc3\x9f"
                       "e \xe2\x82\xac \xf0\x9f\x98\x80"));
    EXPECT_FALSE(isUtf8("\xff"));
    EXPECT_FALSE(isUtf8("\xc3")); // cut short
    EXPECT_FALSE(isUtf8("\xc0\xaf")); // overlong "/"
    EXPECT_FALSE(isUtf8("\xed\xa0\x80")); // a surrogate
    EXPECT_FALSE(isUtf8("\xf4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(isUtf8("a\x80"
                        "b"));
}

TEST(RunCommand, ReportsTheExitAndKeepsToItsTimeLimit)
{
    EXPECT_TRUE(runCommand({"true"}, 2000));
    EXPECT_FALSE(runCommand({"false"}, 2000));
    EXPECT_FALSE(runCommand({"murelin-no-such-program"}, 2000));
    EXPECT_FALSE(runCommand({}, 2000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(runCommand({"sh", "-c", "sleep 30; true"}, 300));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

/** Puts the recording stand-ins first in PATH and gives the test its own cache folder. */
class RecordedCommands : public testing::Test
{
protected:
    void SetUp() override
    {
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
        setenv("PATH", (std::string(MURELIN_FAKE_TOOLS) + ":" + m_oldPath).c_str(), 1);
        setenv("XDG_CACHE_HOME", (m_base + "/cache").c_str(), 1);
        setenv("MURELIN_FAKE_LOG", (m_base + "/args").c_str(), 1);
        unsetenv("MURELIN_FAKE_STATUS");
        m_pictures = testpics::folder(m_base, "pictures");
    }
    void TearDown() override { setenv("PATH", m_oldPath.c_str(), 1); }
    std::string picture(const std::string &name, const char *format = "png")
    {
        const std::string path = m_pictures + "/" + name;
        EXPECT_TRUE(testpics::save(testpics::marked(), path, format));
        return path;
    }
    /** What the stand-in was called with, its own name first (without its folder). */
    Args recorded()
    {
        std::string data = readFile(m_base + "/args");
        if (data == "<missing>")
            data.clear(); // not called
        Args args;
        std::size_t start = 0;
        while (start < data.size()) {
            const auto end = data.find('\0', start);
            args.push_back(data.substr(start, end - start));
            start = end + 1;
        }
        std::remove((m_base + "/args").c_str());
        if (!args.empty())
            args[0] = args[0].substr(args[0].rfind('/') + 1);
        return args;
    }
    testsupport::TempDir m_dir;
    const std::string m_base = m_dir.path();
    std::string m_oldPath;
    std::string m_pictures;
};

TEST_F(RecordedCommands, SwayGetsPlainPathsAsTheyStand)
{
    const std::string path = picture("sea view.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Sway, path, {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(recorded(), (Args {"swaymsg", "output", "*", "bg", path, "tile"}));
}

TEST_F(RecordedCommands, SwayGetsACopyUnderAPlainNameForAHostileOne)
{
    for (const std::string &name : {std::string("it's \"q\".bmp"), std::string("a\\b.bmp"),
             std::string("a\nb.bmp"), std::string("x;exec touch pwned.bmp")}) {
        const std::string path = picture(name);
        ASSERT_TRUE(applyDeskWallpaper(Desktop::Sway, path, {PlacementKind::Center, 0, 0}));
        const Args args = recorded();
        ASSERT_EQ(args.size(), 6u) << name;
        EXPECT_EQ((Args {args[0], args[1], args[2], args[3], args[5]}),
            (Args {"swaymsg", "output", "*", "bg", "stretch"}));
        EXPECT_EQ(args[4].rfind(m_base + "/cache/murelin/wallpaper-", 0), 0u) << args[4];
        EXPECT_TRUE(swayCommand(args[4], NativeMode::Stretch).has_value());
    }
}

TEST_F(RecordedCommands, SwayGetsAnOriginComposed)
{
    const std::string path = picture("plain.bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Sway, path, {PlacementKind::Origin, 3, 4}));
    const Args args = recorded();
    ASSERT_EQ(args.size(), 6u);
    EXPECT_EQ(args[5], "stretch");
    const QImage composed(QString::fromStdString(args[4]));
    EXPECT_EQ(composed.size(), outputAreas().front().rect.size());
    EXPECT_EQ(composed.pixel(3, 4), 0xffff0000);
    EXPECT_EQ(composed.pixel(2, 4), 0xff000000);
}

TEST_F(RecordedCommands, GdkPixbufDesktopsGetAPngCopyOfOtherFormatsWithTheirOwnMode)
{
    for (const char *format : {"bmp", "ppm"}) {
        const std::string path = picture(std::string("p.") + format, format);
        ASSERT_TRUE(applyDeskWallpaper(Desktop::Lxde, path, {PlacementKind::Center, 0, 0}));
        const Args args = recorded();
        ASSERT_EQ(args.size(), 5u) << format;
        EXPECT_EQ(args[0], "pcmanfm");
        EXPECT_EQ(args[4], "center");
        EXPECT_EQ(args[2].rfind(m_base + "/cache/murelin/wallpaper-", 0), 0u) << args[2];
        QImageReader reader(QString::fromStdString(args[2]));
        EXPECT_EQ(reader.format(), "png");
        EXPECT_EQ(reader.read(), testpics::marked());
    }
    // Qt's desktops read bitmaps themselves; PNG and JPEG go to every desktop as they are
    const std::string bmp = picture("q.bmp", "bmp");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Lxqt, bmp, {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(recorded()[2], bmp);
    const std::string jpeg = picture("r.jpg", "jpeg");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Lxde, jpeg, {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(recorded(), (Args {"pcmanfm", "--set-wallpaper", jpeg, "--wallpaper-mode", "tile"}));
}

TEST_F(RecordedCommands, EveryCopyTakesANewNameAndOnlyTheOneBeforeStays)
{
    const QImage image = testpics::marked();
    const std::string dir = m_base + "/numbered";
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    // left by an earlier run: a gap in the numbers, a name of an older version, a stranger
    for (const char *name : {"wallpaper-7.png", "wallpaper-a.png", "wallpaper-x7.png"})
        std::ofstream(dir + "/" + name) << "old";
    std::vector<std::string> names;
    for (const std::string tag : {"", "HDMI-1", "", "HDMI-1", "", "a/b c"})
        names.push_back(writeComposedPicture(image, dir, tag).value_or("failed"));
    EXPECT_EQ(names,
        (Args {dir + "/wallpaper-8.png", dir + "/wallpaper-HDMI-1-1.png", dir + "/wallpaper-9.png",
            dir + "/wallpaper-HDMI-1-2.png", dir + "/wallpaper-10.png",
            dir + "/wallpaper-a_b_c-1.png"}));
    EXPECT_EQ(QImage(QString::fromStdString(names[4])), image);
    std::vector<std::string> left;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left,
        (Args {"wallpaper-10.png", "wallpaper-9.png", "wallpaper-HDMI-1-1.png",
            "wallpaper-HDMI-1-2.png", "wallpaper-a_b_c-1.png", "wallpaper-x7.png"}));
}

TEST_F(RecordedCommands, PngsKeepEveryPixelAndAFullDiskIsAFailure)
{
    QImage clear(7, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x)
            clear.setPixel(x, y, qRgba(x * 30, y * 50, 200, (x + y) * 20));
    }
    for (const QImage &image : {testpics::marked(), clear}) {
        const std::string path = m_base + "/round.png";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_TRUE(writePng(fd, image));
        ::close(fd);
        QImageReader reader(QString::fromStdString(path));
        EXPECT_EQ(reader.format(), "png");
        const QImage back = reader.read();
        EXPECT_EQ(back.hasAlphaChannel(), image.hasAlphaChannel());
        EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32),
            image.convertToFormat(QImage::Format_ARGB32));
    }
    const int full = ::open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    EXPECT_FALSE(writePng(full, testpics::marked()));
    ::close(full);
}

TEST(SwaybgCommand, EachOutputItsPicture)
{
    EXPECT_EQ(swaybgCommand({{"", "/a b.png"}}, NativeMode::Center),
        (Args {"swaybg", "-o", "*", "-i", "/a b.png", "-m", "center"}));
    EXPECT_EQ(swaybgCommand({{"DP-1", "/1.png"}, {"HDMI-A-1", "/2.png"}}, NativeMode::Stretch),
        (Args {"swaybg", "-o", "DP-1", "-i", "/1.png", "-m", "stretch", "-o", "HDMI-A-1", "-i",
            "/2.png", "-m", "stretch"}));
    EXPECT_EQ(
        swaybgRecordPath("/run/user/7", "wayland-1"), "/run/user/7/murelin-swaybg-wayland-1.pid");
    EXPECT_EQ(swaybgRecordPath("/r", "../x/y"), "/r/murelin-swaybg-.._x_y.pid");
    EXPECT_EQ(swaybgRecordPath("/r", nullptr), "/r/murelin-swaybg-wayland-0.pid");
    EXPECT_EQ(swaybgRecordPath(nullptr, "wayland-1"), "");
}

/** True while process `pid` has not ended (a zombie of ours counts as ended). */
bool alive(pid_t pid)
{
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid)
        return false;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    return std::getline(stat, line) && line.find(") Z") == std::string::npos;
}

pid_t recordedSwaybg(const std::string &record)
{
    std::ifstream in(record);
    long pid = 0;
    in >> pid;
    return static_cast<pid_t>(pid);
}

TEST_F(RecordedCommands, TheSwaybgWeStartedIsEndedFirstAndNoOther)
{
    setenv("XDG_RUNTIME_DIR", m_base.c_str(), 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    const std::string record = m_base + "/murelin-swaybg-wayland-test.pid";
    // someone else's swaybg, started before us
    const pid_t foreign = fork();
    if (foreign == 0) {
        char logTo[] = "MURELIN_FAKE_LOG=/dev/null";
        char *const environment[] = {logTo, nullptr};
        execle((std::string(MURELIN_FAKE_TOOLS) + "/swaybg").c_str(), "swaybg", "-o", "*",
            static_cast<char *>(nullptr), environment);
        _exit(127);
    }
    const std::string path = picture("first.png");
    ASSERT_TRUE(applyDeskWallpaper(Desktop::LayerShell, path, {PlacementKind::Tile, 0, 0}));
    EXPECT_EQ(recorded(), (Args {"swaybg", "-o", "*", "-i", path, "-m", "tile"}));
    const pid_t first = recordedSwaybg(record);
    ASSERT_GT(first, 0);
    EXPECT_TRUE(alive(first));

    ASSERT_TRUE(applyDeskWallpaper(Desktop::LayerShell, path, {PlacementKind::Origin, 5, 5}));
    const Args composed = recorded();
    ASSERT_EQ(composed.size(), 7u);
    EXPECT_EQ(composed[6], "stretch");
    const pid_t second = recordedSwaybg(record);
    EXPECT_NE(second, first);
    EXPECT_FALSE(alive(first)) << "the previous swaybg was left running";
    EXPECT_TRUE(alive(second));
    EXPECT_TRUE(alive(foreign)) << "another program's swaybg was ended";

    // a record naming a process that is no swaybg of ours is not acted on
    std::ofstream(record) << foreign << " 1\n";
    ASSERT_TRUE(applyDeskWallpaper(Desktop::LayerShell, "", {PlacementKind::Tile, 0, 0}));
    EXPECT_TRUE(alive(foreign));
    EXPECT_TRUE(alive(second)); // recorded no more: no longer ours to end
    for (const pid_t pid : {foreign, second}) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    unsetenv("WAYLAND_DISPLAY");
}

TEST_F(RecordedCommands, ASwaybgThatEndsAtOnceIsAFailure)
{
    setenv("XDG_RUNTIME_DIR", m_base.c_str(), 1);
    setenv("MURELIN_FAKE_STATUS", "1", 1);
    EXPECT_FALSE(
        applyDeskWallpaper(Desktop::LayerShell, picture("x.png"), {PlacementKind::Tile, 0, 0}));
    unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(RecordedCommands, SwayRemovesThePictureWithABlackBackground)
{
    ASSERT_TRUE(applyDeskWallpaper(Desktop::Sway, "", {PlacementKind::Center, 0, 0}));
    EXPECT_EQ(recorded(), (Args {"swaymsg", "output", "*", "bg", "#000000", "solid_color"}));
}

TEST_F(RecordedCommands, LxqtGetsHostileNamesAsOneArgument)
{
    for (const std::string &name : {std::string("it's \"q\".bmp"), std::string("a\\b\\\\.bmp"),
             std::string("a\nb\r.bmp"), std::string("--wallpaper-mode=tile.bmp")}) {
        const std::string path = picture(name);
        ASSERT_TRUE(applyDeskWallpaper(Desktop::Lxqt, path, {PlacementKind::Stretch, 0, 0}));
        EXPECT_EQ(recorded(),
            (Args {"pcmanfm-qt", "--set-wallpaper", path, "--wallpaper-mode", "stretch"}));
    }
}

TEST_F(RecordedCommands, ARefusingDesktopIsAFailure)
{
    const std::string path = picture("refused.bmp");
    setenv("MURELIN_FAKE_STATUS", "1", 1);
    EXPECT_FALSE(applyDeskWallpaper(Desktop::Lxqt, path, {PlacementKind::Tile, 0, 0}));
    EXPECT_FALSE(applyDeskWallpaper(Desktop::Sway, path, {PlacementKind::Tile, 0, 0}));
}

TEST_F(RecordedCommands, NoPictureIsHandedOnAndNothingWaits)
{
    const std::string fifo = m_pictures + "/fifo.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(20); // a FIFO with no writer opened for reading waits for ever: a hang fails the run
    for (const std::string &path :
        {m_pictures + "/missing.bmp", fifo, m_pictures, std::string("/dev/zero")}) {
        EXPECT_TRUE(loadPicture(path, QSize(4, 3)).isNull()) << path;
        EXPECT_TRUE(loadPicture(path).isNull()) << path;
        EXPECT_FALSE(applyDeskWallpaper(Desktop::Lxqt, path, {PlacementKind::Tile, 0, 0})) << path;
    }
    ::alarm(0);
    EXPECT_TRUE(recorded().empty());
}

TEST_F(RecordedCommands, NoDesktopNoCall)
{
    const std::string path = picture("none.bmp");
    EXPECT_FALSE(applyDeskWallpaper(Desktop::None, path, {PlacementKind::Tile, 0, 0}));
    EXPECT_TRUE(recorded().empty());
}

TEST(ComposedPictureDirectory, FollowsTheCacheVariables)
{
    EXPECT_EQ(composedPictureDirectory("/c", "/h"), "/c/murelin");
    EXPECT_EQ(composedPictureDirectory(nullptr, "/h"), "/h/.cache/murelin");
    EXPECT_EQ(composedPictureDirectory("", "/h"), "/h/.cache/murelin");
    EXPECT_EQ(composedPictureDirectory("relative", "/h"), "/h/.cache/murelin");
    EXPECT_EQ(composedPictureDirectory(nullptr, nullptr), "");
}

} // namespace
