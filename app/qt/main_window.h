#pragma once

// The Qt shell of the main window (Linux): builds the real widgets from the layout data, binds
// each one to its model in the form core both ways, and answers the core's requests for
// dialogs, the notification icon and the window's visibility. Behaviour lives in the core.
//
// The controls are built when the window is first shown (or first asked for one of them): the
// program mostly waits in the notification area, where building, styling and measuring the
// controls would only keep the toolkit's and the fonts' pages resident for nothing. The models
// hold the controls' state until then, and the controls show it once built.

#include "app/core/Murelin1.h"
#include "app/core/layout.h"

#include <QWidget>

#include <memory>
#include <string_view>
#include <vector>

class QDialog;
class QTimer;
class TJPEGImage;

namespace platform {
class TrayIcon;
class FileDropTarget;
} // namespace platform

namespace qtshell {

class ListBoxModel;
class ListView;

class MainWindow : public QWidget, public core::FormShell
{
    Q_OBJECT
public:
    explicit MainWindow(TForm1::Environment environment = {});
    ~MainWindow() override;

    TForm1 &form() { return m_form; }
    /** The widget the layout names `name`, built if need be; the window itself for "Form1". */
    QWidget *widget(std::string_view name) const;
    /** True once the controls exist. */
    bool controlsBuilt() const { return !m_widgets.empty(); }
    void setVisible(bool visible) override;
    platform::TrayIcon *trayIcon() const { return m_tray.get(); }

    /** The icon shown by Image1, in the notification area and as the window's icon. */
    static QImage programIcon();

    // core::FormShell
    core::MsgAnswer messageBox(const core::MessageRequest &request) override;
    std::vector<std::string> openDialog(const core::OpenDialogRequest &request) override;
    void closeModals() override;
    bool addTrayIcon() override;
    void removeTrayIcon() override;
    bool notificationAreaAvailable() override;
    void acceptDroppedFiles() override;
    void showWindow() override;
    void hideWindow() override;
    core::Size maximizedWindowSize() override;
    core::Size outerWindowSize() override;
    int pixelsPerInch() override;
    core::Size loadBitmap(const std::string &path) override;
    bool openHelp(const std::string &file, const std::string &topic) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void buildControls();
    /** The control named `name` if the controls are built; nullptr otherwise. */
    QWidget *built(std::string_view name) const;
    QWidget *make(const core::layout::ControlLayout &c, QWidget *parent);
    void bindList(core::ListBox &model, ListView *view);
    void bindTimer(core::Timer &model, QTimer *timer);
    void applyFonts();
    /** Runs `dialog` modally; an end request closes it (closeModals). */
    int runModal(QDialog &dialog);

    TForm1 m_form;
    std::vector<std::pair<std::string_view, QWidget *>> m_widgets;
    std::unique_ptr<platform::TrayIcon> m_tray;
    platform::FileDropTarget *m_drop = nullptr;
    TJPEGImage *m_preview = nullptr;
    std::vector<QDialog *> m_modals;
    bool m_selecting = false;
};

/**
 * Sets up the application object as the program wants it: no command-line option of the
 * toolkit's is taken, no name is appended to window titles, closing the last window does not
 * end the loop (the window hides into the notification area), and no desktop platform theme
 * is loaded unless the user names one (userChosePlatformTheme).
 */
std::unique_ptr<class QApplication> makeApplication(const char *programPath);

/** True when the user names the toolkit's platform theme (QT_QPA_PLATFORMTHEME is set). */
bool userChosePlatformTheme();

} // namespace qtshell
