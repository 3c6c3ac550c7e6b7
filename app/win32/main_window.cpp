#include "app/win32/main_window.h"

#include "app/win32/resource_ids.h"
#include "app/win32/window_common.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace win32shell {

namespace layout = core::layout;

MainWindow::MainWindow(HINSTANCE instance, TForm1::Environment environment)
    : m_instance(instance)
    , m_form(*this, std::move(environment))
{
    build();
}

MainWindow::~MainWindow()
{
    removeTrayIcon();
    // The children go with the window; the fonts and brushes they use are freed after it.
    m_window.reset();
}

HWND MainWindow::control(std::string_view name) const
{
    return native(name).window;
}

const MainWindow::Native &MainWindow::native(std::string_view name) const
{
    const auto found = std::find_if(m_controls.begin(), m_controls.end(),
        [name](const Native &n) { return n.layout->name == name; });
    if (found == m_controls.end())
        throw std::logic_error("no control " + std::string(name));
    return *found;
}

MainWindow::Native *MainWindow::find(HWND window)
{
    for (Native &n : m_controls) {
        if (n.window == window || (n.buddy && n.buddy == window))
            return &n;
    }
    return nullptr;
}

void MainWindow::build()
{
    INITCOMMONCONTROLSEX common {sizeof common, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    // The program's icon from its resources: 32 x 32 for the window, Image1 and the
    // notification area, the system's small size for the caption.
    const auto icon = [this](int size) {
        return IconHandle(static_cast<HICON>(
            LoadImageA(m_instance, MAKEINTRESOURCEA(ProgramIconId), IMAGE_ICON, size, size, 0)));
    };
    m_icon = icon(32);
    m_smallIcon = icon(GetSystemMetrics(SM_CXSMICON));

    WNDCLASSEXA windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::windowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = m_icon.get();
    windowClass.hIconSm = m_smallIcon.get();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClass;
    RegisterClassExA(&windowClass);
    windowClass.hIcon = nullptr;
    windowClass.hIconSm = nullptr;
    windowClass.lpszClassName = PanelClass;
    windowClass.hbrBackground = nullptr;
    RegisterClassExA(&windowClass);

    // A fixed border with a system menu and a minimise box only; the client area as designed.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame {0, 0, layout::ClientWidth, layout::ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    m_window.reset(CreateWindowExA(0, WindowClass, std::string(layout::Caption).c_str(), style,
        m_form.Form1.placedLeft(), m_form.Form1.placedTop(), frame.right - frame.left,
        frame.bottom - frame.top, nullptr, nullptr, m_instance, this));
    if (!m_window)
        throw std::runtime_error("the main window cannot be created");
    SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.get()));

    m_font.reset(makeFont(layout::FontName, -layout::FontPixels, false));
    m_boldFont.reset(makeFont(layout::FontName, -layout::FontPixels, true));
    m_tips.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, handle(), nullptr, m_instance, nullptr));

    const auto all = layout::controls();
    m_controls.resize(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        Native &n = m_controls[i];
        n.layout = &all[i];
        const HWND parent = n.layout->parent.empty() ? handle() : native(n.layout->parent).window;
        make(n, parent, FirstControlId + static_cast<int>(i));
    }

    m_form.Form1.viewChanged = [this] {
        SetWindowPos(handle(), nullptr, m_form.Form1.placedLeft(), m_form.Form1.placedTop(), 0, 0,
            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        applyFonts();
    };
    // Where the window stands, the user's moves included; a minimised window is asked where it
    // will stand again.
    m_form.Form1.whereShown = [this] { return screenPosition(); };
    m_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    bindTimer(m_form.Timer1, Timer1Id);
    bindTimer(m_form.Timer2, Timer2Id);
}

} // namespace win32shell
