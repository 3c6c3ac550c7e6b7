// The toolkit-bound part of the Windows layer: the notification icon, dropped files, the
// maximised-window metrics, the taskbar window and help. The Win32 work itself is done by the
// toolkit-free pieces beside this file (tray_record, dropped_files, win_help), which the cross
// build compiles and tests; what is here only ties them to the toolkit's windows.
#include "platform/shell.h"

#include "win32/dropped_files.h"
#include "win32/tray_record.h"
#include "win32/win_help.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <functional>
#include <memory>
#include <utility>

namespace platform {
namespace {

/** The native handle of a window that has one already; null otherwise (never creates one). */
HWND existingHandle(const QWidget *window)
{
    if (!window || !window->testAttribute(Qt::WA_WState_Created))
        return nullptr;
    return reinterpret_cast<HWND>(window->internalWinId());
}

/**
 * Sees every message the toolkit's window procedures receive, before the toolkit handles it,
 * and offers it to `handler`; a message the handler takes goes no further. Only the window
 * procedure's pass is looked at ("windows_generic_MSG"), so a posted message is seen once
 * although the event dispatcher also offers it.
 */
class WindowMessageFilter final : public QAbstractNativeEventFilter
{
public:
    using Handler = std::function<bool(const MSG &message)>;

    explicit WindowMessageFilter(Handler handler)
        : m_handler(std::move(handler))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    // The base class's destructor takes the filter out of the application.

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != "windows_generic_MSG" || !message)
            return false;
        if (!m_handler(*static_cast<const MSG *>(message)))
            return false;
        if (result)
            *result = 0;
        return true;
    }

private:
    Handler m_handler;
};

} // namespace

QSize maximizedWindowSize()
{
    // The system gives device pixels; the toolkit's geometry is in its own, scaled ones.
    const int width = GetSystemMetrics(SM_CXMAXIMIZED);
    const int height = GetSystemMetrics(SM_CYMAXIMIZED);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    if (ratio <= 0.0 || ratio == 1.0)
        return QSize(width, height);
    return QSize(static_cast<int>(std::lround(width / ratio)),
        static_cast<int>(std::lround(height / ratio)));
}

const char *helpFileName()
{
    return "Murelin.hlp";
}

bool openHelp(const std::string &helpFile, const std::string &topic)
{
    HWND owner = existingHandle(QApplication::activeWindow());
    if (!owner) {
        const auto windows = QApplication::topLevelWidgets();
        for (const QWidget *window : windows) {
            if ((owner = existingHandle(window)))
                break;
        }
    }
    return win32::openWinHelp(owner, helpFile, topic);
}

struct TrayIcon::Impl
{
    win32::TrayIconRecord record {};
    HICON icon = nullptr;
    std::unique_ptr<WindowMessageFilter> filter;
};

TrayIcon::TrayIcon(QWidget *window)
    : m_impl(new Impl)
    , m_window(window)
{
}

TrayIcon::~TrayIcon()
{
    remove();
    delete m_impl;
}

bool TrayIcon::notificationAreaAvailable()
{
    return FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
}

bool TrayIcon::add(const QImage &image, const std::string &tip)
{
    if (m_shown)
        return true;
    // The callback messages go to the window's own handle, made now if the hidden window has
    // none yet.
    const HWND window = reinterpret_cast<HWND>(m_window->winId());
    m_impl->icon = image.isNull() ? nullptr : image.toHICON();
    m_impl->record = win32::makeTrayIconRecord(window, m_impl->icon, tip);
    m_impl->filter = std::make_unique<WindowMessageFilter>([this, window](const MSG &message) {
        if (message.hwnd != window || message.message != win32::TrayCallbackMessage)
            return false;
        switch (win32::trayButtonFor(message, window)) {
        case win32::TrayButton::Right:
            Q_EMIT rightButtonDown();
            break;
        case win32::TrayButton::Left:
            Q_EMIT leftButtonDown();
            break;
        case win32::TrayButton::None:
            break;
        }
        return true;
    });
    m_shown = win32::addTrayIcon(m_impl->record);
    if (!m_shown) {
        m_impl->filter.reset();
        if (m_impl->icon)
            DestroyIcon(m_impl->icon);
        m_impl->icon = nullptr;
    }
    return m_shown;
}

void TrayIcon::remove()
{
    if (!m_shown)
        return;
    // The shell finds the icon by the record's window and identifier.
    win32::deleteTrayIcon(m_impl->record);
    m_impl->filter.reset();
    if (m_impl->icon)
        DestroyIcon(m_impl->icon);
    m_impl->icon = nullptr;
    m_shown = false;
}

namespace {

/** Takes the WM_DROPFILES messages of one window and reports their names through `target`. */
class DropMessageFilter final : public QObject
{
public:
    DropMessageFilter(FileDropTarget *target, HWND window)
        : QObject(target)
        , m_filter([target, window](const MSG &message) {
            if (message.hwnd != window || message.message != WM_DROPFILES)
                return false;
            const std::vector<std::string> names
                = win32::takeDroppedFiles(reinterpret_cast<HDROP>(message.wParam));
            Q_EMIT target->filesDropped(names);
            return true;
        })
    {
    }

private:
    WindowMessageFilter m_filter;
};

} // namespace

// The shell sends WM_DROPFILES to a window that accepts files and has no OLE drop target of
// its own; the toolkit registers one only for windows that accept its own drops, which the
// main window does not.
FileDropTarget::FileDropTarget(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    const HWND handle = reinterpret_cast<HWND>(window->winId());
    new DropMessageFilter(this, handle);
    DragAcceptFiles(handle, TRUE);
}

FileDropTarget::~FileDropTarget() = default;

bool FileDropTarget::eventFilter(QObject *watched, QEvent *event)
{
    // Drops arrive as window messages (above), not as toolkit events.
    return QObject::eventFilter(watched, event);
}

} // namespace platform
