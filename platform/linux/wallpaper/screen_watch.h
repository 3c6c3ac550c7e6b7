#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QScreen;

namespace platform::desk {

/**
 * Tells, once a burst of changes has settled, that the screens may have changed: a monitor
 * added or removed, a resolution, position, rotation or scale changed. It listens to the Qt
 * application's screens (every platform Qt runs on), and on an X display also to the root
 * window's RandR and size events on a connection of its own (monitors set with RandR alone
 * reach no Qt screen). Events 250 ms apart count as one burst; a burst never holds the call
 * back for more than about 700 ms. Lives on the Qt application's thread.
 */
class ScreenWatch : public QObject
{
public:
    ScreenWatch(std::function<void()> changed, QObject *parent);
    ~ScreenWatch() override;
    ScreenWatch(const ScreenWatch &) = delete;
    ScreenWatch &operator=(const ScreenWatch &) = delete;

private:
    void poke();
    void watch(QScreen *screen);
    void watchX11();
    void drainX11();

    std::function<void()> m_changed;
    QTimer m_settle;
    QElapsedTimer m_burst;
    struct X11;
    std::unique_ptr<X11> m_x11;
};

} // namespace platform::desk
