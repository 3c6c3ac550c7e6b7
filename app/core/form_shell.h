#pragma once

// What the window's behaviour asks of the toolkit it runs on: the modal dialogs, the
// notification icon, the window's visibility, the display's metrics, the picture decoder and
// the help viewer. The Qt shell (Linux) and the Win32 shell (Windows) implement it; tests
// answer it themselves.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

/**
 * The mouse messages over the notification icon, as TrayIconMessage receives them in its
 * lParam: numbered as the system numbers its mouse messages (WM_LBUTTONDOWN ...).
 */
enum TrayMouseMessage : std::uint32_t {
    TrayMouseMove = 0x0200,
    TrayLeftButtonDown = 0x0201,
    TrayLeftButtonUp = 0x0202,
    TrayLeftButtonDoubleClick = 0x0203,
    TrayRightButtonDown = 0x0204,
    TrayRightButtonUp = 0x0205,
    TrayRightButtonDoubleClick = 0x0206,
    TrayMiddleButtonDown = 0x0207,
};

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

/** One button of a message box: its text and the answer it gives. */
struct MsgButton
{
    std::string_view text;
    MsgAnswer answer;
};

inline constexpr MsgButton OkButtons[] = {{"OK", MsgAnswer::Ok}};
inline constexpr MsgButton YesNoCancelButtons[]
    = {{"&Yes", MsgAnswer::Yes}, {"&No", MsgAnswer::No}, {"Cancel", MsgAnswer::Cancel}};

/** A box's buttons, in the order they stand from left to right whatever the desktop's habits. */
constexpr std::span<const MsgButton> buttonsOf(MsgButtons buttons)
{
    if (buttons == MsgButtons::Ok)
        return OkButtons;
    return YesNoCancelButtons;
}

/** What a box closed without a button answers: Cancel, or Ok when that is its only button. */
constexpr MsgAnswer closedAnswer(MsgButtons buttons)
{
    return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

/** One message box as the program asks for it. */
struct MessageRequest
{
    std::string text;
    std::string caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
    /** Stands over the main window; otherwise on its own, centred on the screen. */
    bool overWindow = true;

    /** Where the default button stands among buttonsOf(buttons); the first when none is. */
    std::size_t defaultButton() const
    {
        const std::span<const MsgButton> all = buttonsOf(buttons);
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i].answer == defaultAnswer)
                return i;
        }
        return 0;
    }
};

/** One choice of a file dialog's list of file types. */
struct FileFilter
{
    std::string label;
    std::string pattern; // "*.bmp"; several are separated by ";"

    friend bool operator==(const FileFilter &, const FileFilter &) = default;
};

/** A file-open dialog's settings. */
struct OpenDialogRequest
{
    std::string defaultExtension; // without the dot: "bmp"; added to a name typed without one
    std::vector<FileFilter> filters;
    bool multiSelect = false;
};

struct Size
{
    int width = 0;
    int height = 0;

    friend bool operator==(const Size &, const Size &) = default;
};

class FormShell
{
public:
    virtual ~FormShell() = default;

    /**
     * Shows a modal message box with the buttons buttonsOf(request.buttons) and waits for the
     * answer. A box closed without an answer (see closeModals) answers closedAnswer.
     */
    virtual MsgAnswer messageBox(const MessageRequest &request) = 0;
    /** Runs a modal file-open dialog; the chosen names as bytes, none when cancelled. */
    virtual std::vector<std::string> openDialog(const OpenDialogRequest &request) = 0;
    /** Closes every modal box or dialog that waits for the user, as if cancelled. */
    virtual void closeModals() = 0;

    /** Adds the notification icon (Image1's icon, the layout's tip); false on failure. */
    virtual bool addTrayIcon() = 0;
    /** Removes the notification icon; nothing happens when it is not there. */
    virtual void removeTrayIcon() = 0;
    /** True when the desktop has a notification area to put the icon in. */
    virtual bool notificationAreaAvailable() = 0;
    /** Starts taking files dropped from the file manager. */
    virtual void acceptDroppedFiles() = 0;

    /** Shows the window with its taskbar entry, out of the minimised state. */
    virtual void showWindow() = 0;
    /** Hides the window and its taskbar entry. */
    virtual void hideWindow() = 0;

    /** The outer size of a maximised window (SM_CXMAXIMIZED x SM_CYMAXIMIZED). */
    virtual Size maximizedWindowSize() = 0;
    /** The window's outer size, border and caption included, as built. */
    virtual Size outerWindowSize() = 0;
    /** The display's logical resolution. */
    virtual int pixelsPerInch() = 0;

    /**
     * Reads the bitmap file at `path` for the preview and gives its size; raises an error
     * ("Bitmap image is not valid") when it is no bitmap.
     */
    virtual Size loadBitmap(const std::string &path) = 0;
    /** Opens `file` at `topic` in the system's help viewer; false when that fails. */
    virtual bool openHelp(const std::string &file, const std::string &topic) = 0;
};

} // namespace core
