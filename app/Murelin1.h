#pragma once

#include "controls.h"
#include "picture_list_model.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;
class TJPEGImage;

namespace platform {
class TrayIcon;
class FileDropTarget;
} // namespace platform

/**
 * The main window. It owns every control, holds the little state the program has, and wires
 * each control's event to its handler; the handlers call into the subsystems for the work.
 *
 * Handlers raise errors freely: each one is run through the event dispatch, which ends the
 * handler and shows the error's message.
 */
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    /** What the window asks of its surroundings; tests replace them. */
    struct Environment
    {
        std::function<QSize()> maximizedWindowSize; // SM_CXMAXIMIZED x SM_CYMAXIMIZED
        std::function<QSize()> outerWindowSize; // the window with its frame, as built
        std::function<int()> pixelsPerInch; // the display's logical resolution
        std::function<std::string()> listFilePath; // where MurelinAll.txt lives
        std::function<std::uint32_t()> timeOfDayMs; // UTC time of day in milliseconds
        std::function<void()> endProcess; // ends the program with exit code 0

        // Rotation, the notification icon and visibility (form_rotation.cpp); an empty
        // function takes the system's answer.
        std::function<bool()> notificationAreaAvailable; // can the icon be seen at all
        std::function<bool(const std::string &file, const std::string &topic)> openHelp;
    };

    explicit TForm1(QWidget *parent = nullptr);
    TForm1(Environment environment, QWidget *parent = nullptr);
    ~TForm1() override;

    static Environment defaultEnvironment();

    // --- start-up and shutdown
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void FontMe();
    void TimeToGoHome(bool SkipList);
    void AppOnMinimize();
    /** The user logging off, the system shutting down, or a termination signal. */
    void WMEndSession();
    /** The notification icon's callback: lParam is the mouse message over the icon. */
    void TrayIconMessage(std::uint32_t lParam);

    // --- the list and its file
    void ReadListFile();
    void WriteListFile();
    void SelectPictureIndex();

    // --- placement
    void ReadOptions();
    void WriteOptions();
    void RadioGroup1Click();
    void SpinEdit1Change();
    void SpinEdit2Change();

    // --- option check boxes
    void AutoQuitClick();
    void IconClickClick();
    void RandomPickClick();
    void LoadStartClick();

    // --- rotation and wallpaper
    void B1Click();
    void B5Click();
    void B7Click();
    void SetFirst();
    void ApplyPlacement(const std::string &path);
    void ListBox1Click();
    void Timer1Timer();
    void Timer2Timer();
    void TimedDisplayClick();
    void SpinEdit3Change();

    // --- preview
    void PreviewOnClick();
    void DisplayMe();
    void CheckSize();

    // --- list editing
    void B2Click();
    void B3Click();
    void B6Click();
    void B8Click();
    void B9Click();
    void moveCurrentPicture(bool up);
    void B10Click();
    void ListBox1KeyDown(QKeyEvent *event);
    void WMDropFiles(const std::vector<std::string> &names);

    // --- help
    void B4Click();

    // --- helpers the handlers share
    int itemCount() const { return m_list->count(); }
    std::vector<int> selectedRows() const;
    int currentRow() const;
    void setCurrentRow(int row);
    void selectOnly(int row);
    bool isRowSelected(int row) const;
    void setRowSelected(int row, bool selected);
    void clearSelection();
    void updateCount();
    std::string newEntrySettings() const;

    // The controls, named as the window layout names them.
    Panel *Panel1 = nullptr;
    QListView *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    QListView *ListBox3 = nullptr;
    QLabel *Image1 = nullptr;
    Panel *Panel4 = nullptr;
    QCheckBox *TimedDisplay = nullptr;
    QLabel *Label3 = nullptr;
    SpinEdit *SpinEdit3 = nullptr;
    RadioGroup *RadioGroup1 = nullptr;
    QLabel *Label1 = nullptr;
    SpinEdit *SpinEdit1 = nullptr;
    QLabel *Label2 = nullptr;
    SpinEdit *SpinEdit2 = nullptr;
    QCheckBox *PreviewOn = nullptr;
    Panel *Panel2 = nullptr;
    TJPEGImage *JPEGImage1 = nullptr;
    Panel *Panel3 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QPushButton *BitBtn5 = nullptr;
    QPushButton *BitBtn6 = nullptr;
    QPushButton *BitBtn7 = nullptr;
    QPushButton *BitBtn8 = nullptr;
    QPushButton *BitBtn9 = nullptr;
    QPushButton *BitBtn10 = nullptr;
    QCheckBox *AutoQuit = nullptr;
    QCheckBox *LoadStart = nullptr;
    QCheckBox *IconClick = nullptr;
    QCheckBox *RandomPick = nullptr;
    Panel *Panel5 = nullptr;
    Panel *Panel6 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    PictureListModel *pictureList() const { return m_list; }
    platform::TrayIcon *trayIcon() const { return m_tray.get(); }

    // The window's module state.
    std::int32_t PictureIndex = -1;
    bool AutoQuitOn = false;
    bool RandomPickOn = false;
    bool IconClickOn = false;
    bool LoadStartOn = false;
    bool PreviewEnabled = false;
    bool StretchOn = false;
    bool CenterOn = false;
    bool TiledOn = false;
    bool LocationOn = false;
    std::int32_t OriginX = 0;
    std::int32_t OriginY = 0;

    /** The icon shown by Image1, in the notification area and as the window's icon. */
    static QImage programIcon();
    /** The tip of the notification icon. */
    static constexpr const char *TrayTip
        = "Right button for menu, left button to load next picture";

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void exitSequence();
    void wireEvents();
    /** Connects a control's signal to a handler run through the event dispatch. */
    template <typename Sender, typename Signal>
    void on(Sender *sender, Signal signal, void (TForm1::*handler)());
    bool run(const std::function<void()> &step);
    void readOptionCheckBoxes();
    void readNumbers();
    void readWindowPosition();

    Environment m_env;
    PictureListModel *m_list = nullptr;
    std::unique_ptr<platform::TrayIcon> m_tray;
    platform::FileDropTarget *m_drop = nullptr;
    bool m_trayIconDataAllocated = false;
    bool m_exiting = false;
    bool m_destroyed = false;
    bool m_ended = false;
    int m_programSelecting = 0;

protected:
    /**
     * Marks what changes the list's rows or selection while it lives as the program's doing:
     * the list's click handler does not run for it.
     */
    struct ProgramSelection
    {
        explicit ProgramSelection(TForm1 &form)
            : m_form(form)
        {
            ++m_form.m_programSelecting;
        }
        ~ProgramSelection() { --m_form.m_programSelecting; }
        ProgramSelection(const ProgramSelection &) = delete;
        ProgramSelection &operator=(const ProgramSelection &) = delete;
        TForm1 &m_form;
    };

    // Rotation, the change timer and visibility (form_rotation.cpp).
    /** Next (forward) or Prev: one row on or back from the first selected row, then applied. */
    void moveThroughList(bool forward);
    /** Timer2's interval from SpinEdit3; a running count restarts only when it changes. */
    void setTimer2Interval();
    /**
     * The last step of start-up: without a notification area the window could not be reached,
     * so it is shown, unless the program only lays a picture and leaves (Load on Start with
     * Automatic Exit); minimising then keeps its taskbar entry.
     */
    void showWithoutNotificationArea();
    bool m_noNotificationArea = false;
};
