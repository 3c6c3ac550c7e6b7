// Where the window stands, in screen coordinates whatever its state, and back on a monitor
// when it would be shown off every one.
#include "app/win32/main_window.h"

#include <algorithm>

namespace win32shell {

namespace {

/** The monitor nearest to `r`: its whole area and its work area. */
MONITORINFO monitorNearest(const RECT &r)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) {
        info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        info.rcWork = info.rcMonitor;
    }
    return info;
}

} // namespace

void MainWindow::noteNormalPosition(HWND window)
{
    // Minimised, the window stands far off the screen (or nowhere); only the places where it
    // stands as itself are kept.
    if (IsIconic(window))
        return;
    RECT r {};
    GetWindowRect(window, &r);
    m_normalPosition = {r.left, r.top};
    m_hasNormalPosition = true;
}

std::pair<int, int> MainWindow::screenPosition() const
{
    // A minimised window will stand again where it stood before: the place noted then, in
    // screen coordinates. (The system's own answer, GetWindowPlacement's normal position, is
    // in workspace coordinates, which move by the taskbar's size when the taskbar is at the
    // top or the left.)
    if (IsIconic(handle()) && m_hasNormalPosition)
        return m_normalPosition;
    RECT r {};
    GetWindowRect(handle(), &r);
    return {r.left, r.top};
}

void MainWindow::bringOnScreen()
{
    RECT r {};
    GetWindowRect(handle(), &r);
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        return; // at least partly on a monitor: where the user put it
    // Off every monitor (one unplugged, or a stored position from another display): into the
    // work area of the nearest one, as much of the window as fits.
    const RECT work = monitorNearest(r).rcWork;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int left = std::max(work.left, std::min(r.left, work.right - width));
    const int top = std::max(work.top, std::min(r.top, work.bottom - height));
    SetWindowPos(handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace win32shell
