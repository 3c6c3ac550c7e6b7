// What the form asks of the system: its boxes and file dialog, the notification icon, the
// window's visibility, the display's metrics, the preview's bitmap and the help viewer.
#include "app/win32/main_window.h"
#include "app/win32/window_common.h"

#include "platform/paths.h"
#include "platform/win32/win_help.h"

#include <cderr.h>
#include <commdlg.h>

#include <utility>

namespace win32shell {

namespace {

namespace layout = core::layout;

/** The names a multi-select file dialog gives back: one path, or a folder and names. */
std::vector<std::string> chosenFiles(const std::vector<char> &buffer)
{
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != '\0';) {
        const std::string part(&buffer[at]);
        parts.push_back(part);
        at += part.size() + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::string folder = parts.front();
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> files;
    for (std::size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

BOOL CALLBACK cancelDialog(HWND window, LPARAM)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    // Message boxes and the file dialog are of the system's dialog class; a box with an OK
    // button only takes the cancel command as OK.
    if (std::string_view(name) == "#32770" && IsWindowEnabled(window))
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

} // namespace

core::MsgAnswer MainWindow::messageBox(const core::MessageRequest &request)
{
    // The system's boxes of the same buttons, in the same order; MB_DEFBUTTON2 is the second.
    UINT type = request.buttons == core::MsgButtons::Ok ? MB_OK : MB_YESNOCANCEL;
    type |= static_cast<UINT>(request.defaultButton()) * static_cast<UINT>(MB_DEFBUTTON2);
    switch (request.icon) {
    case core::MsgIcon::Information:
        type |= MB_ICONINFORMATION;
        break;
    case core::MsgIcon::Warning:
        type |= MB_ICONWARNING;
        break;
    case core::MsgIcon::Error:
        type |= MB_ICONERROR;
        break;
    case core::MsgIcon::Question:
        type |= MB_ICONQUESTION;
        break;
    case core::MsgIcon::None:
        break;
    }
    // A box raised while the window is hidden (by a timer's Next, or the automatic exit)
    // stands on its own, in front and with a taskbar button of its own, so that it is seen and
    // answered: owned by the hidden window it could wait unseen behind other windows.
    const bool hidden = !IsWindowVisible(handle());
    const HWND owner = request.overWindow && !hidden ? handle() : nullptr;
    if (hidden)
        type |= MB_SETFOREGROUND | MB_TOPMOST;
    switch (
        MessageBoxA(owner, request.text.c_str(), request.caption.c_str(), type | MB_TASKMODAL)) {
    case IDYES:
        return core::MsgAnswer::Yes;
    case IDNO:
        return core::MsgAnswer::No;
    case IDOK:
        return core::MsgAnswer::Ok;
    default:
        return core::closedAnswer(request.buttons);
    }
}

std::vector<std::string> MainWindow::openDialog(const core::OpenDialogRequest &request)
{
    // The dialog's list of types: label and pattern, each ended by a zero, and a zero at the end.
    std::string filter;
    for (const core::FileFilter &type : request.filters) {
        filter += type.label + '\0';
        filter += type.pattern + '\0';
    }
    filter += '\0';
    const std::string &extension = request.defaultExtension;
    std::vector<char> names(65536, '\0');
    for (;;) {
        OPENFILENAMEA dialog {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = handle();
        dialog.lpstrFilter = filter.c_str();
        dialog.lpstrFile = names.data();
        dialog.nMaxFile = static_cast<DWORD>(names.size());
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING
            | (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
        if (GetOpenFileNameA(&dialog)) {
            // No Windows file name holds "?": in a name the dialog gives, it stands for a
            // character outside the ANSI code page, and the name names no file.
            std::vector<std::string> usable;
            std::vector<std::string> unusable;
            for (std::string &name : chosenFiles(names))
                (name.find('?') == std::string::npos ? usable : unusable)
                    .push_back(std::move(name));
            reportUnusable(unusable);
            return usable;
        }
        // Too many names for the buffer: the first two bytes say how many it takes.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || names.size() >= (1u << 24))
            return {};
        names.assign(names.size() * 4, '\0');
    }
}

void MainWindow::closeModals()
{
    EnumThreadWindows(GetCurrentThreadId(), &cancelDialog, 0);
}

bool MainWindow::addTrayIcon()
{
    if (m_trayWanted)
        return m_trayAdded;
    m_trayWanted = true;
    m_tray = platform::win32::makeTrayIconRecord(handle(), m_icon.get(), layout::TrayTip);
    m_trayTries = 0;
    return tryTrayIcon();
}

void MainWindow::removeTrayIcon()
{
    m_trayWanted = false;
    KillTimer(handle(), TrayRetryId);
    // The shell finds the icon by the record's window and identifier.
    if (std::exchange(m_trayAdded, false))
        platform::win32::deleteTrayIcon(m_tray);
}

bool MainWindow::tryTrayIcon()
{
    m_trayAdded = platform::win32::addTrayIcon(m_tray);
    if (m_trayAdded) {
        KillTimer(handle(), TrayRetryId);
        if (std::exchange(m_trayUnreachable, false))
            m_form.trayIconAvailable(true);
        return true;
    }
    // At log-on the taskbar may not be ready yet: a few more tries over some seconds.
    if (m_trayTries < TrayTries) {
        SetTimer(handle(), TrayRetryId, TrayRetryMs, nullptr);
    } else {
        KillTimer(handle(), TrayRetryId);
        m_trayUnreachable = true;
        m_form.trayIconAvailable(false);
    }
    return false;
}

void MainWindow::retryTrayIcon()
{
    if (!m_trayWanted || m_trayAdded) {
        KillTimer(handle(), TrayRetryId);
        return;
    }
    ++m_trayTries;
    tryTrayIcon();
}

void MainWindow::trayIconLost()
{
    if (!m_trayWanted)
        return;
    // Gone with the old taskbar; a delete first, in case only the message came.
    platform::win32::deleteTrayIcon(m_tray);
    m_trayAdded = false;
    m_trayTries = 0;
    tryTrayIcon();
}

bool MainWindow::notificationAreaAvailable()
{
    return platform::win32::notificationAreaPresent();
}

void MainWindow::acceptDroppedFiles()
{
    DragAcceptFiles(handle(), TRUE);
}

void MainWindow::showWindow()
{
    const bool wasHidden = !IsWindowVisible(handle());
    if (IsIconic(handle()))
        ShowWindow(handle(), SW_RESTORE);
    bringOnScreen();
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    if (wasHidden)
        m_form.windowShown();
}

void MainWindow::hideWindow()
{
    // The window owns its taskbar button: hidden, the button goes too.
    ShowWindow(handle(), SW_HIDE);
}

core::Size MainWindow::maximizedWindowSize()
{
    return {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
}

core::Size MainWindow::outerWindowSize()
{
    RECT r {};
    GetWindowRect(handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

int MainWindow::pixelsPerInch()
{
    HDC dc = GetDC(handle());
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(handle(), dc);
    return ppi;
}

core::Size MainWindow::loadBitmap(const std::string &path)
{
    BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageA(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap)
        throw std::runtime_error("Bitmap image is not valid");
    BITMAP info {};
    GetObjectA(bitmap.get(), sizeof info, &info);
    m_preview = std::move(bitmap);
    InvalidateRect(control("JPEGImage1"), nullptr, TRUE);
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

bool MainWindow::openHelp(const std::string &file, const std::string &topic)
{
    return platform::win32::openHelpOrPage(
               handle(), file, topic, platform::executableDirectory() + HelpPage)
        != platform::win32::HelpShown::Nothing;
}

} // namespace win32shell
