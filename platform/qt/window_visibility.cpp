// Shared by every backend: a toolkit window owns its taskbar entry itself, so there is no
// separate application window, and hiding or showing the application's taskbar window is
// hiding or showing the main window.
#include "platform/window.h"

#include <QWidget>

namespace platform {

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
