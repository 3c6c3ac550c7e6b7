#pragma once

// The Win32 shell of the main window (Windows): the system's own controls, made with
// CreateWindowExA from the layout data, each bound to its model in the form core both ways, and
// the answers to the core's requests for dialogs, the notification icon and the window's
// visibility. One window procedure takes every message; the behaviour lives in the core.

#include "app/core/Murelin1.h"
#include "app/core/layout.h"
#include "app/win32/handles.h"
#include "platform/win32/tray_record.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace win32shell {

class MainWindow final : public core::FormShell
{
public:
    MainWindow(HINSTANCE instance, TForm1::Environment environment = {});
    ~MainWindow() override;
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    TForm1 &form() { return m_form; }
    /**
     * The window's keyboard handling for a message of the loop (Tab, the arrow keys, Enter);
     * true when it took the message, which is then neither translated nor dispatched.
     */
    bool translate(MSG &message);
    HWND handle() const { return m_window.get(); }
    /** The window the layout names `name` (for a spin edit, its edit field). */
    HWND control(std::string_view name) const;

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

private:
    /** One control of the layout as built: its window and what painting it needs. */
    struct Native
    {
        const core::layout::ControlLayout *layout = nullptr;
        HWND window = nullptr; // a spin edit's edit field
        HWND buddy = nullptr; // a spin edit's up/down buttons
        BrushHandle background; // a panel's or an edit field's colour
        COLORREF colour = 0; // a panel's
        COLORREF text = 0;
        bool hasTextColour = false;
        HFONT font = nullptr;
        // The form's model behind it, of the control's kind.
        core::CheckBox *checkBox = nullptr;
        core::SpinEdit *spinEdit = nullptr;
        core::ListBox *listBox = nullptr;
        core::Panel *panel = nullptr;
        core::RadioGroup *radioGroup = nullptr;
    };

    // Messages (window_messages.cpp).
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onPanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND from, WORD code);
    LRESULT onColour(HDC dc, HWND from);
    void paintPanel(HWND window);
    void drawPreview(const DRAWITEMSTRUCT &item);
    void pressFocusedButton();
    void reportUnusable(const std::vector<std::string> &names);
    bool restoreFocus();

    // Position (window_position.cpp).
    /** Where the window's outer top left corner stands or will stand again, on the screen. */
    std::pair<int, int> screenPosition() const;
    /** Notes where `window` stands while it is not minimised (each WM_MOVE). */
    void noteNormalPosition(HWND window);
    void bringOnScreen();

    /** How one child window is made: its class, caption and styles, where it stands. */
    struct ChildStyle
    {
        DWORD exStyle = 0;
        const char *windowClass = nullptr;
        std::string_view caption = {};
        DWORD style = 0;
        int left = 0;
        int width = 0;
    };

    // Building: the window, then one maker for each kind of control (window_controls.cpp).
    void build();
    HWND makeChild(const Native &native, HWND parent, int id, const ChildStyle &style);
    void make(Native &native, HWND parent, int id);
    void makePanel(Native &native, HWND parent, int id);
    void makeListBox(Native &native, HWND parent, int id);
    void makePicture(Native &native, HWND parent, int id);
    void makeCheckBox(Native &native, HWND parent, int id);
    void makeSpinEdit(Native &native, HWND parent, int id);
    void makeRadioItems(Native &group, HWND parent);
    void addHint(const Native &native);
    void bindList(core::ListBox &model, HWND list);
    void bindTimer(core::Timer &model, UINT_PTR id);
    void applyFonts();

    // The notification icon: tried again when adding it failed, added anew when the taskbar
    // is made anew (form_shell_win32.cpp).
    bool tryTrayIcon();
    void retryTrayIcon();
    void trayIconLost();
    Native *find(HWND window);
    const Native &native(std::string_view name) const;

    HINSTANCE m_instance;
    TForm1 m_form;
    WindowHandle m_window;
    std::vector<Native> m_controls; // in the layout's order
    std::vector<HWND> m_radioItems; // the radio group's items, in their order
    Native *m_radioGroup = nullptr;
    WindowHandle m_tips;
    FontHandle m_font;
    FontHandle m_boldFont;
    IconHandle m_icon;
    IconHandle m_smallIcon;
    BitmapHandle m_preview;
    platform::win32::TrayIconRecord m_tray {};
    bool m_trayAdded = false;
    bool m_trayWanted = false; // asked for and not removed since
    bool m_trayUnreachable = false; // the tries ran out
    int m_trayTries = 0;
    UINT m_taskbarCreated = 0; // the registered message "TaskbarCreated"
    bool m_programChange = false;
    HWND m_lastFocus = nullptr; // the focus when another window was activated
    std::pair<int, int> m_normalPosition {}; // the outer top left while not minimised
    bool m_hasNormalPosition = false;
};

} // namespace win32shell
