// The main window among the desktop's windows through the toolkit: its maximised size, its
// taskbar entry and the help viewer.
#include "platform/qt/window.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QWidget>

namespace platform {

QSize maximizedWindowSize()
{
    // A maximised window on X11 and Wayland covers the available area exactly; its frame,
    // when the window manager draws one, lies inside that area.
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize(1024, 768);
}

bool openHelp(const std::string &helpFile, const std::string &topic)
{
    QUrl url = QUrl::fromLocalFile(
        QString::fromLocal8Bit(helpFile.data(), static_cast<qsizetype>(helpFile.size())));
    url.setFragment(QString::fromLocal8Bit(topic.data(), static_cast<qsizetype>(topic.size())));
    return QDesktopServices::openUrl(url);
}

// A toolkit window owns its taskbar entry itself, so there is no separate application window:
// hiding or showing the application's taskbar window is hiding or showing the main window.
void hideApplicationWindow(QWidget *mainWindow)
{
    if (mainWindow)
        mainWindow->hide();
}

void showApplicationWindow(QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    mainWindow->setWindowState(mainWindow->windowState() & ~Qt::WindowMinimized);
    mainWindow->show();
    mainWindow->raise();
    mainWindow->activateWindow();
}

} // namespace platform
