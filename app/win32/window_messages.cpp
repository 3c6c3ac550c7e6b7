// The window's messages: each control's notification goes to its model, the rest to the form.
#include "app/win32/main_window.h"
#include "app/win32/window_common.h"

#include "platform/win32/dropped_files.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace win32shell {

namespace layout = core::layout;

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(
            window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto *self = reinterpret_cast<MainWindow *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    // No error may leave through the system's frames: what a handler did not catch is shown.
    LRESULT result = 0;
    self->m_form.showingErrors([&] {
        result = self->m_window && window != self->handle()
            ? self->onPanelMessage(window, message, wParam, lParam)
            : self->onMessage(window, message, wParam, lParam);
    });
    return result;
}

LRESULT MainWindow::onPanelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paintPanel(window);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    // What the controls on a panel report goes to the window's own handling.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_VKEYTOITEM:
    case WM_DRAWITEM:
        return onMessage(handle(), message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT MainWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TForm1 &f = m_form;
    if (message == m_taskbarCreated && message != 0) {
        // The taskbar was made anew (Explorer restarted): every notification icon is gone.
        trayIconLost();
        return 0;
    }
    switch (message) {
    case WM_COMMAND:
        if (lParam)
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        else if (LOWORD(wParam) == IDOK)
            pressFocusedButton(); // Enter, as the keyboard's dialog handling reports it
        return 0;
    case WM_ACTIVATE:
        // The focus goes with the window when another one is activated, and comes back with it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            m_lastFocus = GetFocus();
        } else if (restoreFocus()) {
            return 0;
        }
        break;
    case WM_NOTIFY: {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (header->code != UDN_DELTAPOS)
            break;
        Native *n = find(header->hwndFrom);
        if (!n || n->layout->kind != layout::Kind::SpinEdit)
            break;
        const int delta = reinterpret_cast<const NMUPDOWN *>(lParam)->iDelta;
        n->spinEdit->stepBy(delta);
        return 1; // the buttons' own position stays
    }
    case WM_VKEYTOITEM: {
        // A list's keys, numbered as the program takes them: its handler first, then the
        // list's own handling.
        const Native *list = find(reinterpret_cast<HWND>(lParam));
        if (list && list->listBox)
            list->listBox->keyDown(static_cast<core::Key>(LOWORD(wParam)));
        return -1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return onColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        drawPreview(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == Timer1Id)
            f.Timer1.tick();
        else if (wParam == Timer2Id)
            f.Timer2.tick();
        else if (wParam == TrayRetryId)
            retryTrayIcon();
        return 0;
    case platform::win32::TrayCallbackMessage: {
        // lParam is the mouse message over the icon, numbered as the core takes it.
        const auto mouse = static_cast<std::uint32_t>(lParam);
        f.trayIconMouse(mouse);
        return 0;
    }
    case WM_DROPFILES: {
        std::vector<std::string> unusable;
        const std::vector<std::string> names
            = platform::win32::takeDroppedFiles(reinterpret_cast<HDROP>(wParam), &unusable);
        f.filesDropped(names);
        reportUnusable(unusable);
        return 0;
    }
    case WM_MOVE:
        noteNormalPosition(window);
        break;
    case WM_SIZE:
        // Only the step into the minimised state: the window and its taskbar button go.
        if (wParam == SIZE_MINIMIZED)
            f.windowMinimized();
        return 0;
    case WM_CLOSE:
        f.WMEndSession();
        return 0;
    case WM_QUERYENDSESSION:
        // A checkpoint: the log-off may still be called off, so a waiting box stays.
        f.SaveSession();
        return TRUE;
    case WM_ENDSESSION:
        // The session ends for real only with the flag set. The system may end the process as
        // soon as this is answered, even while a box's own loop waits below this handler: the
        // box is closed and everything saved before returning.
        if (wParam)
            f.endSessionNow();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void MainWindow::onCommand(HWND from, WORD code)
{
    TForm1 &f = m_form;
    const auto radio = std::find(m_radioItems.begin(), m_radioItems.end(), from);
    if (radio != m_radioItems.end()) {
        // Only the user's own choice: the focus set by the program chooses nothing.
        if (code == BN_CLICKED && !m_programChange) {
            core::RadioGroup &group = *m_radioGroup->radioGroup;
            group.setItemIndex(static_cast<int>(radio - m_radioItems.begin()));
            group.viewChanged(); // a click on the chosen item keeps it checked
        }
        return;
    }
    Native *n = find(from);
    if (!n)
        return;
    const layout::ControlLayout &c = *n->layout;
    switch (c.kind) {
    case layout::Kind::Button:
        if (code == BN_CLICKED)
            f.buttonClick(c.name);
        break;
    case layout::Kind::CheckBox: {
        if (code != BN_CLICKED)
            break;
        n->checkBox->setChecked(SendMessageA(from, BM_GETCHECK, 0, 0) == BST_CHECKED);
        break;
    }
    case layout::Kind::SpinEdit: {
        if (code == EN_CHANGE && !m_programChange)
            n->spinEdit->setText(windowText(from));
        else if (code == EN_KILLFOCUS)
            n->spinEdit->leave();
        break;
    }
    case layout::Kind::ListBox: {
        if (code != LBN_SELCHANGE || m_programChange)
            break;
        core::ListBox &model = *n->listBox;
        const auto count = SendMessageA(from, LB_GETSELCOUNT, 0, 0);
        std::vector<int> rows(static_cast<std::size_t>(count > 0 ? count : 0));
        if (count > 0)
            SendMessageA(from, LB_GETSELITEMS, static_cast<WPARAM>(count),
                reinterpret_cast<LPARAM>(rows.data()));
        const auto caret = SendMessageA(from, LB_GETCARETINDEX, 0, 0);
        model.userSelected(rows, model.count() > 0 ? static_cast<int>(caret) : -1);
        break;
    }
    default:
        break;
    }
}

LRESULT MainWindow::onColour(HDC dc, HWND from)
{
    Native *n = find(from);
    const auto radio = std::find(m_radioItems.begin(), m_radioItems.end(), from);
    if (radio != m_radioItems.end())
        n = m_radioGroup;
    if (!n)
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    if (n->hasTextColour)
        SetTextColor(dc, n->text);
    // An edit field has its own colour; the rest shows its panel's through.
    if (n->layout->kind == layout::Kind::SpinEdit && n->background) {
        SetBkColor(dc, colourOf(n->layout->background));
        return reinterpret_cast<LRESULT>(n->background.get());
    }
    const Native &panel = native(n->layout->parent);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(panel.background.get());
}

void MainWindow::paintPanel(HWND window)
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(window, &paint);
    const Native *n = find(window);
    RECT r {};
    GetClientRect(window, &r);
    if (n) {
        FillRect(dc, &r, n->background.get());
        const layout::ControlLayout &c = *n->layout;
        if (c.bevel == layout::Bevel::Raised) {
            // A raised inner bevel two pixels wide.
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        } else if (c.bevel == layout::Bevel::Lowered) {
            DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        }
        const core::Panel *model = n->panel;
        if (model && !model->caption().empty()) {
            const HGDIOBJ old = SelectObject(dc, n->font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, n->text);
            DrawTextA(dc, model->caption().c_str(), static_cast<int>(model->caption().size()), &r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            SelectObject(dc, old);
        }
    }
    EndPaint(window, &paint);
}

void MainWindow::drawPreview(const DRAWITEMSTRUCT &item)
{
    const Native &panel = native(find(item.hwndItem)->layout->parent);
    FillRect(item.hDC, &item.rcItem, panel.background.get());
    if (!m_preview)
        return;
    // The picture is stretched over the control, whose bounds keep the picture's proportions.
    BITMAP info {};
    GetObjectA(m_preview.get(), sizeof info, &info);
    HDC source = CreateCompatibleDC(item.hDC);
    const HGDIOBJ old = SelectObject(source, m_preview.get());
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
        item.rcItem.bottom - item.rcItem.top, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// ---------------------------------------------------------------- the keyboard

bool MainWindow::translate(MSG &message)
{
    if (message.message == WM_KEYDOWN && (message.wParam == VK_UP || message.wParam == VK_DOWN)) {
        // The arrow keys in a number field step its value, as its buttons do.
        Native *n = find(message.hwnd);
        if (n && n->spinEdit && message.hwnd == n->window) {
            n->spinEdit->stepBy(message.wParam == VK_UP ? 1 : -1);
            return true;
        }
    }
    // Tab and Shift+Tab, the arrow keys among the placement's items, Enter on a button.
    return IsDialogMessageA(handle(), &message) != FALSE;
}

void MainWindow::pressFocusedButton()
{
    const HWND focus = GetFocus();
    const Native *n = find(focus);
    if (n && n->layout->kind == layout::Kind::Button)
        SendMessageA(focus, BM_CLICK, 0, 0);
}

bool MainWindow::restoreFocus()
{
    HWND focus = std::exchange(m_lastFocus, nullptr);
    if (!focus || !IsChild(handle(), focus) || !IsWindowVisible(focus))
        return false;
    // An item of the placement takes the focus only when chosen: a focused item is a choice.
    const auto radio = std::find(m_radioItems.begin(), m_radioItems.end(), focus);
    if (radio != m_radioItems.end() && SendMessageA(focus, BM_GETCHECK, 0, 0) != BST_CHECKED)
        return false;
    const bool was = std::exchange(m_programChange, true);
    SetFocus(focus);
    m_programChange = was;
    return true;
}

void MainWindow::reportUnusable(const std::vector<std::string> &names)
{
    // The program works in the system's ANSI code page: a name outside it reaches the program
    // with "?" in place of those characters and would name no file.
    if (names.empty())
        return;
    std::string text = "These files were not added: their names hold characters outside the "
                       "system's code page, which this program cannot use.";
    for (const std::string &name : names)
        text += "\n" + name;
    m_form.showMessage(text);
}

} // namespace win32shell
