#include "platform/linux/wallpaper/screen_watch.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>

// Xlib's macros (None, Bool, Status ...) clash with Qt: Qt comes first, Xlib last.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdlib>

namespace platform::desk {

namespace {

constexpr int settleMs = 250;
constexpr int longestBurstMs = 450; // then the call comes at most settleMs later

} // namespace

struct ScreenWatch::X11
{
    Display *display = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;

    ~X11()
    {
        notifier.reset();
        if (display)
            XCloseDisplay(display);
    }
};

ScreenWatch::ScreenWatch(std::function<void()> changed, QObject *parent)
    : QObject(parent)
    , m_changed(std::move(changed))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        m_burst.invalidate();
        m_changed();
    });
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
            watch(screen);
            poke();
        });
        connect(app, &QGuiApplication::screenRemoved, this, [this] { poke(); });
        connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { poke(); });
        for (QScreen *screen : QGuiApplication::screens())
            watch(screen);
    }
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    if (!wayland || !*wayland)
        watchX11();
}

ScreenWatch::~ScreenWatch() = default;

void ScreenWatch::poke()
{
    if (!m_burst.isValid())
        m_burst.start();
    // a long burst is not held back further: the timer runs out as it is
    if (!m_settle.isActive() || m_burst.elapsed() < longestBurstMs)
        m_settle.start();
}

void ScreenWatch::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, [this] { poke(); });
    connect(screen, &QScreen::physicalDotsPerInchChanged, this, [this] { poke(); });
    connect(screen, &QScreen::logicalDotsPerInchChanged, this, [this] { poke(); });
    connect(screen, &QScreen::orientationChanged, this, [this] { poke(); });
}

void ScreenWatch::watchX11()
{
    const char *name = std::getenv("DISPLAY");
    if (!name || !*name)
        return;
    auto x11 = std::make_unique<X11>();
    x11->display = XOpenDisplay(name);
    int eventBase = 0;
    int errorBase = 0;
    if (!x11->display || !XRRQueryExtension(x11->display, &eventBase, &errorBase))
        return;
    const Window root = XDefaultRootWindow(x11->display);
    XRRSelectInput(x11->display, root,
        RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    // A monitor set or removed with RandR alone comes as a configure event of the root.
    XSelectInput(x11->display, root, StructureNotifyMask);
    XFlush(x11->display);
    x11->notifier
        = std::make_unique<QSocketNotifier>(ConnectionNumber(x11->display), QSocketNotifier::Read);
    connect(x11->notifier.get(), &QSocketNotifier::activated, this, [this] { drainX11(); });
    m_x11 = std::move(x11);
    drainX11(); // anything already queued
}

void ScreenWatch::drainX11()
{
    Display *display = m_x11->display;
    bool any = false;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XRRUpdateConfiguration(&event);
        any = true;
    }
    if (any)
        poke();
}

} // namespace platform::desk
