// The window's handlers for rotation, the change timer, the wallpaper, the notification icon
// and the window's visibility. The arithmetic and the desktop values live in wallpaper/; the
// handlers here only put the steps in order.
#include "Murelin1.h"

#include "platform/paths.h"
#include "platform/shell.h"
#include "wallpaper/desktop_values.h"
#include "wallpaper/rotation.h"

#include <QApplication>
#include <QShowEvent>
#include <QWindowStateChangeEvent>

#include <stdexcept>

namespace {

constexpr std::uint32_t WM_LBUTTONDOWN_ = 0x0201;
constexpr std::uint32_t WM_RBUTTONDOWN_ = 0x0204;

/** The topic the help file opens at. */
constexpr const char *HelpTopic = "Contents";

} // namespace

// ---------------------------------------------------------------- the wallpaper

void TForm1::SetFirst()
{
    PictureIndex = wallpaper::firstSelectedIndex(selectedRows(), itemCount());
    if (itemCount() > 0)
        SelectPictureIndex();
}

void TForm1::ApplyPlacement(const std::string &path)
{
    wallpaper::ApplyPlacement(path, {StretchOn, CenterOn, TiledOn, LocationOn, OriginX, OriginY});
}

void TForm1::B7Click()
{
    SetFirst();
    if (itemCount() == 0)
        return;
    ReadOptions();
    // The list's current item: SetFirst has just made it the row of PictureIndex.
    ApplyPlacement(m_list->entry(PictureIndex).path);
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
        setRowSelected(PictureIndex, false);
        PictureIndex = forward ? wallpaper::nextIndex(PictureIndex, n)
                               : wallpaper::prevIndex(PictureIndex, n);
        setRowSelected(PictureIndex, true);
        setCurrentRow(PictureIndex);
        ReadOptions();
        ApplyPlacement(m_list->entry(PictureIndex).path);
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
    // A tick that comes while one of our dialogs waits for the user is dropped: with a
    // picture that cannot be shown, every tick would otherwise stack another message box on
    // the one still open. The timer goes on running, so the next tick after the answer moves.
    if (QApplication::activeModalWidget())
        return;
    B1Click();
}

void TForm1::setTimer2Interval()
{
    const std::int32_t interval = wallpaper::timerIntervalMs(SpinEdit3->value());
    // The toolkit's timer restarts a running count on every change of its interval, even to
    // the same value; the same value must leave the count alone.
    if (interval != Timer2->interval())
        Timer2->setInterval(interval);
}

void TForm1::TimedDisplayClick()
{
    setTimer2Interval();
    if (!TimedDisplay->isChecked()) {
        Timer2->stop();
        return;
    }
    if (Timer2->isActive())
        return; // already counting: enabling it again changes nothing
    Timer2->start();
    if (!Timer2->isActive())
        throw std::runtime_error("Not enough timers available");
}

void TForm1::SpinEdit3Change()
{
    setTimer2Interval();
}

// ---------------------------------------------------------------- the window's visibility

void TForm1::FormShow()
{
    Timer1->stop();
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        run([this] { FormShow(); });
}

void TForm1::AppOnMinimize()
{
    // Without a notification area nothing would bring a hidden window back: it stays
    // minimised with its taskbar entry.
    if (m_noNotificationArea)
        return;
    platform::hideApplicationWindow(this); // the window and its taskbar entry together
}

void TForm1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Only the step into the minimised state counts, not a change while already minimised.
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    if (!(change->oldState() & Qt::WindowMinimized))
        run([this] { AppOnMinimize(); });
}

void TForm1::TrayIconMessage(std::uint32_t lParam)
{
    if (lParam == WM_RBUTTONDOWN_) {
        // Shown at its position, taskbar entry back, out of the minimised state; FormShow runs
        // when the window was hidden.
        platform::showApplicationWindow(this);
        DisplayMe();
    }
    if (lParam == WM_LBUTTONDOWN_ && IconClickOn)
        B1Click();
}

void TForm1::showWithoutNotificationArea()
{
    const bool available = m_env.notificationAreaAvailable
        ? m_env.notificationAreaAvailable()
        : platform::TrayIcon::notificationAreaAvailable();
    m_noNotificationArea = !available;
    if (!m_noNotificationArea)
        return;
    if (LoadStartOn && AutoQuitOn)
        return; // the log-in use: a picture laid, then gone in ten seconds, never seen
    platform::showApplicationWindow(this);
}

// ---------------------------------------------------------------- help

void TForm1::B4Click()
{
    const std::string file = platform::dataFilePath(platform::helpFileName());
    if (m_env.openHelp)
        m_env.openHelp(file, HelpTopic);
    else
        platform::openHelp(file, HelpTopic);
}
