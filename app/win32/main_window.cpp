#include "main_window.h"

#include "program_icon.h"

#include "platform/paths.h"
#include "win32/dropped_files.h"
#include "win32/win_help.h"

#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>

namespace win32shell {

namespace {

namespace layout = core::layout;

constexpr char WindowClass[] = "TForm1";
constexpr char PanelClass[] = "TPanel";
constexpr int FirstControlId = 1000;
constexpr int FirstRadioItemId = 2000;
constexpr UINT_PTR Timer1Id = 1;
constexpr UINT_PTR Timer2Id = 2;
/** The width of a spin edit's up/down buttons. */
constexpr int SpinButtonsWidth = 16;
/** The help page shipped beside the program. */
constexpr char HelpPage[] = "Murelin.html";

std::string text(std::string_view bytes)
{
    return std::string(bytes);
}

COLORREF colourOf(const layout::Colour &c)
{
    switch (c.kind) {
    case layout::Colour::Desktop:
        return GetSysColor(COLOR_DESKTOP);
    case layout::Colour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case layout::Colour::Rgb:
    case layout::Colour::Default:
        break;
    }
    return RGB((c.rgb >> 16) & 0xFF, (c.rgb >> 8) & 0xFF, c.rgb & 0xFF);
}

/** A font of the window's face at `pixels` character height (negative: points converted). */
HFONT makeFont(std::string_view face, int height, bool bold)
{
    const std::string name(face);
    return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        DEFAULT_PITCH | FF_DONTCARE, name.c_str());
}

std::string windowText(HWND window)
{
    std::string value(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    const int length = GetWindowTextA(window, value.data(), static_cast<int>(value.size()));
    value.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return value;
}

/** The names a multi-select file dialog gives back: one path, or a folder and names. */
std::vector<std::string> chosenFiles(const std::vector<char> &buffer)
{
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != '\0';) {
        const std::string part(&buffer[at]);
        parts.push_back(part);
        at += part.size() + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::string folder = parts.front();
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    std::vector<std::string> files;
    for (std::size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

BOOL CALLBACK cancelDialog(HWND window, LPARAM)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    // Message boxes and the file dialog are of the system's dialog class; a box with an OK
    // button only takes the cancel command as OK.
    if (std::string_view(name) == "#32770" && IsWindowEnabled(window))
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

} // namespace

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

// ---------------------------------------------------------------- building

void MainWindow::build()
{
    INITCOMMONCONTROLSEX common {sizeof common, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    m_icon = makeProgramIcon();

    WNDCLASSEXA windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &MainWindow::windowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = m_icon.get();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClass;
    RegisterClassExA(&windowClass);
    windowClass.hIcon = nullptr;
    windowClass.lpszClassName = PanelClass;
    windowClass.hbrBackground = nullptr;
    RegisterClassExA(&windowClass);

    // A fixed border with a system menu and a minimise box only; the client area as designed.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame {0, 0, layout::ClientWidth, layout::ClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    m_window.reset(CreateWindowExA(0, WindowClass, text(layout::Caption).c_str(), style,
        m_form.Form1.placedLeft(), m_form.Form1.placedTop(), frame.right - frame.left,
        frame.bottom - frame.top, nullptr, nullptr, m_instance, this));
    if (!m_window)
        throw std::runtime_error("the main window cannot be created");
    SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.get()));
    SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon.get()));

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
    m_form.Form1.whereShown = [this] {
        WINDOWPLACEMENT placement {};
        placement.length = sizeof placement;
        RECT r {};
        if (IsIconic(handle()) && GetWindowPlacement(handle(), &placement))
            r = placement.rcNormalPosition;
        else
            GetWindowRect(handle(), &r);
        return std::pair<int, int> {r.left, r.top};
    };
    bindTimer(m_form.Timer1, Timer1Id);
    bindTimer(m_form.Timer2, Timer2Id);
}

void MainWindow::make(Native &n, HWND parent, int id)
{
    const layout::ControlLayout &c = *n.layout;
    TForm1 &f = m_form;
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    const DWORD visible = c.visible ? WS_VISIBLE : 0;
    const auto child = [&](DWORD exStyle, const char *cls, const std::string &caption, DWORD style,
                           int left, int width) {
        return CreateWindowExA(exStyle, cls, caption.c_str(), WS_CHILD | visible | style, left,
            c.top, width, c.height, parent, menu, m_instance, this);
    };
    if (c.text.kind != layout::Colour::Default) {
        n.text = colourOf(c.text);
        n.hasTextColour = true;
    }
    n.font = c.bold ? m_boldFont.get() : m_font.get();

    switch (c.kind) {
    case layout::Kind::Panel: {
        // A panel paints its whole face first; what stands on it paints itself afterwards, so
        // a group box shows the panel through.
        n.window = child(0, PanelClass, "", 0, c.left, c.width);
        n.colour = c.background.kind != layout::Colour::Default ? colourOf(c.background)
            : c.parent.empty()                                  ? GetSysColor(COLOR_BTNFACE)
                                                                : native(c.parent).colour;
        n.background.reset(CreateSolidBrush(n.colour));
        n.panel = f.model<core::Panel>(c.name);
        if (core::Panel *model = n.panel) {
            const HWND panel = n.window;
            model->viewChanged = [panel] { InvalidateRect(panel, nullptr, TRUE); };
        }
        break;
    }
    case layout::Kind::ListBox: {
        n.window = child(WS_EX_CLIENTEDGE, "LISTBOX", "",
            LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT
                | WS_VSCROLL,
            c.left, c.width);
        SendMessageA(n.window, LB_SETITEMHEIGHT, 0, 13);
        n.listBox = f.model<core::ListBox>(c.name);
        bindList(*n.listBox, n.window);
        break;
    }
    case layout::Kind::Picture:
        if (core::Picture *model = f.model<core::Picture>(c.name)) {
            n.window = child(0, "STATIC", "", SS_OWNERDRAW, c.left, c.width);
            const HWND preview = n.window;
            model->viewChanged = [preview, model] {
                MoveWindow(
                    preview, model->left(), model->top(), model->width(), model->height(), TRUE);
                InvalidateRect(preview, nullptr, TRUE);
            };
        } else {
            n.window = child(0, "STATIC", "", SS_ICON, c.left, c.width);
            SendMessageA(n.window, STM_SETICON, reinterpret_cast<WPARAM>(m_icon.get()), 0);
        }
        break;
    case layout::Kind::CheckBox: {
        n.window = child(0, "BUTTON", text(c.caption), BS_AUTOCHECKBOX, c.left, c.width);
        n.checkBox = f.model<core::CheckBox>(c.name);
        core::CheckBox *model = n.checkBox;
        const HWND box = n.window;
        model->viewChanged = [box, model] {
            SendMessageA(box, BM_SETCHECK, model->checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        };
        break;
    }
    case layout::Kind::SpinEdit: {
        n.spinEdit = f.model<core::SpinEdit>(c.name);
        core::SpinEdit &model = *n.spinEdit;
        n.window = child(WS_EX_CLIENTEDGE, "EDIT", model.text(), ES_AUTOHSCROLL, c.left,
            c.width - SpinButtonsWidth);
        n.buddy = child(0, UPDOWN_CLASSA, "", UDS_ARROWKEYS, c.left + c.width - SpinButtonsWidth,
            SpinButtonsWidth);
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
        break;
    }
    case layout::Kind::RadioGroup:
        n.window = child(0, "BUTTON", text(c.caption), BS_GROUPBOX, c.left, c.width);
        makeRadioItems(n, parent);
        break;
    case layout::Kind::Label:
        n.window = child(0, "STATIC", text(c.caption), SS_LEFT | SS_NOPREFIX, c.left, c.width);
        break;
    case layout::Kind::Button:
        n.window = child(0, "BUTTON", text(c.caption), BS_PUSHBUTTON, c.left, c.width);
        break;
    }
    if (c.kind != layout::Kind::Picture && c.kind != layout::Kind::Panel)
        SendMessageA(n.window, WM_SETFONT, reinterpret_cast<WPARAM>(n.font), FALSE);
    if (!c.hint.empty() && m_tips) {
        TOOLINFOA tip {};
        tip.cbSize = sizeof tip;
        tip.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tip.hwnd = handle();
        tip.uId = reinterpret_cast<UINT_PTR>(n.window);
        std::string hint(c.hint);
        tip.lpszText = hint.data();
        SendMessageA(m_tips.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tip));
    }
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
        const HWND item = CreateWindowExA(0, "BUTTON", caption.c_str(),
            WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, c.left + at.left, c.top + at.top, at.width,
            at.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstRadioItemId + i)),
            m_instance, this);
        SendMessageA(item, WM_SETFONT, reinterpret_cast<WPARAM>(group.font), FALSE);
        m_radioItems.push_back(item);
    }
    model.viewChanged = [this, &model] {
        for (std::size_t i = 0; i < m_radioItems.size(); ++i) {
            const bool chosen = static_cast<int>(i) == model.itemIndex();
            SendMessageA(m_radioItems[i], BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
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

// ---------------------------------------------------------------- messages

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
    switch (message) {
    case WM_COMMAND:
        if (lParam)
            onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
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
        return 0;
    case platform::win32::TrayCallbackMessage: {
        // lParam is the mouse message over the icon, numbered as the core takes it.
        const auto mouse = static_cast<std::uint32_t>(lParam);
        f.trayIconMouse(mouse);
        return 0;
    }
    case WM_DROPFILES: {
        const std::vector<std::string> names
            = platform::win32::takeDroppedFiles(reinterpret_cast<HDROP>(wParam));
        f.filesDropped(names);
        return 0;
    }
    case WM_SIZE:
        // Only the step into the minimised state: the window and its taskbar button go.
        if (wParam == SIZE_MINIMIZED)
            f.windowMinimized();
        return 0;
    case WM_CLOSE:
        f.WMEndSession();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The session ends for real only with the flag set; the process must be gone before
        // the system would end it.
        if (wParam)
            f.WMEndSession();
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
        if (code == BN_CLICKED) {
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

// ---------------------------------------------------------------- core::FormShell

core::MsgAnswer MainWindow::messageBox(const core::MessageRequest &request)
{
    // The system's boxes of the same buttons, in the same order; MB_DEFBUTTON2 is the second.
    UINT type = request.buttons == core::MsgButtons::Ok ? MB_OK : MB_YESNOCANCEL;
    type |= static_cast<UINT>(request.defaultButton()) * static_cast<UINT>(MB_DEFBUTTON2);
    switch (request.icon) {
    case core::MsgIcon::Information:
        type |= MB_ICONINFORMATION;
        break;
    case core::MsgIcon::Warning:
        type |= MB_ICONWARNING;
        break;
    case core::MsgIcon::Error:
        type |= MB_ICONERROR;
        break;
    case core::MsgIcon::Question:
        type |= MB_ICONQUESTION;
        break;
    case core::MsgIcon::None:
        break;
    }
    const HWND owner = request.overWindow ? handle() : nullptr;
    switch (
        MessageBoxA(owner, request.text.c_str(), request.caption.c_str(), type | MB_TASKMODAL)) {
    case IDYES:
        return core::MsgAnswer::Yes;
    case IDNO:
        return core::MsgAnswer::No;
    case IDOK:
        return core::MsgAnswer::Ok;
    default:
        return core::closedAnswer(request.buttons);
    }
}

std::vector<std::string> MainWindow::openDialog(const core::OpenDialogRequest &request)
{
    // The dialog's list of types: label and pattern, each ended by a zero, and a zero at the end.
    std::string filter;
    for (const core::FileFilter &type : request.filters) {
        filter += type.label + '\0';
        filter += type.pattern + '\0';
    }
    filter += '\0';
    const std::string &extension = request.defaultExtension;
    std::vector<char> names(65536, '\0');
    for (;;) {
        OPENFILENAMEA dialog {};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = handle();
        dialog.lpstrFilter = filter.c_str();
        dialog.lpstrFile = names.data();
        dialog.nMaxFile = static_cast<DWORD>(names.size());
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING
            | (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
        if (GetOpenFileNameA(&dialog))
            return chosenFiles(names);
        // Too many names for the buffer: the first two bytes say how many it takes.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL || names.size() >= (1u << 24))
            return {};
        names.assign(names.size() * 4, '\0');
    }
}

void MainWindow::closeModals()
{
    EnumThreadWindows(GetCurrentThreadId(), &cancelDialog, 0);
}

bool MainWindow::addTrayIcon()
{
    if (m_trayAdded)
        return true;
    m_tray = platform::win32::makeTrayIconRecord(handle(), m_icon.get(), layout::TrayTip);
    m_trayAdded = platform::win32::addTrayIcon(m_tray);
    return m_trayAdded;
}

void MainWindow::removeTrayIcon()
{
    // The shell finds the icon by the record's window and identifier.
    if (std::exchange(m_trayAdded, false))
        platform::win32::deleteTrayIcon(m_tray);
}

bool MainWindow::notificationAreaAvailable()
{
    return platform::win32::notificationAreaPresent();
}

void MainWindow::acceptDroppedFiles()
{
    DragAcceptFiles(handle(), TRUE);
}

void MainWindow::showWindow()
{
    const bool wasHidden = !IsWindowVisible(handle());
    if (IsIconic(handle()))
        ShowWindow(handle(), SW_RESTORE);
    ShowWindow(handle(), SW_SHOW);
    SetForegroundWindow(handle());
    if (wasHidden)
        m_form.windowShown();
}

void MainWindow::hideWindow()
{
    // The window owns its taskbar button: hidden, the button goes too.
    ShowWindow(handle(), SW_HIDE);
}

core::Size MainWindow::maximizedWindowSize()
{
    return {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
}

core::Size MainWindow::outerWindowSize()
{
    RECT r {};
    GetWindowRect(handle(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

int MainWindow::pixelsPerInch()
{
    HDC dc = GetDC(handle());
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(handle(), dc);
    return ppi;
}

core::Size MainWindow::loadBitmap(const std::string &path)
{
    BitmapHandle bitmap(static_cast<HBITMAP>(LoadImageA(
        nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!bitmap)
        throw std::runtime_error("Bitmap image is not valid");
    BITMAP info {};
    GetObjectA(bitmap.get(), sizeof info, &info);
    m_preview = std::move(bitmap);
    InvalidateRect(control("JPEGImage1"), nullptr, TRUE);
    return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

bool MainWindow::openHelp(const std::string &file, const std::string &topic)
{
    return platform::win32::openHelpOrPage(
               handle(), file, topic, platform::executableDirectory() + HelpPage)
        != platform::win32::HelpShown::Nothing;
}

} // namespace win32shell
