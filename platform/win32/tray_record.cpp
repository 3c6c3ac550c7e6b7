#include "platform/win32/tray_record.h"

#include <cstring>

namespace platform::win32 {

TrayIconRecord makeTrayIconRecord(HWND window, HICON icon, std::string_view tip)
{
    TrayIconRecord record;
    std::memset(&record, 0, sizeof record);
    record.cbSize = sizeof record;
    record.hWnd = window;
    record.uID = TrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = TrayCallbackMessage;
    record.hIcon = icon;
    const std::size_t length
        = tip.size() < sizeof record.szTip ? tip.size() : sizeof record.szTip - 1;
    std::memcpy(record.szTip, tip.data(), length);
    return record;
}

// The shell reads as much of the record as cbSize says, so the first form may stand in for
// the longer structure the header declares.
bool addTrayIcon(TrayIconRecord &record)
{
    return Shell_NotifyIconA(NIM_ADD, reinterpret_cast<NOTIFYICONDATAA *>(&record)) != FALSE;
}

bool deleteTrayIcon(TrayIconRecord &record)
{
    return Shell_NotifyIconA(NIM_DELETE, reinterpret_cast<NOTIFYICONDATAA *>(&record)) != FALSE;
}

bool notificationAreaPresent()
{
    return FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

TrayButton trayButtonFor(LPARAM lParam)
{
    if (lParam == WM_RBUTTONDOWN)
        return TrayButton::Right;
    if (lParam == WM_LBUTTONDOWN)
        return TrayButton::Left;
    return TrayButton::None;
}

TrayButton trayButtonFor(const MSG &message, HWND window)
{
    if (message.hwnd != window || message.message != TrayCallbackMessage)
        return TrayButton::None;
    return trayButtonFor(message.lParam);
}

} // namespace platform::win32
