#include "platform/qt/tray_icon.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace platform {

// On Linux the icon is the toolkit's: a StatusNotifierItem where a watcher runs, an XEmbed
// icon in the notification area otherwise. The XEmbed icon reports presses, not releases.
struct TrayIcon::Impl
{
    QSystemTrayIcon icon;
};

TrayIcon::TrayIcon(QWidget *window)
    : m_impl(new Impl)
    , m_window(window)
{
    connect(&m_impl->icon, &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Context)
                Q_EMIT rightButtonDown();
            else if (reason == QSystemTrayIcon::Trigger)
                Q_EMIT leftButtonDown();
            // A double click's second press and the other buttons do nothing.
        });
}

TrayIcon::~TrayIcon()
{
    delete m_impl;
}

bool TrayIcon::notificationAreaAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TrayIcon::add(const QImage &image, const std::string &tip)
{
    m_impl->icon.setIcon(QIcon(QPixmap::fromImage(image)));
    m_impl->icon.setToolTip(QString::fromLocal8Bit(tip.data(), static_cast<qsizetype>(tip.size())));
    m_impl->icon.show();
    m_shown = true;
    return notificationAreaAvailable();
}

void TrayIcon::remove()
{
    m_impl->icon.hide();
    m_shown = false;
}

} // namespace platform
