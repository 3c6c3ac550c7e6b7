// The window's handlers for rotation, the change timer, the wallpaper, the notification icon
// and the window's visibility. The arithmetic and the desktop values live in wallpaper/; the
// handlers here only put the steps in order.
#include "app/core/Murelin1.h"

#include "app/core/layout.h"
#include "wallpaper/desktop_values.h"
#include "wallpaper/rotation.h"

#include <stdexcept>

// ---------------------------------------------------------------- the wallpaper

void TForm1::SetFirst()
{
    PictureIndex = wallpaper::firstSelectedIndex(ListBox1.selectedRows(), itemCount());
    if (itemCount() > 0)
        SelectPictureIndex();
}

void TForm1::ApplyPlacement(const std::string &path)
{
    wallpaper::ApplyPlacement(
        m_env.setDeskWallpaper, path, {StretchOn, CenterOn, TiledOn, LocationOn, OriginX, OriginY});
}

void TForm1::B7Click()
{
    SetFirst();
    if (itemCount() == 0)
        return;
    ReadOptions();
    // The list's current item: SetFirst has just made it the row of PictureIndex.
    ApplyPlacement(ListBox1.item(PictureIndex));
}

// ---------------------------------------------------------------- rotation

void TForm1::moveThroughList(bool forward)
{
    SetFirst();
    const std::int32_t n = itemCount();
    if (n >= 1) {
        if (RandomPickOn) {
            PictureIndex = wallpaper::randomPick(m_env.timeOfDayMs(), n);
            SelectPictureIndex();
        }
        ListBox1.setSelected(PictureIndex, false);
        PictureIndex = forward ? wallpaper::nextIndex(PictureIndex, n)
                               : wallpaper::prevIndex(PictureIndex, n);
        ListBox1.setSelected(PictureIndex, true);
        ListBox1.setItemIndex(PictureIndex);
        ReadOptions();
        ApplyPlacement(ListBox1.item(PictureIndex));
    }
    DisplayMe();
}

void TForm1::B1Click()
{
    moveThroughList(true);
}

void TForm1::B5Click()
{
    moveThroughList(false);
}

void TForm1::ListBox1Click()
{
    DisplayMe();
    ReadOptions();
}

// ---------------------------------------------------------------- the change timer

void TForm1::Timer2Timer()
{
    // A tick that comes while one of our boxes waits for the user is dropped: with a picture
    // that cannot be shown, every tick would otherwise stack another message box on the one
    // still open. The timer goes on running, so the next tick after the answer moves.
    if (modalOpen())
        return;
    B1Click();
}

void TForm1::setTimer2Interval()
{
    // A timer keeps its count when given the interval it has, and restarts on a new one.
    Timer2.setInterval(wallpaper::timerIntervalMs(SpinEdit3.value()));
}

void TForm1::TimedDisplayClick()
{
    setTimer2Interval();
    Timer2.setEnabled(TimedDisplay.checked());
}

void TForm1::SpinEdit3Change()
{
    setTimer2Interval();
}

// ---------------------------------------------------------------- the window's visibility

void TForm1::FormShow()
{
    Timer1.setEnabled(false);
}

void TForm1::AppOnMinimize()
{
    // Without a notification area nothing would bring a hidden window back: it stays
    // minimised with its taskbar entry.
    if (m_noNotificationArea)
        return;
    m_shell.hideWindow();
}

void TForm1::TrayIconMessage(std::uint32_t lParam)
{
    if (lParam == core::TrayRightButtonDown) {
        // Shown at its position, taskbar entry back, out of the minimised state; the shell
        // runs FormShow when the window was hidden.
        m_shell.showWindow();
        DisplayMe();
    }
    if (lParam == core::TrayLeftButtonDown && IconClickOn)
        B1Click();
}

void TForm1::showWithoutNotificationArea()
{
    m_noNotificationArea = !m_shell.notificationAreaAvailable();
    if (!m_noNotificationArea)
        return;
    if (LoadStartOn && AutoQuitOn)
        return; // the log-in use: a picture laid, then gone in ten seconds, never seen
    m_shell.showWindow();
}

void TForm1::trayIconAvailable(bool available)
{
    run([this, available] {
        m_noNotificationArea = !available;
        // The log-in use ends by itself in a moment; anything else must not stay unreachable.
        if (available || (LoadStartOn && AutoQuitOn && Timer1.enabled()))
            return;
        m_shell.showWindow();
    });
}

// ---------------------------------------------------------------- help

void TForm1::B4Click()
{
    m_shell.openHelp(m_env.helpFile, std::string(core::layout::HelpTopic));
}
