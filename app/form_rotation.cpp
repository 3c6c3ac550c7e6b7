// The window's handlers for rotation, the change timer, the wallpaper, the notification icon
// and the window's visibility.
#include "Murelin1.h"

#include "platform/shell.h"

#include <QShowEvent>

void TForm1::B1Click()
{
    // Next: filled in with the rotation.
}

void TForm1::B5Click()
{
    // Prev: filled in with the rotation.
}

void TForm1::B7Click()
{
    // Load Current: filled in with the wallpaper application.
}

void TForm1::SetFirst()
{
}

void TForm1::ApplyPlacement(const std::string &)
{
}

void TForm1::ListBox1Click()
{
    DisplayMe();
    ReadOptions();
}

void TForm1::Timer2Timer()
{
    B1Click();
}

void TForm1::TimedDisplayClick()
{
    SpinEdit3Change();
    if (TimedDisplay->isChecked())
        Timer2->start();
    else
        Timer2->stop();
}

void TForm1::SpinEdit3Change()
{
    // A different interval restarts a running count; the same interval changes nothing.
    const int interval = SpinEdit3->value() * 1000;
    if (interval != Timer2->interval())
        Timer2->setInterval(interval);
}

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
    platform::hideApplicationWindow(this);
}

void TForm1::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized))
        run([this] { AppOnMinimize(); });
}

void TForm1::TrayIconMessage(std::uint32_t lParam)
{
    constexpr std::uint32_t WM_RBUTTONDOWN_ = 0x0204;
    constexpr std::uint32_t WM_LBUTTONDOWN_ = 0x0201;
    if (lParam == WM_RBUTTONDOWN_) {
        platform::showApplicationWindow(this);
        DisplayMe();
    }
    if (lParam == WM_LBUTTONDOWN_ && IconClickOn)
        B1Click();
}

void TForm1::B4Click()
{
}
