#include "Murelin1.h"

#include "dialogs.h"
#include "jpegctl/JpgImg.h"
#include "picturelist/list_file.h"
#include "picturelist/settings_string.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "settings/numtext.h"
#include "settings/regstring.h"
#include "settings/settings_table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QScreen>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using settings::ReadRegString;
using settings::Setting;
using settings::SettingsKey;
using settings::WriteRegString;

namespace {

constexpr int ClientWidth = 423;
constexpr int ClientHeight = 333;
constexpr int DesignLeft = 257;
constexpr int DesignTop = 133;

std::string readSetting(Setting id)
{
    const settings::SettingInfo &s = settings::info(id);
    return ReadRegString(SettingsKey, s.name, s.defaultText);
}

QFont windowFont(bool bold = false)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

void setTextColor(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    p.setColor(QPalette::ButtonText, color);
    w->setPalette(p);
}

// A panel's colour; what sits on it keeps its own field colours (lists stay white).
void setBackground(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, color);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

// The colour of an edit field's box.
void setFieldColor(QWidget *w, const QColor &color)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    w->setPalette(p);
}

template <typename W> W *place(W *w, const char *name, int left, int top, int width, int height)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

} // namespace

TForm1::Environment TForm1::defaultEnvironment()
{
    Environment env;
    env.maximizedWindowSize = [] { return platform::maximizedWindowSize(); };
    env.pixelsPerInch = [] {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    };
    env.listFilePath = [] {
        const std::string dir = platform::executableDirectory();
        const bool writable = platform::isDirectoryWritable(dir);
        return picturelist::listFilePath(
            dir, writable, writable ? std::string() : platform::userDataDirectory());
    };
    env.timeOfDayMs = [] {
        const QTime t = QDateTime::currentDateTimeUtc().time();
        return static_cast<std::uint32_t>(
            ((t.hour() * 60 + t.minute()) * 60 + t.second()) * 1000 + t.msec());
    };
    env.endProcess = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    return env;
}

TForm1::TForm1(QWidget *parent)
    : TForm1(defaultEnvironment(), parent)
{
}

TForm1::TForm1(Environment environment, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_env(std::move(environment))
{
    const Environment defaults = defaultEnvironment();
    if (!m_env.maximizedWindowSize)
        m_env.maximizedWindowSize = defaults.maximizedWindowSize;
    if (!m_env.outerWindowSize)
        m_env.outerWindowSize = [this] { return frameGeometry().size(); };
    if (!m_env.pixelsPerInch)
        m_env.pixelsPerInch = defaults.pixelsPerInch;
    if (!m_env.listFilePath)
        m_env.listFilePath = defaults.listFilePath;
    if (!m_env.timeOfDayMs)
        m_env.timeOfDayMs = defaults.timeOfDayMs;
    if (!m_env.endProcess)
        m_env.endProcess = defaults.endProcess;
    buildLayout();
    wireEvents();
}

TForm1::~TForm1() = default;

QImage TForm1::programIcon()
{
    // The icon lives in a resource of a static library, which must be registered by hand.
    static const bool registered = [] {
        Q_INIT_RESOURCE(app);
        return true;
    }();
    (void)registered;
    return QImage(QStringLiteral(":/murelin/murelin.xpm"));
}

void TForm1::buildLayout()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Murelin V1.0"));
    setWindowIcon(QIcon(QPixmap::fromImage(programIcon())));
    setFont(windowFont());
    setFixedSize(ClientWidth, ClientHeight);
    move(DesignLeft, DesignTop);

    const QColor white(Qt::white);
    const QColor black(Qt::black);

    Panel1 = place(new Panel(Panel::Raised, this), "Panel1", 0, 0, ClientWidth, ClientHeight);
    setBackground(Panel1, QColor(0x80, 0, 0)); // maroon

    m_list = new PictureListModel(this);
    ListBox1 = place(new QListView(Panel1), "ListBox1", 8, 8, 309, 249);
    ListBox1->setModel(m_list);
    ListBox1->setModelColumn(0);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setFocusPolicy(Qt::ClickFocus);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setTextElideMode(Qt::ElideMiddle);

    ListBox2 = place(new QListWidget(Panel1), "ListBox2", 16, 48, 29, 29);
    ListBox2->hide();
    ListBox3 = place(new QListView(Panel1), "ListBox3", 48, 48, 29, 29);
    ListBox3->setModel(m_list);
    ListBox3->setModelColumn(1);
    ListBox3->hide();

    Image1 = place(new QLabel(Panel1), "Image1", 152, 16, 33, 33);
    Image1->setPixmap(QPixmap::fromImage(programIcon()));
    Image1->hide();

    Panel4 = place(new Panel(Panel::Lowered, Panel1), "Panel4", 324, 8, 90, 49);
    TimedDisplay
        = place(new QCheckBox(QStringLiteral("Timer On"), Panel4), "TimedDisplay", 4, 4, 80, 17);
    Label3 = place(new QLabel(QStringLiteral("Sec"), Panel4), "Label3", 3, 27, 19, 13);
    SpinEdit3 = place(new SpinEdit(1, 604800, Panel4), "SpinEdit3", 25, 23, 60, 22);
    SpinEdit3->setToolTip(QStringLiteral("Number of seconds between loadingthe next picture"));

    RadioGroup1 = place(new RadioGroup(QStringLiteral(" Placement "),
                            {QStringLiteral("Stretch"), QStringLiteral("Center"),
                                QStringLiteral("Tiled"), QStringLiteral("Location")},
                            Panel1),
        "RadioGroup1", 324, 64, 90, 73);
    for (int i = 0; i < RadioGroup1->count(); ++i)
        RadioGroup1->button(i)->setGeometry(8, 14 + 14 * i, 78, 14);

    Label1 = place(new QLabel(QStringLiteral("X"), Panel1), "Label1", 324, 150, 9, 13);
    Label1->setFont(windowFont(true));
    SpinEdit1 = place(new SpinEdit(0, 32000, Panel1), "SpinEdit1", 336, 146, 77, 22);
    SpinEdit1->setToolTip(QStringLiteral("How far to the right will the picture will appear"));
    Label2 = place(new QLabel(QStringLiteral("Y"), Panel1), "Label2", 324, 173, 9, 13);
    Label2->setFont(windowFont(true));
    SpinEdit2 = place(new SpinEdit(0, 32000, Panel1), "SpinEdit2", 336, 170, 77, 22);
    SpinEdit2->setToolTip(QStringLiteral("How far down from the top will the picture will appear"));

    PreviewOn
        = place(new QCheckBox(QStringLiteral("Preview On"), Panel1), "PreviewOn", 324, 204, 90, 17);
    Panel2 = place(new Panel(Panel::Lowered, Panel1), "Panel2", 324, 221, 90, 67);
    setBackground(Panel2, QColor(0, 0x80, 0x80)); // the desktop's background colour
    JPEGImage1 = new TJPEGImage(Panel2);
    JPEGImage1->setObjectName(QStringLiteral("JPEGImage1"));

    Panel3 = place(new Panel(Panel::Lowered, Panel1), "Panel3", 8, 258, 309, 25);
    setBackground(Panel3, black);

    BitBtn2 = place(new QPushButton(QStringLiteral("< Prev"), Panel1), "BitBtn2", 8, 288, 44, 17);
    BitBtn1 = place(new QPushButton(QStringLiteral("Next >"), Panel1), "BitBtn1", 54, 288, 44, 17);
    BitBtn3
        = place(new QPushButton(QStringLiteral("Load Current"), Panel1), "BitBtn3", 8, 308, 90, 17);
    for (QPushButton *b : {BitBtn1, BitBtn2, BitBtn3}) {
        b->setFont(windowFont(true));
        setTextColor(b, black);
    }
    AutoQuit = place(
        new QCheckBox(QStringLiteral("Automatic Exit"), Panel1), "AutoQuit", 116, 288, 90, 17);
    LoadStart = place(
        new QCheckBox(QStringLiteral("Load on Start"), Panel1), "LoadStart", 116, 306, 90, 17);
    IconClick = place(
        new QCheckBox(QStringLiteral("Icon Click Next"), Panel1), "IconClick", 220, 288, 90, 17);
    RandomPick = place(
        new QCheckBox(QStringLiteral("Random Pick"), Panel1), "RandomPick", 220, 306, 90, 17);
    Panel6 = place(new Panel(Panel::Lowered, Panel1), "Panel6", 324, 288, 90, 15);
    setBackground(Panel6, black);
    BitBtn4 = place(new QPushButton(QStringLiteral("Help"), Panel1), "BitBtn4", 324, 307, 90, 17);

    BitBtn5 = place(new QPushButton(QStringLiteral("Clear All"), Panel3), "BitBtn5", 4, 4, 49, 17);
    BitBtn6 = place(new QPushButton(QStringLiteral("Sort"), Panel3), "BitBtn6", 56, 4, 33, 17);
    BitBtn7 = place(new QPushButton(QStringLiteral("Add"), Panel3), "BitBtn7", 92, 4, 33, 17);
    BitBtn8 = place(new QPushButton(QStringLiteral("Remove"), Panel3), "BitBtn8", 128, 4, 49, 17);
    BitBtn9 = place(new QPushButton(QStringLiteral("Up"), Panel3), "BitBtn9", 180, 4, 22, 17);
    BitBtn10 = place(new QPushButton(QStringLiteral("Down"), Panel3), "BitBtn10", 205, 4, 41, 17);
    Panel5 = place(new Panel(Panel::Lowered, Panel3), "Panel5", 248, 4, 57, 17);
    setBackground(Panel5, black);

    // White text on the dark panels.
    for (QWidget *w : std::initializer_list<QWidget *> {Label1, Label2, Label3, TimedDisplay,
             PreviewOn, AutoQuit, LoadStart, IconClick, RandomPick, RadioGroup1, SpinEdit1,
             SpinEdit2, SpinEdit3, Panel5, Panel6})
        setTextColor(w, white);
    for (int i = 0; i < RadioGroup1->count(); ++i)
        setTextColor(RadioGroup1->button(i), white);
    for (SpinEdit *s : {SpinEdit1, SpinEdit2, SpinEdit3})
        setFieldColor(s, black);

    // List boxes, check boxes, spin edits and buttons are no tab stops.
    for (QWidget *w : findChildren<QWidget *>()) {
        if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractItemView *>(w)
            || qobject_cast<QAbstractSpinBox *>(w))
            w->setFocusPolicy(Qt::ClickFocus);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
}

template <typename Sender, typename Signal>
void TForm1::on(Sender *sender, Signal signal, void (TForm1::*handler)())
{
    connect(
        sender, signal, this, [this, handler] { run([this, handler] { (this->*handler)(); }); });
}

bool TForm1::run(const std::function<void()> &step)
{
    return murelin::dispatch(this, step);
}

void TForm1::wireEvents()
{
    // A click in the list is the user's change of its selection, never the program's.
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_programSelecting == 0)
            run([this] { ListBox1Click(); });
    });
    ListBox1->installEventFilter(this);
    on(RadioGroup1, &RadioGroup::itemClicked, &TForm1::RadioGroup1Click);
    on(SpinEdit1, &SpinEdit::valueChanged, &TForm1::SpinEdit1Change);
    on(SpinEdit2, &SpinEdit::valueChanged, &TForm1::SpinEdit2Change);
    on(SpinEdit3, &SpinEdit::valueChanged, &TForm1::SpinEdit3Change);
    on(PreviewOn, &QCheckBox::toggled, &TForm1::PreviewOnClick);
    on(TimedDisplay, &QCheckBox::toggled, &TForm1::TimedDisplayClick);
    on(AutoQuit, &QCheckBox::toggled, &TForm1::AutoQuitClick);
    on(LoadStart, &QCheckBox::toggled, &TForm1::LoadStartClick);
    on(IconClick, &QCheckBox::toggled, &TForm1::IconClickClick);
    on(RandomPick, &QCheckBox::toggled, &TForm1::RandomPickClick);
    on(BitBtn1, &QPushButton::clicked, &TForm1::B1Click);
    on(BitBtn2, &QPushButton::clicked, &TForm1::B5Click);
    on(BitBtn3, &QPushButton::clicked, &TForm1::B7Click);
    on(BitBtn4, &QPushButton::clicked, &TForm1::B4Click);
    on(BitBtn5, &QPushButton::clicked, &TForm1::B2Click);
    on(BitBtn6, &QPushButton::clicked, &TForm1::B3Click);
    on(BitBtn7, &QPushButton::clicked, &TForm1::B10Click);
    on(BitBtn8, &QPushButton::clicked, &TForm1::B6Click);
    on(BitBtn9, &QPushButton::clicked, &TForm1::B8Click);
    on(BitBtn10, &QPushButton::clicked, &TForm1::B9Click);
    on(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
    on(Timer2, &QTimer::timeout, &TForm1::Timer2Timer);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        run([this, key] { ListBox1KeyDown(key); });
        return key->isAccepted() && key->key() == Qt::Key_Delete;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- start-up

void TForm1::readOptionCheckBoxes()
{
    // The boxes are checked as a click would check them, so their handlers run.
    const std::pair<Setting, QCheckBox *> boxes[] = {
        {Setting::IconClick, IconClick},
        {Setting::RandomPick, RandomPick},
        {Setting::LoadStart, LoadStart},
        {Setting::AutoQuit, AutoQuit},
        {Setting::TimedDisplay, TimedDisplay},
        {Setting::PreviewOn, PreviewOn},
    };
    for (const auto &[id, box] : boxes)
        run([&] { box->setChecked(settings::textIsTrue(readSetting(id))); });
}

void TForm1::readNumbers()
{
    run([this] { SpinEdit1->setValue(settings::StrToInt(readSetting(Setting::X1))); });
    run([this] { SpinEdit2->setValue(settings::StrToInt(readSetting(Setting::Y1))); });
    run([this] { SpinEdit3->setValue(settings::StrToInt(readSetting(Setting::Timer))); });
    run([this] { RadioGroup1->setItemIndex(settings::StrToInt(readSetting(Setting::Option))); });
}

void TForm1::readWindowPosition()
{
    const QSize maximized = m_env.maximizedWindowSize();
    const QSize outer = m_env.outerWindowSize();
    const int defaultTop = maximized.height() / 2 - (outer.height() + 20) / 2;
    const int defaultLeft = maximized.width() / 2 - outer.width() / 2;
    run([&] {
        const int left = settings::StrToInt(ReadRegString(
            SettingsKey, settings::info(Setting::FLeft).name, settings::IntToStr(defaultLeft)));
        move(left, y());
    });
    run([&] {
        const int top = settings::StrToInt(ReadRegString(
            SettingsKey, settings::info(Setting::FTop).name, settings::IntToStr(defaultTop)));
        move(x(), top);
    });
}

void TForm1::FormCreate()
{
    // An error in one step is shown and the start-up goes on with the next one, so that the
    // notification icon and everything after it are always there.
    readOptionCheckBoxes();
    readNumbers();
    readWindowPosition();
    run([this] { m_drop = new platform::FileDropTarget(this); });
    connect(m_drop, &platform::FileDropTarget::filesDropped, this,
        [this](const std::vector<std::string> &names) { run([&] { WMDropFiles(names); }); });
    m_list->clear();
    ListBox2->clear();
    run([this] { ReadListFile(); });
    run([this] { PictureIndex = settings::StrToInt(readSetting(Setting::Index)); });
    // A stored index outside the list (a list file changed by hand) is brought to its
    // nearest end: below -1 to the first row, past the end to the last.
    if (itemCount() > 0 && PictureIndex < 0)
        PictureIndex = 0;
    if (itemCount() > 0 && PictureIndex >= itemCount())
        PictureIndex = itemCount() - 1;
    if (itemCount() == 0)
        PictureIndex = -1;
    if (itemCount() > 0)
        run([this] { SelectPictureIndex(); });
    updateCount();
    run([this] { ReadOptions(); });
    run([this] {
        m_tray = std::make_unique<platform::TrayIcon>(this);
        m_trayIconDataAllocated = true;
        connect(m_tray.get(), &platform::TrayIcon::rightButtonDown, this,
            [this] { run([this] { TrayIconMessage(0x0204); }); });
        connect(m_tray.get(), &platform::TrayIcon::leftButtonDown, this,
            [this] { run([this] { TrayIconMessage(0x0201); }); });
        m_tray->add(programIcon(), TrayTip);
    });
    if (LoadStartOn)
        run([this] { B1Click(); });
    if (AutoQuitOn)
        Timer1->start();
    run([this] { FontMe(); });
    run([this] { showWithoutNotificationArea(); });
}

void TForm1::FontMe()
{
    const bool standard = m_env.pixelsPerInch() == 96;
    const QString face = standard ? QStringLiteral("SSERIFE.FON") : QStringLiteral("SERIFE.FON");
    const int points = standard ? 8 : 6;
    auto setFont = [&](QWidget *w) {
        QFont font = w->font();
        font.setFamily(face);
        font.setPointSize(points);
        w->setFont(font);
    };
    // The window's own controls, in the order they were made; the pictures, the timers and
    // the dialog keep their fonts.
    for (QWidget *w : findChildren<QWidget *>()) {
        if (w->objectName().isEmpty())
            continue; // parts inside a control, not controls of the window
        if (qobject_cast<QPushButton *>(w))
            setFont(w);
        if (qobject_cast<Panel *>(w))
            setFont(w);
        if (qobject_cast<QLabel *>(w) && w != Image1)
            setFont(w);
        if (qobject_cast<QCheckBox *>(w))
            setFont(w);
        if (qobject_cast<RadioGroup *>(w))
            setFont(w);
        if (qobject_cast<QAbstractItemView *>(w))
            setFont(w);
        if (qobject_cast<SpinEdit *>(w))
            setFont(w);
    }
}

// ---------------------------------------------------------------- the list

void TForm1::ReadListFile()
{
    std::string bytes;
    if (!platform::readWholeFile(m_env.listFilePath(), bytes))
        return; // no list file: the list stays empty, silently
    m_list->append(picturelist::parseListFile(bytes));
}

void TForm1::WriteListFile()
{
    std::string error;
    if (!platform::writeFileAtomically(
            m_env.listFilePath(), picturelist::formatListFile(m_list->entries()), &error))
        murelin::showMessage(this, "Unable to save filenames!");
}

std::vector<int> TForm1::selectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex &index : ListBox1->selectionModel()->selectedIndexes()) {
        if (index.column() == 0)
            rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int TForm1::currentRow() const
{
    const QModelIndex index = ListBox1->selectionModel()->currentIndex();
    return index.isValid() ? index.row() : -1;
}

bool TForm1::isRowSelected(int row) const
{
    return ListBox1->selectionModel()->isSelected(m_list->index(row, 0));
}

void TForm1::setRowSelected(int row, bool selected)
{
    const ProgramSelection guard(*this);
    ListBox1->selectionModel()->select(m_list->index(row, 0),
        selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void TForm1::setCurrentRow(int row)
{
    const ProgramSelection guard(*this);
    ListBox1->selectionModel()->setCurrentIndex(
        m_list->index(row, 0), QItemSelectionModel::NoUpdate);
    ListBox1->scrollTo(m_list->index(row, 0));
}

void TForm1::selectOnly(int row)
{
    const ProgramSelection guard(*this);
    ListBox1->selectionModel()->select(m_list->index(row, 0), QItemSelectionModel::ClearAndSelect);
    setCurrentRow(row);
}

void TForm1::clearSelection()
{
    const ProgramSelection guard(*this);
    ListBox1->selectionModel()->clearSelection();
}

void TForm1::SelectPictureIndex()
{
    if (PictureIndex < 0 || PictureIndex >= itemCount())
        throw std::out_of_range("List index out of bounds (" + std::to_string(PictureIndex) + ")");
    selectOnly(PictureIndex);
}

void TForm1::updateCount()
{
    Panel5->setCaption(QString::number(itemCount()));
}

// ---------------------------------------------------------------- placement

std::string TForm1::newEntrySettings() const
{
    return picturelist::makeSettingsString(RadioGroup1->itemIndex(), OriginX, OriginY);
}

void TForm1::WriteOptions()
{
    if (itemCount() == 0)
        return;
    const std::string s = newEntrySettings();
    for (int row : selectedRows())
        m_list->setSettings(row, s);
}

void TForm1::ReadOptions()
{
    if (itemCount() == 0)
        return;
    const int row = currentRow();
    if (row < 0)
        return; // no current item: the controls keep their values
    // A copy: the handlers below rewrite the stored string.
    const std::string s = m_list->entry(row).settings;
    const picturelist::ParsedSettings parsed = picturelist::parseSettingsString(s);
    RadioGroup1->setItemIndex(parsed.mode);
    SpinEdit1->setValue(parsed.x);
    SpinEdit2->setValue(parsed.y);
}

void TForm1::RadioGroup1Click()
{
    switch (RadioGroup1->itemIndex()) {
    case picturelist::Stretch:
        StretchOn = true, CenterOn = false, TiledOn = false, LocationOn = false;
        break;
    case picturelist::Center:
        StretchOn = false, CenterOn = true, TiledOn = false, LocationOn = false;
        break;
    case picturelist::Tiled:
        StretchOn = false, CenterOn = false, TiledOn = true, LocationOn = false;
        break;
    case picturelist::Location:
        StretchOn = true, CenterOn = false, TiledOn = false, LocationOn = true;
        break;
    default:
        break; // nothing chosen: the flags stay
    }
    WriteOptions();
}

void TForm1::SpinEdit1Change()
{
    OriginX = SpinEdit1->value();
    WriteOptions();
}

void TForm1::SpinEdit2Change()
{
    OriginY = SpinEdit2->value();
    WriteOptions();
}

// ---------------------------------------------------------------- option check boxes

void TForm1::AutoQuitClick()
{
    AutoQuitOn = AutoQuit->isChecked();
}

void TForm1::IconClickClick()
{
    IconClickOn = IconClick->isChecked();
}

void TForm1::RandomPickClick()
{
    RandomPickOn = RandomPick->isChecked();
}

void TForm1::LoadStartClick()
{
    LoadStartOn = LoadStart->isChecked();
}

// ---------------------------------------------------------------- shutdown

void TForm1::TimeToGoHome(bool SkipList)
{
    // An error ends this pass (its message shown); the program is ended all the same.
    run([&] {
        if (!SkipList)
            WriteListFile();
        const auto text = [this](Setting id) -> std::string {
            switch (id) {
            case Setting::Index:
                return settings::IntToStr(PictureIndex);
            case Setting::Timer:
                return settings::IntToStr(static_cast<unsigned>(Timer2->interval()) / 1000u);
            case Setting::X1:
                return settings::IntToStr(SpinEdit1->value());
            case Setting::Y1:
                return settings::IntToStr(SpinEdit2->value());
            case Setting::Option:
                return settings::IntToStr(RadioGroup1->itemIndex());
            case Setting::FLeft:
                return settings::IntToStr(x());
            case Setting::FTop:
                return settings::IntToStr(y());
            case Setting::AutoQuit:
                return std::string(settings::boolText(AutoQuit->isChecked()));
            case Setting::RandomPick:
                return std::string(settings::boolText(RandomPick->isChecked()));
            case Setting::IconClick:
                return std::string(settings::boolText(IconClick->isChecked()));
            case Setting::LoadStart:
                return std::string(settings::boolText(LoadStart->isChecked()));
            case Setting::TimedDisplay:
                return std::string(settings::boolText(TimedDisplay->isChecked()));
            case Setting::PreviewOn:
                return std::string(settings::boolText(PreviewOn->isChecked()));
            }
            return {};
        };
        for (Setting id : settings::WriteOrder)
            WriteRegString(SettingsKey, settings::info(id).name, text(id));
        if (m_trayIconDataAllocated && m_tray)
            m_tray->remove();
    });
    exitSequence();
}

void TForm1::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    TimeToGoHome(false);
}

void TForm1::Timer1Timer()
{
    TimeToGoHome(true);
}

void TForm1::exitSequence()
{
    // The window's destruction saves everything; then the process ends. A request to end
    // while this runs ends the process at once.
    if (!m_exiting) {
        m_exiting = true;
        FormDestroy();
    }
    if (!m_ended) {
        m_ended = true;
        m_env.endProcess();
    }
}

void TForm1::closeEvent(QCloseEvent *event)
{
    event->accept();
    exitSequence();
}

void TForm1::WMEndSession()
{
    exitSequence();
}
