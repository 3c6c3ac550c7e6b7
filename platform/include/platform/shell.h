#pragma once

// What the Qt shell (Linux) needs of the system beside its toolkit. The Windows program's window
// is native (app/win32/) and takes these from platform/win32/ directly.

#include <QObject>
#include <QSize>

#include <string>
#include <vector>

class QImage;
class QWidget;

namespace platform {

/**
 * The outer size of a maximised window on the primary screen (what SM_CXMAXIMIZED and
 * SM_CYMAXIMIZED give on Windows): the screen's available area grown by the frame a maximised
 * window has.
 */
QSize maximizedWindowSize();

/**
 * Hides or shows the application's own taskbar window. On Linux the main window owns its
 * taskbar entry, so this hides or shows the main window itself.
 */
void hideApplicationWindow(QWidget *mainWindow);
void showApplicationWindow(QWidget *mainWindow);

/**
 * Sets the toolkit up for the window's look, once, after the application object is made and
 * before the window is built: on Linux the layout's face names map to an installed face of
 * the same widths, and check boxes and radio buttons get the classic sizes. (The Windows
 * program draws with the system's own controls and faces.)
 */
void prepareWindowLook();

/** The name of the help file shipped beside the program, in the system help viewer's format. */
const char *helpFileName();

/** Opens the help file at `topic` in the system's help viewer; false when that fails. */
bool openHelp(const std::string &helpFile, const std::string &topic);

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

/**
 * Makes `window` a target of files dropped from the file manager, through the toolkit's drag
 * and drop. Each drop reports every name once, in
 * the order the drag source gave them, as bytes.
 */
class FileDropTarget : public QObject
{
    Q_OBJECT
public:
    explicit FileDropTarget(QWidget *window);
    ~FileDropTarget() override;

Q_SIGNALS:
    void filesDropped(const std::vector<std::string> &names);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window = nullptr;
};

} // namespace platform

namespace platform {

/**
 * Reports requests from outside the program to end it: on Linux the signals SIGTERM, SIGINT
 * and SIGHUP, taken from their handlers to the user-interface thread through a pipe (the
 * handler itself only writes one byte).
 */
class EndRequestWatcher : public QObject
{
    Q_OBJECT
public:
    explicit EndRequestWatcher(QObject *parent = nullptr);
    ~EndRequestWatcher() override;

Q_SIGNALS:
    void endRequested();

private:
    struct Impl;
    Impl *m_impl = nullptr;
};

} // namespace platform
