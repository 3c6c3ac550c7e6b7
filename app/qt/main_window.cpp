#include "app/qt/main_window.h"

#include "app/qt/portal_file_dialog.h"
#include "app/qt/widgets.h"

#include "jpegctl/JpgImg.h"
#include "platform/paths.h"
#include "platform/qt/file_drop.h"
#include "platform/qt/tray_icon.h"
#include "platform/qt/window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <algorithm>

// The icon lives in a resource of a static library, which must be registered by hand, from
// outside any namespace.
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)registered;
}

namespace qtshell {

namespace {

namespace layout = core::layout;

QString text(std::string_view bytes)
{
    return displayText(bytes);
}

QColor colour(const layout::Colour &c)
{
    if (c.kind == layout::Colour::Desktop)
        return QColor::fromRgb(layout::DesktopTeal.rgb);
    return QColor::fromRgb(c.rgb);
}

QFont windowFont(bool bold)
{
    QFont font(text(layout::FontName));
    font.setPixelSize(layout::FontPixels);
    font.setBold(bold);
    return font;
}

// The colour of a control's own text. The marks on a control's white or grey boxes (a check
// box's tick, a radio button's dot, a spin edit's arrows) keep the usual colours.
void setTextColour(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::ButtonText, c);
    const QPalette usual = QApplication::palette();
    if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))
        p.setColor(QPalette::Text, usual.color(QPalette::Text));
    if (qobject_cast<QAbstractSpinBox *>(w)) {
        p.setColor(QPalette::WindowText, usual.color(QPalette::WindowText));
        p.setColor(QPalette::ButtonText, usual.color(QPalette::ButtonText));
    }
    w->setPalette(p);
}

// A panel's colour; what sits on it keeps its own field colours (lists stay white).
void setBackground(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// The colour of an edit field's box.
void setFieldColour(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

} // namespace

QImage MainWindow::programIcon()
{
    registerResources();
    // Read as what it is and nothing else: a reader left to guess loads every image plugin
    // installed and asks each one first.
    QImageReader reader(QStringLiteral(":/murelin/murelin.xpm"), "xpm");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

MainWindow::MainWindow(TForm1::Environment environment)
    : QWidget(nullptr,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_form(*this, std::move(environment))
{
    buildWindow();
}

MainWindow::~MainWindow() = default;

QWidget *MainWindow::widget(std::string_view name) const
{
    if (name == "Form1")
        return const_cast<MainWindow *>(this);
    const_cast<MainWindow *>(this)->buildControls();
    return built(name);
}

QWidget *MainWindow::built(std::string_view name) const
{
    for (const auto &[n, w] : m_widgets) {
        if (n == name)
            return w;
    }
    return nullptr;
}

QWidget *MainWindow::make(const layout::ControlLayout &c, QWidget *parent)
{
    TForm1 &f = m_form;
    switch (c.kind) {
    case layout::Kind::Panel: {
        auto *panel = new PanelWidget(c.bevel == layout::Bevel::Raised, parent);
        if (core::Panel *model = f.model<core::Panel>(c.name))
            model->viewChanged = [panel, model] { panel->setCaption(text(model->caption())); };
        return panel;
    }
    case layout::Kind::ListBox: {
        auto *view = new ListView(parent);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setUniformItemSizes(true);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setTextElideMode(Qt::ElideMiddle);
        view->installEventFilter(this);
        bindList(*f.model<core::ListBox>(c.name), view);
        return view;
    }
    case layout::Kind::Picture: {
        core::Picture *model = f.model<core::Picture>(c.name);
        if (!model) {
            auto *image = new QLabel(parent);
            image->setPixmap(QPixmap::fromImage(programIcon()));
            return image;
        }
        // A picture loaded while the window was not built yet is in the preview already.
        if (m_preview)
            m_preview->setParent(parent);
        else
            m_preview = new TJPEGImage(parent);
        model->viewChanged = [this, model] {
            m_preview->setGeometry(model->left(), model->top(), model->width(), model->height());
        };
        return m_preview;
    }
    case layout::Kind::CheckBox: {
        auto *box = new QCheckBox(text(c.caption), parent);
        core::CheckBox *model = f.model<core::CheckBox>(c.name);
        model->viewChanged = [box, model] {
            const QSignalBlocker blocker(box);
            box->setChecked(model->checked());
        };
        connect(
            box, &QCheckBox::toggled, this, [model](bool checked) { model->setChecked(checked); });
        return box;
    }
    case layout::Kind::SpinEdit: {
        core::SpinEdit &model = *f.model<core::SpinEdit>(c.name);
        auto *edit = new SpinEditWidget(model, parent);
        model.viewChanged = [edit] { edit->refresh(); };
        setFieldColour(edit, colour(c.background));
        return edit;
    }
    case layout::Kind::RadioGroup: {
        core::RadioGroup &model = *f.model<core::RadioGroup>(c.name);
        QStringList items;
        for (std::string_view item : layout::PlacementItems)
            items << text(item);
        auto *group = new RadioGroupWidget(model, text(c.caption), items, parent);
        model.viewChanged = [group] { group->refresh(); };
        for (int i = 0; i < model.count(); ++i) {
            const layout::Bounds item = layout::radioItem(i);
            group->button(i)->setGeometry(item.left, item.top, item.width, item.height);
            setTextColour(group->button(i), colour(c.text));
        }
        return group;
    }
    case layout::Kind::Label:
        return new QLabel(text(c.caption), parent);
    case layout::Kind::Button: {
        auto *button = new QPushButton(text(c.caption), parent);
        const std::string_view name = c.name;
        connect(button, &QPushButton::clicked, this, [this, name] { m_form.buttonClick(name); });
        return button;
    }
    }
    return nullptr;
}

void MainWindow::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(text(layout::Caption));
    setFixedSize(layout::ClientWidth, layout::ClientHeight);
    move(m_form.Form1.placedLeft(), m_form.Form1.placedTop());
    m_form.Form1.viewChanged = [this] {
        move(m_form.Form1.placedLeft(), m_form.Form1.placedTop());
        applyFonts();
    };
    m_form.Form1.whereShown = [this] { return std::pair {x(), y()}; };

    auto *timer1 = new QTimer(this);
    timer1->setObjectName(QStringLiteral("Timer1"));
    bindTimer(m_form.Timer1, timer1);
    auto *timer2 = new QTimer(this);
    timer2->setObjectName(QStringLiteral("Timer2"));
    bindTimer(m_form.Timer2, timer2);
}

void MainWindow::setVisible(bool visible)
{
    if (visible)
        buildControls();
    QWidget::setVisible(visible);
}

void MainWindow::buildControls()
{
    if (!m_widgets.empty())
        return;
    // The stored 32 x 32 icon, with the same drawing at the sizes other displays ask for.
    QIcon icon(QPixmap::fromImage(programIcon()));
    for (const int size : {16, 24, 48, 64, 128})
        icon.addFile(QStringLiteral(":/murelin/icons/%1.png").arg(size));
    setWindowIcon(icon);
    setFont(windowFont(false));
    for (const layout::ControlLayout &c : layout::controls()) {
        QWidget *parent = c.parent.empty() ? this : widget(c.parent);
        QWidget *w = make(c, parent);
        w->setObjectName(text(c.name));
        w->setGeometry(c.left, c.top, c.width, c.height);
        if (c.kind != layout::Kind::Picture)
            w->setFont(windowFont(c.bold));
        if (c.text.kind != layout::Colour::Default)
            setTextColour(w, colour(c.text));
        if (c.background.kind != layout::Colour::Default && c.kind == layout::Kind::Panel)
            setBackground(w, colour(c.background));
        if (!c.hint.empty())
            w->setToolTip(text(c.hint));
        // The Tab key passes what is no tab stop by; a click still gives it the focus.
        if (!c.tabStop && c.kind != layout::Kind::Panel && c.kind != layout::Kind::Label)
            w->setFocusPolicy(Qt::ClickFocus);
        if (!c.visible)
            w->hide();
        m_widgets.emplace_back(c.name, w);
    }
    // The controls show what the program has set in their models meanwhile; the window's own
    // model last, for the fonts FontMe chose.
    for (const layout::ControlLayout &c : layout::controls()) {
        if (core::Control *model = m_form.controlModel(c.name))
            model->viewChanged();
    }
    m_form.Form1.viewChanged();
}

void MainWindow::bindList(core::ListBox &model, ListView *view)
{
    auto *rows = new ListBoxModel(model, view);
    view->setModel(rows);
    QItemSelectionModel *selection = view->selectionModel();
    model.viewChanged = [this, &model, view, rows, selection] {
        const QSignalBlocker blocker(selection);
        m_selecting = true;
        if (model.lastChange() & core::ListBox::Rows)
            rows->reset();
        QItemSelection selected;
        int first = -1;
        const std::vector<int> chosen = model.selectedRows();
        for (size_t i = 0; i < chosen.size(); ++i) {
            if (first < 0)
                first = chosen[i];
            if (i + 1 == chosen.size() || chosen[i + 1] != chosen[i] + 1) {
                selected.select(rows->index(first), rows->index(chosen[i]));
                first = -1;
            }
        }
        selection->select(selected, QItemSelectionModel::ClearAndSelect);
        const int current = model.itemIndex();
        selection->setCurrentIndex(
            current >= 0 ? rows->index(current) : QModelIndex(), QItemSelectionModel::NoUpdate);
        if (current >= 0)
            view->scrollTo(rows->index(current));
        m_selecting = false;
        view->viewport()->update();
    };
    // The user's changes of the selection are the list's clicks, each handed over whole.
    view->selectionDone = [this, &model, selection] {
        if (m_selecting)
            return;
        std::vector<int> chosen;
        for (const QModelIndex &index : selection->selectedIndexes())
            chosen.push_back(index.row());
        const QModelIndex current = selection->currentIndex();
        model.userSelected(chosen, current.isValid() ? current.row() : -1);
    };
}

void MainWindow::bindTimer(core::Timer &model, QTimer *timer)
{
    auto clock = std::make_shared<core::TimerClock>();
    model.viewChanged = [&model, timer, clock] {
        switch (clock->follow(model)) {
        case core::TimerClock::Start:
            timer->start(model.interval());
            break;
        case core::TimerClock::Stop:
            timer->stop();
            break;
        case core::TimerClock::Keep:
            break;
        }
    };
    connect(timer, &QTimer::timeout, this, [&model] { model.tick(); });
}

void MainWindow::applyFonts()
{
    const std::string &face = m_form.Form1.fontFace();
    if (face.empty() || m_widgets.empty())
        return;
    for (const layout::ControlLayout &c : layout::controls()) {
        if (!layout::takesFontMe(c.kind))
            continue;
        QWidget *w = widget(c.name);
        QFont font = w->font();
        font.setFamily(text(face));
        font.setPointSize(m_form.Form1.fontPoints());
        w->setFont(font);
    }
}

// ---------------------------------------------------------------- events of the window

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A list's keys: the program's handler runs first, then the list's own handling.
    if (event->type() == QEvent::KeyPress && qobject_cast<QListView *>(watched)
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        const QByteArray name = watched->objectName().toLatin1();
        m_form.model<core::ListBox>(std::string_view(name.constData(), size_t(name.size())))
            ->keyDown(core::Key::Delete);
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_form.WMEndSession();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_form.windowShown();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Only the step into the minimised state counts, not a change while already minimised.
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    if (!(change->oldState() & Qt::WindowMinimized))
        m_form.windowMinimized();
}

// ---------------------------------------------------------------- core::FormShell

int MainWindow::runModal(QDialog &dialog)
{
    m_modals.push_back(&dialog);
    const int result = dialog.exec();
    m_modals.erase(std::find(m_modals.begin(), m_modals.end(), &dialog));
    return result;
}

void MainWindow::closeModals()
{
    for (QDialog *dialog : m_modals)
        dialog->reject();
}

core::MsgAnswer MainWindow::messageBox(const core::MessageRequest &request)
{
    QMessageBox box(request.overWindow ? this : nullptr);
    box.setWindowTitle(text(request.caption));
    box.setText(text(request.text));
    switch (request.icon) {
    case core::MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case core::MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case core::MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case core::MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case core::MsgIcon::None:
        break;
    }
    // Buttons of one role keep the order they were added in, whatever order the desktop's
    // guidelines give the roles.
    const auto buttons = core::buttonsOf(request.buttons);
    std::vector<QPushButton *> made;
    for (const core::MsgButton &button : buttons) {
        made.push_back(box.addButton(text(button.text), QMessageBox::ActionRole));
        if (button.answer == core::closedAnswer(request.buttons))
            box.setEscapeButton(made.back());
    }
    box.setDefaultButton(made[request.defaultButton()]);
    runModal(box);
    const auto clicked = std::find(made.begin(), made.end(), box.clickedButton());
    if (clicked == made.end())
        return core::closedAnswer(request.buttons);
    return buttons[static_cast<size_t>(clicked - made.begin())].answer;
}

namespace {

/**
 * The file-open dialog: several files at once, and a typed name is taken as it stands, whether
 * a file of that name exists or not.
 */
class OpenDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;
    QStringList chosen;

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && QFileInfo(files.front()).isDir()) {
            QFileDialog::accept(); // into the folder
            return;
        }
        chosen = files;
        QDialog::accept();
    }
};

} // namespace

std::vector<std::string> MainWindow::openDialog(const core::OpenDialogRequest &request)
{
    // The desktop's own dialog where a portal offers one, unless the user chose a platform
    // theme: that theme's dialog (or Qt's) is then what they asked for.
    if (!userChosePlatformTheme() && PortalFileDialog::available()) {
        PortalOpenRequest portal;
        portal.title = QFileDialog::tr("Open");
        if (isVisible() && QGuiApplication::platformName() == QLatin1String("xcb"))
            portal.parentWindow = QStringLiteral("x11:%1").arg(winId(), 0, 16);
        portal.multiple = request.multiSelect;
        for (const core::FileFilter &filter : request.filters)
            portal.filters.push_back({text(filter.label), text(filter.pattern).split(u';')});
        QDialog wait(this);
        PortalFileDialog dialog;
        auto chosen = dialog.open(portal, wait, [this](QDialog &d) { runModal(d); });
        if (chosen)
            return std::move(*chosen);
    }
    OpenDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(
        request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // A label that is its own pattern is shown once.
    QStringList filters;
    for (const core::FileFilter &filter : request.filters) {
        const QString label = text(filter.label);
        const QString pattern = text(filter.pattern);
        filters << (label == pattern ? label : label + QStringLiteral(" (") + pattern + u')');
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(text(request.defaultExtension));
    std::vector<std::string> names;
    if (runModal(dialog) != QDialog::Accepted)
        return names;
    for (const QString &name : dialog.chosen) {
        const QByteArray bytes = QFile::encodeName(name);
        names.emplace_back(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    return names;
}

bool MainWindow::addTrayIcon()
{
    m_tray = std::make_unique<platform::TrayIcon>(this);
    connect(m_tray.get(), &platform::TrayIcon::rightButtonDown, this,
        [this] { m_form.trayIconMouse(core::TrayRightButtonDown); });
    connect(m_tray.get(), &platform::TrayIcon::leftButtonDown, this,
        [this] { m_form.trayIconMouse(core::TrayLeftButtonDown); });
    return m_tray->add(programIcon(), std::string(layout::TrayTip));
}

void MainWindow::removeTrayIcon()
{
    if (m_tray)
        m_tray->remove();
}

bool MainWindow::notificationAreaAvailable()
{
    return platform::TrayIcon::notificationAreaAvailable();
}

void MainWindow::acceptDroppedFiles()
{
    m_drop = new platform::FileDropTarget(this);
    // Handled once the drop event has returned, so that a box the drop opens does not hold the
    // program the files were dragged from.
    connect(
        m_drop, &platform::FileDropTarget::filesDropped, this,
        [this](const std::vector<std::string> &names) { m_form.filesDropped(names); },
        Qt::QueuedConnection);
}

void MainWindow::showWindow()
{
    platform::showApplicationWindow(this);
}

void MainWindow::hideWindow()
{
    platform::hideApplicationWindow(this);
}

core::Size MainWindow::maximizedWindowSize()
{
    const QSize size = platform::maximizedWindowSize();
    return {size.width(), size.height()};
}

core::Size MainWindow::outerWindowSize()
{
    const QSize size = frameGeometry().size();
    return {size.width(), size.height()};
}

int MainWindow::pixelsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

core::Size MainWindow::loadBitmap(const std::string &path)
{
    // Before the window is first shown the preview waits, unplaced, for the panel it goes in.
    if (!m_preview)
        m_preview = new TJPEGImage(this);
    m_preview->loadBitmapFile(path);
    return {m_preview->picture().width(), m_preview->picture().height()};
}

bool MainWindow::openHelp(const std::string &file, const std::string &topic)
{
    return platform::openHelp(file, topic);
}

bool userChosePlatformTheme()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORMTHEME");
}

std::unique_ptr<QApplication> makeApplication(const char *programPath)
{
    // The window draws in its own look (its style, faces and colours), so a desktop's platform
    // theme would buy it nothing but its file dialog, which the portal gives out of process:
    // GNOME's, XFCE's and the other GTK desktops' theme alone loads GTK and its libraries, some
    // 60 MB resident. Unless the user names a theme, the toolkit loads none.
    if (!userChosePlatformTheme())
        QApplication::setDesktopSettingsAware(false);
    // The program takes no command line: the toolkit sees the program's name only.
    static std::string name;
    static char *argv[2] = {nullptr, nullptr};
    static int argc = 1;
    name = programPath ? programPath : "murelin";
    argv[0] = name.data();
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("murelin"));
    // The window stays hidden when the loop starts; only the notification icon shows, and
    // closing the window, not hiding it, ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    return app;
}

} // namespace qtshell
