// The window's controls, one maker for each kind, each binding its control to the form's model.
#include "app/win32/main_window.h"
#include "app/win32/window_common.h"

#include <commctrl.h>

#include <memory>
#include <utility>

namespace win32shell {

namespace layout = core::layout;

HWND MainWindow::makeChild(const Native &n, HWND parent, int id, const ChildStyle &style)
{
    const layout::ControlLayout &c = *n.layout;
    const DWORD visible = c.visible ? WS_VISIBLE : 0;
    const std::string caption(style.caption);
    // The Tab key stops only where the layout says; every control is a group of its own, so
    // that the arrow keys move only among the placement's items.
    // (A radio group's frame takes no focus: its items are the tab stop.)
    const DWORD tabStop = c.tabStop && c.kind != layout::Kind::RadioGroup ? WS_TABSTOP : 0;
    return CreateWindowExA(style.exStyle, style.windowClass, caption.c_str(),
        WS_CHILD | WS_GROUP | visible | tabStop | style.style, style.left, c.top, style.width,
        c.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), m_instance, this);
}

void MainWindow::make(Native &n, HWND parent, int id)
{
    const layout::ControlLayout &c = *n.layout;
    if (c.text.kind != layout::Colour::Default) {
        n.text = colourOf(c.text);
        n.hasTextColour = true;
    }
    n.font = c.bold ? m_boldFont.get() : m_font.get();
    switch (c.kind) {
    case layout::Kind::Panel:
        makePanel(n, parent, id);
        break;
    case layout::Kind::ListBox:
        makeListBox(n, parent, id);
        break;
    case layout::Kind::Picture:
        makePicture(n, parent, id);
        break;
    case layout::Kind::CheckBox:
        makeCheckBox(n, parent, id);
        break;
    case layout::Kind::SpinEdit:
        makeSpinEdit(n, parent, id);
        break;
    case layout::Kind::RadioGroup:
        n.window = makeChild(n, parent, id,
            {.windowClass = "BUTTON",
                .caption = c.caption,
                .style = BS_GROUPBOX,
                .left = c.left,
                .width = c.width});
        makeRadioItems(n, parent);
        break;
    case layout::Kind::Label:
        n.window = makeChild(n, parent, id,
            {.windowClass = "STATIC",
                .caption = c.caption,
                .style = SS_LEFT | SS_NOPREFIX,
                .left = c.left,
                .width = c.width});
        break;
    case layout::Kind::Button:
        n.window = makeChild(n, parent, id,
            {.windowClass = "BUTTON",
                .caption = c.caption,
                .style = BS_PUSHBUTTON,
                .left = c.left,
                .width = c.width});
        break;
    }
    if (c.kind != layout::Kind::Picture && c.kind != layout::Kind::Panel)
        SendMessageA(n.window, WM_SETFONT, reinterpret_cast<WPARAM>(n.font), FALSE);
    addHint(n);
}

void MainWindow::makePanel(Native &n, HWND parent, int id)
{
    // A panel paints its whole face first; what stands on it paints itself afterwards, so a
    // group box shows the panel through.
    const layout::ControlLayout &c = *n.layout;
    // The keyboard's focus moves on into what stands on it.
    n.window = makeChild(n, parent, id,
        {.exStyle = WS_EX_CONTROLPARENT,
            .windowClass = PanelClass,
            .left = c.left,
            .width = c.width});
    n.colour = c.background.kind != layout::Colour::Default ? colourOf(c.background)
        : c.parent.empty()                                  ? GetSysColor(COLOR_BTNFACE)
                                                            : native(c.parent).colour;
    n.background.reset(CreateSolidBrush(n.colour));
    n.panel = m_form.model<core::Panel>(c.name);
    if (core::Panel *model = n.panel) {
        const HWND panel = n.window;
        model->viewChanged = [panel] { InvalidateRect(panel, nullptr, TRUE); };
    }
}

void MainWindow::makeListBox(Native &n, HWND parent, int id)
{
    const layout::ControlLayout &c = *n.layout;
    n.window = makeChild(n, parent, id,
        {.exStyle = WS_EX_CLIENTEDGE,
            .windowClass = "LISTBOX",
            .style = LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT
                | WS_VSCROLL,
            .left = c.left,
            .width = c.width});
    SendMessageA(n.window, LB_SETITEMHEIGHT, 0, 13);
    n.listBox = m_form.model<core::ListBox>(c.name);
    bindList(*n.listBox, n.window);
}

void MainWindow::makePicture(Native &n, HWND parent, int id)
{
    const layout::ControlLayout &c = *n.layout;
    core::Picture *model = m_form.model<core::Picture>(c.name);
    if (!model) {
        // Image1: the program's icon, hidden.
        n.window = makeChild(n, parent, id,
            {.windowClass = "STATIC", .style = SS_ICON, .left = c.left, .width = c.width});
        SendMessageA(n.window, STM_SETICON, reinterpret_cast<WPARAM>(m_icon.get()), 0);
        return;
    }
    n.window = makeChild(n, parent, id,
        {.windowClass = "STATIC", .style = SS_OWNERDRAW, .left = c.left, .width = c.width});
    const HWND preview = n.window;
    model->viewChanged = [preview, model] {
        MoveWindow(preview, model->left(), model->top(), model->width(), model->height(), TRUE);
        InvalidateRect(preview, nullptr, TRUE);
    };
}

void MainWindow::makeCheckBox(Native &n, HWND parent, int id)
{
    const layout::ControlLayout &c = *n.layout;
    n.window = makeChild(n, parent, id,
        {.windowClass = "BUTTON",
            .caption = c.caption,
            .style = BS_AUTOCHECKBOX,
            .left = c.left,
            .width = c.width});
    n.checkBox = m_form.model<core::CheckBox>(c.name);
    core::CheckBox *model = n.checkBox;
    const HWND box = n.window;
    model->viewChanged = [box, model] {
        SendMessageA(box, BM_SETCHECK, model->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    };
}

void MainWindow::makeSpinEdit(Native &n, HWND parent, int id)
{
    const layout::ControlLayout &c = *n.layout;
    n.spinEdit = m_form.model<core::SpinEdit>(c.name);
    core::SpinEdit &model = *n.spinEdit;
    const std::string value = model.text();
    n.window = makeChild(n, parent, id,
        {.exStyle = WS_EX_CLIENTEDGE,
            .windowClass = "EDIT",
            .caption = value,
            .style = ES_AUTOHSCROLL,
            .left = c.left,
            .width = c.width - SpinButtonsWidth});
    n.buddy = makeChild(n, parent, id,
        {.windowClass = UPDOWN_CLASSA,
            .style = UDS_ARROWKEYS,
            .left = c.left + c.width - SpinButtonsWidth,
            .width = SpinButtonsWidth});
    // The buttons' own position never moves: each press is a step of the model's value.
    SendMessageA(n.buddy, UDM_SETRANGE32, 0, 2);
    SendMessageA(n.buddy, UDM_SETPOS32, 0, 1);
    n.background.reset(CreateSolidBrush(colourOf(c.background)));
    const HWND edit = n.window;
    model.viewChanged = [this, edit, &model] {
        if (windowText(edit) == model.text())
            return;
        const bool was = std::exchange(m_programChange, true);
        SetWindowTextA(edit, model.text().c_str());
        m_programChange = was;
    };
}

void MainWindow::addHint(const Native &n)
{
    const layout::ControlLayout &c = *n.layout;
    if (c.hint.empty() || !m_tips)
        return;
    // The record of version 5 of the common controls, which version 6 takes too; the larger
    // record of version 6 alone would be refused by version 5, and no hint would show.
    TOOLINFOA tip {};
    tip.cbSize = TTTOOLINFOA_V2_SIZE;
    tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tip.hwnd = handle();
    tip.uId = reinterpret_cast<UINT_PTR>(n.window);
    std::string hint(c.hint);
    tip.lpszText = hint.data();
    SendMessageA(m_tips.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tip));
}

void MainWindow::makeRadioItems(Native &group, HWND parent)
{
    const layout::ControlLayout &c = *group.layout;
    group.radioGroup = m_form.model<core::RadioGroup>(c.name);
    m_radioGroup = &group;
    core::RadioGroup &model = *group.radioGroup;
    for (int i = 0; i < model.count(); ++i) {
        const std::string caption(layout::PlacementItems[i]);
        // The items stand beside the group's frame, on the same parent, where the frame shows.
        const layout::Bounds at = layout::radioItem(i);
        // The first item opens the group the arrow keys move in; the next control closes it.
        const DWORD opens = i == 0 ? WS_GROUP : 0;
        const HWND item = CreateWindowExA(0, "BUTTON", caption.c_str(),
            WS_CHILD | WS_VISIBLE | opens | BS_AUTORADIOBUTTON, c.left + at.left, c.top + at.top,
            at.width, at.height, parent,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstRadioItemId + i)), m_instance, this);
        SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(group.font), FALSE);
        m_radioItems.push_back(item);
    }
    model.viewChanged = [this, &model] {
        for (std::size_t i = 0; i < m_radioItems.size(); ++i) {
            const bool chosen = static_cast<int>(i) == model.itemIndex();
            SendMessageA(m_radioItems[i], BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
            // The Tab key comes to the chosen item, or to the first when none is.
            const bool stop = chosen || (model.itemIndex() < 0 && i == 0);
            const LONG style = GetWindowLongA(m_radioItems[i], GWL_STYLE);
            SetWindowLongA(m_radioItems[i], GWL_STYLE,
                stop ? style | WS_TABSTOP : style & ~static_cast<LONG>(WS_TABSTOP));
        }
    };
}

void MainWindow::bindList(core::ListBox &model, HWND list)
{
    model.viewChanged = [this, &model, list] {
        const bool was = std::exchange(m_programChange, true);
        if (model.lastChange() & core::ListBox::Rows) {
            SendMessageA(list, WM_SETREDRAW, FALSE, 0);
            SendMessageA(list, LB_RESETCONTENT, 0, 0);
            SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(model.count()), 64);
            for (const std::string &row : model.items())
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
            SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        }
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (const int row : model.selectedRows())
            SendMessageA(list, LB_SETSEL, TRUE, row);
        if (model.itemIndex() >= 0)
            SendMessageA(list, LB_SETCARETINDEX, static_cast<WPARAM>(model.itemIndex()), FALSE);
        InvalidateRect(list, nullptr, TRUE);
        m_programChange = was;
    };
}

void MainWindow::bindTimer(core::Timer &model, UINT_PTR id)
{
    auto clock = std::make_shared<core::TimerClock>();
    model.viewChanged = [this, &model, id, clock] {
        switch (clock->follow(model)) {
        case core::TimerClock::Start:
            // Setting a running timer again starts its count from zero.
            if (!SetTimer(handle(), id, static_cast<UINT>(model.interval()), nullptr))
                clock->notStarted();
            break;
        case core::TimerClock::Stop:
            KillTimer(handle(), id);
            break;
        case core::TimerClock::Keep:
            break;
        }
    };
}

void MainWindow::applyFonts()
{
    const std::string &face = m_form.Form1.fontFace();
    if (face.empty())
        return;
    // FontMe sets the face and the size; each control keeps its weight.
    HDC screen = GetDC(handle());
    const int height = -MulDiv(m_form.Form1.fontPoints(), GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(handle(), screen);
    m_font.reset(makeFont(face, height, false));
    m_boldFont.reset(makeFont(face, height, true));
    for (Native &n : m_controls) {
        if (!layout::takesFontMe(n.layout->kind))
            continue;
        n.font = n.layout->bold ? m_boldFont.get() : m_font.get();
        SendMessageA(n.window, WM_SETFONT, reinterpret_cast<WPARAM>(n.font), TRUE);
        if (n.layout->kind == layout::Kind::RadioGroup) {
            for (const HWND item : m_radioItems)
                SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(n.font), TRUE);
        }
        if (n.layout->kind == layout::Kind::Panel)
            InvalidateRect(n.window, nullptr, TRUE);
    }
}

} // namespace win32shell
