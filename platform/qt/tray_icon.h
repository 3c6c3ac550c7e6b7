#pragma once

// The program's icon in the notification area, for the Qt shell (Linux).

#include <QObject>

#include <string>

class QImage;
class QWidget;

namespace platform {

/**
 * The program's icon in the notification area. The icon reports button presses only;
 * what they do is the window's business.
 */
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    /** `window` receives the icon's callback messages where the system sends them. */
    explicit TrayIcon(QWidget *window);
    ~TrayIcon() override;

    /** True when the desktop has a notification area to put the icon in. */
    static bool notificationAreaAvailable();

    /** Adds the icon to the notification area with `image` and `tip`; false on failure. */
    bool add(const QImage &image, const std::string &tip);
    /** Removes the icon; nothing happens when it is not there. */
    void remove();
    bool isShown() const { return m_shown; }

Q_SIGNALS:
    void rightButtonDown();
    void leftButtonDown();

private:
    struct Impl;
    Impl *m_impl = nullptr;
    QWidget *m_window = nullptr;
    bool m_shown = false;
};

} // namespace platform
