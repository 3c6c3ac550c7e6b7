// What the end-to-end run of the real program asks of its window from another process, as
// Windows itself or another program would: `--child=window ACTION`.
//   tray-delete      removes the program's notification icon (its window, identifier 1)
//   taskbar-created  tells every window that the taskbar was made anew
//   log-off          ends the session as Windows does: the two messages, then the process
//   tips             prints how many hints the window's tooltip control holds
//   focus            prints the control that has the keyboard focus: its id and text
//   foreground       prints the foreground window: class, text, whether owned and topmost
//   work-area        prints the primary monitor's work area: left top right bottom
#include "tests/win32/child_modes.h"

#include "platform/win32/windows_headers.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace win32test;

namespace {

HWND programWindow()
{
    return FindWindowA("TForm1", "Murelin V1.0");
}

std::string textOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string classOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

int trayDelete(HWND window)
{
    NOTIFYICONDATAA icon {};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = 1;
    return Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
}

int logOff(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE handle = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process);
    if (!handle)
        return 1;
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, static_cast<LPARAM>(ENDSESSION_LOGOFF),
        SMTO_NORMAL, 10000, &answer);
    std::printf("query answered %d\n", static_cast<int>(answer));
    SendMessageTimeoutA(window, WM_ENDSESSION, TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF),
        SMTO_NORMAL, 10000, &answer);
    // Once the message is answered the process is ended, whatever it still meant to do.
    TerminateProcess(handle, 1);
    WaitForSingleObject(handle, 10000);
    CloseHandle(handle);
    return 0;
}

BOOL CALLBACK countTips(HWND window, LPARAM found)
{
    auto *result = reinterpret_cast<std::pair<HWND, LRESULT> *>(found);
    if (classOf(window) == TOOLTIPS_CLASSA && GetWindow(window, GW_OWNER) == result->first)
        result->second += SendMessageA(window, TTM_GETTOOLCOUNT, 0, 0);
    return TRUE;
}

const ChildMode windowMode("window", [](const std::vector<std::string> &arguments) {
    const std::string action = arguments.empty() ? std::string() : arguments[0];
    const HWND window = programWindow();
    if (!window) {
        std::printf("no program window\n");
        return 2;
    }
    if (action == "tray-delete")
        return trayDelete(window);
    if (action == "taskbar-created") {
        const UINT message = RegisterWindowMessageA("TaskbarCreated");
        return PostMessageA(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
    }
    if (action == "log-off")
        return logOff(window);
    if (action == "tips") {
        std::pair<HWND, LRESULT> found {window, 0};
        EnumWindows(&countTips, reinterpret_cast<LPARAM>(&found));
        std::printf("%d\n", static_cast<int>(found.second));
        return 0;
    }
    if (action == "focus") {
        GUITHREADINFO info {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
            return 1;
        std::printf("%d %s\n", GetDlgCtrlID(info.hwndFocus), textOf(info.hwndFocus).c_str());
        return 0;
    }
    if (action == "foreground") {
        const HWND front = GetForegroundWindow();
        const bool topmost = (GetWindowLongA(front, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        std::printf("%s|%s|%s|%s\n", classOf(front).c_str(), textOf(front).c_str(),
            GetWindow(front, GW_OWNER) ? "owned" : "unowned", topmost ? "topmost" : "normal");
        return 0;
    }
    if (action == "work-area") {
        RECT work {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        std::printf("%ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
        return 0;
    }
    std::printf("no action %s\n", action.c_str());
    return 2;
});

} // namespace
