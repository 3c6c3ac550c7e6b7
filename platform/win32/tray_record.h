#pragma once

#include "platform/win32/windows_headers.h"

#include <cstddef>
#include <string_view>

namespace platform::win32 {

/** The window message the notification icon sends its window (WM_USER + 100). */
inline constexpr UINT TrayCallbackMessage = WM_USER + 100;

/** The icon's identifier among the window's icons. */
inline constexpr UINT TrayIconId = 1;

/**
 * The notification icon's record in its first form: NOTIFYICONDATAA up to the end of its
 * 64-byte tip, 88 bytes on 32-bit Windows. Every version of the shell takes this form; it is
 * told apart from the later ones by cbSize alone.
 */
struct TrayIconRecord
{
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    CHAR szTip[64];
};

static_assert(offsetof(TrayIconRecord, hWnd) == offsetof(NOTIFYICONDATAA, hWnd));
static_assert(offsetof(TrayIconRecord, uID) == offsetof(NOTIFYICONDATAA, uID));
static_assert(offsetof(TrayIconRecord, uFlags) == offsetof(NOTIFYICONDATAA, uFlags));
static_assert(
    offsetof(TrayIconRecord, uCallbackMessage) == offsetof(NOTIFYICONDATAA, uCallbackMessage));
static_assert(offsetof(TrayIconRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(TrayIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(sizeof(TrayIconRecord) == NOTIFYICONDATAA_V1_SIZE);
static_assert(sizeof(void *) != 4 || sizeof(TrayIconRecord) == 88);

/**
 * Fills the record for the icon of `window`: identifier 1, the callback message, `icon` and
 * `tip` (flags NIF_MESSAGE | NIF_ICON | NIF_TIP). The tip is cut to 63 bytes; the rest of
 * the field is zero bytes.
 */
TrayIconRecord makeTrayIconRecord(HWND window, HICON icon, std::string_view tip);

/** Shell_NotifyIconA with NIM_ADD or NIM_DELETE and the record; what the shell reports. */
bool addTrayIcon(TrayIconRecord &record);
bool deleteTrayIcon(TrayIconRecord &record);

/** True when the desktop has a notification area (the taskbar's window) to hold the icon. */
bool notificationAreaPresent();

/** What a callback message of the icon reports. */
enum class TrayButton { None, Right, Left };

/**
 * The button pressed, from the callback message's lParam (the mouse message that happened
 * over the icon): a right or a left button going down. Releases, double clicks, moves and the
 * middle button give None.
 */
TrayButton trayButtonFor(LPARAM lParam);

/**
 * The button a message reports when it is the icon's callback message sent to `window`;
 * None for every other message, including the callback message of another window.
 */
TrayButton trayButtonFor(const MSG &message, HWND window);

} // namespace platform::win32
