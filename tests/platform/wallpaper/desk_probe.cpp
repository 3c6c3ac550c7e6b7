// The screen checks' helper, run inside a real desktop session:
//   desk_probe picture FILE W H               saves a W x H quadrant picture (format from the
//                                             file's extension)
//   desk_probe apply PLACEMENT FILE           sets FILE as the wallpaper of the desktop that
//                                             is running, as the program does
//   desk_probe check SHOT PLACEMENT W H OUTSIDE MONITOR...
//                                             compares a screenshot with where PLACEMENT puts
//                                             a W x H quadrant picture on each MONITOR
//                                             (X,Y,WIDTH,HEIGHT); OUTSIDE "black" wants the rest
//                                             of each monitor black, "plain" one colour of the
//                                             desktop's choosing
// PLACEMENT is stretch, center, tile or origin:X:Y.
#include "platform/linux/wallpaper/desk_apply.h"
#include "platform/linux/wallpaper/desktop_detect.h"
#include "tests/platform/wallpaper/quadrants.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

using namespace platform::desk;

namespace {

std::optional<DeskPlacement> placementFrom(const std::string &text)
{
    if (text == "stretch")
        return DeskPlacement {PlacementKind::Stretch, 0, 0};
    if (text == "center")
        return DeskPlacement {PlacementKind::Center, 0, 0};
    if (text == "tile")
        return DeskPlacement {PlacementKind::Tile, 0, 0};
    int x = 0;
    int y = 0;
    if (std::sscanf(text.c_str(), "origin:%d:%d", &x, &y) == 2)
        return DeskPlacement {PlacementKind::Origin, x, y};
    return std::nullopt;
}

int check(int argc, char **argv)
{
    const QImage shot
        = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    const auto placement = placementFrom(argv[3]);
    const int w = std::atoi(argv[4]);
    const int h = std::atoi(argv[5]);
    const bool outsideBlack = std::string(argv[6]) == "black";
    if (shot.isNull() || !placement || w <= 0 || h <= 0) {
        std::fprintf(stderr, "desk_probe: cannot read %s or the placement\n", argv[2]);
        return 2;
    }
    long compared = 0;
    long wrong = 0;
    for (int i = 7; i < argc; ++i) {
        int mx = 0;
        int my = 0;
        int mw = 0;
        int mh = 0;
        if (std::sscanf(argv[i], "%d,%d,%d,%d", &mx, &my, &mw, &mh) != 4
            || !QRect(0, 0, shot.width(), shot.height()).contains(QRect(mx, my, mw, mh))) {
            std::fprintf(stderr, "desk_probe: monitor %s is not on the %dx%d screenshot\n", argv[i],
                shot.width(), shot.height());
            return 2;
        }
        long monitorWrong = 0;
        QString first;
        std::optional<QRgb> background; // "plain": the first pixel outside the picture
        for (int y = 0; y < mh; ++y) {
            for (int x = 0; x < mw; ++x) {
                // a desktop's own scaler blends a pixel or two along edges: 2 pixels of slack
                auto expected = quadrants::expectedPixel(*placement, w, h, false, x, y, mw, mh, 2);
                if (!expected)
                    continue;
                if (*expected == quadrants::black && !outsideBlack) {
                    if (!background)
                        background = shot.pixel(mx + x, my + y);
                    expected = background;
                }
                ++compared;
                const QRgb seen = shot.pixel(mx + x, my + y);
                if (quadrants::channelDistance(seen, *expected) > 24) {
                    if (monitorWrong++ == 0)
                        first = QStringLiteral("%1,%2 is %3 not %4")
                                    .arg(x)
                                    .arg(y)
                                    .arg(seen & 0xffffff, 6, 16, QLatin1Char('0'))
                                    .arg(*expected & 0xffffff, 6, 16, QLatin1Char('0'));
                }
            }
        }
        std::printf("monitor %s: %ld wrong%s%s\n", argv[i], monitorWrong,
            monitorWrong ? ", first at " : "", first.toLocal8Bit().constData());
        wrong += monitorWrong;
    }
    std::printf("%ld of %ld pixels wrong\n", wrong, compared);
    // a few stray pixels where a desktop rounds differently; a misplaced picture is thousands
    return compared > 1000 && wrong * 200 <= compared ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "picture" && argc == 5) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        return quadrants::quadrantPicture(std::atoi(argv[3]), std::atoi(argv[4])).save(file) ? 0
                                                                                             : 1;
    }
    if (command == "apply" && argc == 4) {
        QGuiApplication app(argc, argv); // the outputs are the Qt screens on Wayland
        const auto placement = placementFrom(argv[2]);
        const Desktop desktop = detectDesktop(processDesktopEnvironment());
        const bool ok = placement && applyDeskWallpaper(desktop, argv[3], *placement);
        std::printf("%s: %s\n", std::string(desktopName(desktop)).c_str(), ok ? "set" : "failed");
        return ok ? 0 : 1;
    }
    if (command == "check" && argc >= 8)
        return check(argc, argv);
    std::fprintf(stderr, "usage: see the head of desk_probe.cpp\n");
    return 2;
}
