#pragma once

// The main window's behaviour: its controls as models, the little state the program has, and
// every handler. It draws nothing; a shell (Qt on Linux, Win32 on Windows) shows the controls
// and reports the user's actions, and the handlers work on the models and the subsystems.

#include "app/core/controls.h"
#include "app/core/form_shell.h"
#include "app/core/layout.h"
#include "picturelist/list_file.h"
#include "picturelist/picture_entry.h"

#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace settings {
enum class Setting;
}

/**
 * Handlers raise errors freely: each one is run through the event dispatch (run), which ends the
 * handler and shows the error's message in a box.
 */
class TForm1
{
public:
    /** What the window needs besides its shell; an empty function takes the system's answer. */
    struct Environment
    {
        std::function<std::string()> listFilePath; // where MurelinAll.txt lives
        std::function<std::uint32_t()> timeOfDayMs; // UTC time of day in milliseconds
        std::function<void()> endProcess; // ends the program with exit code 0
        // The system's wallpaper call, set by each program's main (platform::setDeskWallpaper);
        // empty: no desktop to set, the desktop values are written and nothing is called.
        std::function<bool(const std::string &path)> setDeskWallpaper;
        std::string helpFile; // the application's help file; empty: the one shipped with it
    };

    TForm1(core::FormShell &shell, Environment environment = {});
    TForm1(const TForm1 &) = delete;
    TForm1 &operator=(const TForm1 &) = delete;

    // --- start-up and shutdown
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void FontMe();
    void TimeToGoHome(bool SkipList);
    void AppOnMinimize();
    /**
     * A request from outside to end the program: the user logging off, the system shutting
     * down, a termination signal, the window's close box. A box that waits for the user is
     * closed first; a request during start-up ends the program without saving what was never
     * read.
     */
    void WMEndSession();
    /**
     * The end of the session where the system may end the process as soon as its message has
     * been answered (Windows): a waiting box or dialog is closed as unanswered and the list and
     * the settings are saved before this returns, through the same saving path as WMEndSession.
     */
    void endSessionNow();
    /** The session saves its state without ending (a checkpoint, or a log-off still asking). */
    void SaveSession();
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
    void B10Click();
    void ListBox1KeyDown(core::Key key);
    void WMDropFiles(const std::vector<std::string> &names);

    // --- help
    void B4Click();

    // What the shell reports besides the controls' own events; each runs its handler through
    // the event dispatch.
    /** The user clicked the button the layout names `name` (BitBtn1 ... BitBtn10). */
    void buttonClick(std::string_view name);
    /** The window was shown (FormShow). */
    void windowShown();
    /** The window went into the minimised state (AppOnMinimize). */
    void windowMinimized();
    /** A mouse message over the notification icon (TrayIconMessage). */
    void trayIconMouse(std::uint32_t message);
    /**
     * Whether the notification icon could be put in the notification area after the shell's
     * tries: without it, the hidden window is shown, so that the program can still be reached.
     */
    void trayIconAvailable(bool available);
    /** Files were dropped on the window (WMDropFiles). */
    void filesDropped(const std::vector<std::string> &names);

    /**
     * The model behind the control the layout names `name` when it is a `Model` (core::ListBox,
     * CheckBox, SpinEdit, RadioGroup, Panel or Picture), nullptr otherwise: the labels, the
     * buttons, the icon and the plain panels have none. A name the layout lacks raises an error.
     */
    template <typename Model> Model *model(std::string_view name);
    /** The same model as the control every model is; nullptr for a control without one. */
    core::Control *controlModel(std::string_view name);

    /**
     * Runs one event handler the way the window's event dispatch does: an error raised inside it
     * and not caught there ends the handler, and its message is shown with the application's
     * title and an OK button. Returns false when the handler ended with an error.
     */
    bool run(const std::function<void()> &handler);
    /**
     * Runs `step` and shows the message of an error it raises, the way run does, but without
     * run's end of the program: for a window system's own callbacks.
     */
    bool showingErrors(const std::function<void()> &step);

    /**
     * Runs after every handler run through run (at any depth, also inside a box's wait), so that
     * what follows the window's state from outside (see core::Remote) sees each change.
     */
    std::function<void()> afterEvent;

    /** Shows `text` with the application's title and an OK button. */
    void showMessage(const std::string &text);
    /** True while a box or dialog of the program waits for the user. */
    bool modalOpen() const { return m_modalDepth > 0; }

    // The controls, named as the window layout names them, with the ranges and bounds it gives.
    core::Window Form1 {core::layout::DesignLeft, core::layout::DesignTop};
    core::ListBox ListBox1; // the pictures' paths
    core::ListBox ListBox2; // a scratch list, empty between commands
    core::ListBox ListBox3; // the pictures' settings strings, row for row with ListBox1
    core::CheckBox TimedDisplay;
    core::SpinEdit SpinEdit3 = spinEditOf("SpinEdit3");
    core::RadioGroup RadioGroup1 {static_cast<int>(std::size(core::layout::PlacementItems))};
    core::SpinEdit SpinEdit1 = spinEditOf("SpinEdit1");
    core::SpinEdit SpinEdit2 = spinEditOf("SpinEdit2");
    core::CheckBox PreviewOn;
    core::Picture JPEGImage1 = pictureOf("JPEGImage1");
    core::CheckBox AutoQuit;
    core::CheckBox LoadStart;
    core::CheckBox IconClick;
    core::CheckBox RandomPick;
    core::Panel Panel5;
    core::Panel Panel6;
    core::Timer Timer1 {10000};
    core::Timer Timer2 {1000};

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

    // --- what the handlers share
    int itemCount() const { return ListBox1.count(); }
    /** The entry at `row`: its path and its settings string. */
    picturelist::PictureEntry entry(int row) const;
    picturelist::PictureEntries entries() const;
    /** Replaces every entry; nothing is selected afterwards. */
    void setEntries(picturelist::PictureEntries entries);
    void updateCount();
    std::string newEntrySettings() const;

    /** What became of the list file at start. */
    using ListState = picturelist::ListFileState;
    ListState listState() const { return m_listState; }
    bool trayIconAdded() const { return m_trayIconAdded; }
    bool starting() const { return m_starting; }

private:
    /** A spin edit with the range the layout gives the control `name`. */
    static core::SpinEdit spinEditOf(std::string_view name);
    /** A picture at the bounds the layout gives the control `name`. */
    static core::Picture pictureOf(std::string_view name);
    void wireEvents();
    /** Wires a control's event to a handler run through the event dispatch. */
    std::function<void()> handler(void (TForm1::*method)());
    /** Runs `handler` unless an end request came while a box of the start-up waited. */
    void startupStep(const std::function<void()> &step);
    /** Reads one stored setting into its control, a start-up step of its own. */
    void readSetting(settings::Setting setting);
    /** Writes the list (unless SkipList, or it was never read) and the 13 settings. */
    void saveState(bool SkipList);
    core::MsgAnswer ask(const core::MessageRequest &request);
    void exitSequence();
    void endWithoutSaving();
    void appendEntries(const picturelist::PictureEntries &entries);
    /** Appends the user's new pictures (added or dropped) and makes the current one current. */
    void addPictures(const picturelist::PictureEntries &added);
    /** Names the files the list file could not hold, so they were left out. */
    void reportRefused(const std::vector<std::string> &refused);
    void moveThroughList(bool forward);
    void moveCurrentPicture(bool up);
    void setTimer2Interval();
    void showWithoutNotificationArea();

    /** Marks a box or dialog of the program waiting for the user while it lives. */
    struct Modal
    {
        explicit Modal(TForm1 &form)
            : m_form(form)
        {
            ++m_form.m_modalDepth;
        }
        ~Modal() { --m_form.m_modalDepth; }
        Modal(const Modal &) = delete;
        Modal &operator=(const Modal &) = delete;
        TForm1 &m_form;
    };

    core::FormShell &m_shell;
    Environment m_env;
    ListState m_listState = ListState::NoFile;
    bool m_trayIconAdded = false;
    bool m_starting = false;
    bool m_started = false;
    bool m_endRequested = false;
    bool m_exiting = false;
    bool m_destroyed = false;
    bool m_ended = false;
    bool m_noNotificationArea = false;
    int m_runDepth = 0;
    int m_modalDepth = 0;
};

// The models there are; a shell asking for another type fails to link.
extern template core::ListBox *TForm1::model(std::string_view);
extern template core::CheckBox *TForm1::model(std::string_view);
extern template core::SpinEdit *TForm1::model(std::string_view);
extern template core::RadioGroup *TForm1::model(std::string_view);
extern template core::Panel *TForm1::model(std::string_view);
extern template core::Picture *TForm1::model(std::string_view);
