#pragma once

// The main window among the system's windows, its look and the help viewer, for the Qt shell
// (Linux). The Windows program's window is native (app/win32/)
// and takes these from platform/win32/ directly.

#include <QSize>

#include <string>

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

/** Opens the help file at `topic` in the system's help viewer; false when that fails. */
bool openHelp(const std::string &helpFile, const std::string &topic);

} // namespace platform
