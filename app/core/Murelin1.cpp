// Start-up, the list file, the placement controls, the option check boxes and shutdown.
#include "app/core/Murelin1.h"

#include "app/core/layout.h"
#include "app/core/settings_binding.h"
#include "picturelist/list_file.h"
#include "picturelist/settings_string.h"
#include "platform/paths.h"
#include "settings/numtext.h"
#include "settings/regstring.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <utility>
#include <variant>

using settings::Setting;

namespace {

TForm1::Environment withDefaults(TForm1::Environment env)
{
    if (!env.listFilePath) {
        env.listFilePath = [] {
            const std::string dir = platform::executableDirectory();
            const bool writable = platform::isDirectoryWritable(dir);
            return picturelist::listFilePath(
                dir, writable, writable ? std::string() : platform::userDataDirectory());
        };
    }
    if (!env.timeOfDayMs) {
        env.timeOfDayMs = [] {
            using namespace std::chrono;
            const auto now = system_clock::now().time_since_epoch();
            return static_cast<std::uint32_t>(duration_cast<milliseconds>(now).count() % 86400000);
        };
    }
    if (env.helpFile.empty())
        env.helpFile = platform::dataFilePath(platform::helpFileName());
    if (!env.endProcess) {
        env.endProcess = [] {
            std::fflush(nullptr);
            std::_Exit(0);
        };
    }
    return env;
}

} // namespace

TForm1::TForm1(core::FormShell &shell, Environment environment)
    : m_shell(shell)
    , m_env(withDefaults(std::move(environment)))
{
    wireEvents();
}

core::SpinEdit TForm1::spinEditOf(std::string_view name)
{
    const core::layout::ControlLayout &c = core::layout::control(name);
    return {c.minValue, c.maxValue};
}

core::Picture TForm1::pictureOf(std::string_view name)
{
    const core::layout::ControlLayout &c = core::layout::control(name);
    return {c.left, c.top, c.width, c.height};
}

std::function<void()> TForm1::handler(void (TForm1::*method)())
{
    return [this, method] { run([this, method] { (this->*method)(); }); };
}

void TForm1::wireEvents()
{
    ListBox1.onClick = handler(&TForm1::ListBox1Click);
    ListBox1.onKeyDown = [this](core::Key key) { run([this, key] { ListBox1KeyDown(key); }); };
    RadioGroup1.onClick = handler(&TForm1::RadioGroup1Click);
    SpinEdit1.onChange = handler(&TForm1::SpinEdit1Change);
    SpinEdit2.onChange = handler(&TForm1::SpinEdit2Change);
    SpinEdit3.onChange = handler(&TForm1::SpinEdit3Change);
    PreviewOn.onClick = handler(&TForm1::PreviewOnClick);
    TimedDisplay.onClick = handler(&TForm1::TimedDisplayClick);
    AutoQuit.onClick = handler(&TForm1::AutoQuitClick);
    LoadStart.onClick = handler(&TForm1::LoadStartClick);
    IconClick.onClick = handler(&TForm1::IconClickClick);
    RandomPick.onClick = handler(&TForm1::RandomPickClick);
    Timer1.onTimer = handler(&TForm1::Timer1Timer);
    Timer2.onTimer = handler(&TForm1::Timer2Timer);
}

void TForm1::buttonClick(std::string_view name)
{
    static constexpr std::pair<std::string_view, void (TForm1::*)()> buttons[] = {
        {"BitBtn1", &TForm1::B1Click},
        {"BitBtn2", &TForm1::B5Click},
        {"BitBtn3", &TForm1::B7Click},
        {"BitBtn4", &TForm1::B4Click},
        {"BitBtn5", &TForm1::B2Click},
        {"BitBtn6", &TForm1::B3Click},
        {"BitBtn7", &TForm1::B10Click},
        {"BitBtn8", &TForm1::B6Click},
        {"BitBtn9", &TForm1::B8Click},
        {"BitBtn10", &TForm1::B9Click},
    };
    for (const auto &[button, method] : buttons) {
        if (button == name)
            return handler(method)();
    }
    throw std::logic_error("no button " + std::string(name));
}

namespace {

using ModelMember
    = std::variant<core::ListBox TForm1::*, core::CheckBox TForm1::*, core::SpinEdit TForm1::*,
        core::RadioGroup TForm1::*, core::Panel TForm1::*, core::Picture TForm1::*>;

/** The layout's controls that have a model, and the member of the form that holds it. */
constexpr std::pair<std::string_view, ModelMember> Models[] = {
    {"ListBox1", &TForm1::ListBox1},
    {"ListBox2", &TForm1::ListBox2},
    {"ListBox3", &TForm1::ListBox3},
    {"TimedDisplay", &TForm1::TimedDisplay},
    {"SpinEdit3", &TForm1::SpinEdit3},
    {"RadioGroup1", &TForm1::RadioGroup1},
    {"SpinEdit1", &TForm1::SpinEdit1},
    {"SpinEdit2", &TForm1::SpinEdit2},
    {"PreviewOn", &TForm1::PreviewOn},
    {"JPEGImage1", &TForm1::JPEGImage1},
    {"AutoQuit", &TForm1::AutoQuit},
    {"LoadStart", &TForm1::LoadStart},
    {"IconClick", &TForm1::IconClick},
    {"RandomPick", &TForm1::RandomPick},
    {"Panel5", &TForm1::Panel5},
    {"Panel6", &TForm1::Panel6},
};

const ModelMember *memberFor(std::string_view name)
{
    for (const auto &[control, member] : Models) {
        if (control == name)
            return &member;
    }
    core::layout::control(name); // raises for a name the layout does not have
    return nullptr;
}

} // namespace

template <typename Model> Model *TForm1::model(std::string_view name)
{
    const ModelMember *member = memberFor(name);
    const auto *typed = member ? std::get_if<Model TForm1::*>(member) : nullptr;
    return typed ? &(this->**typed) : nullptr;
}

template core::ListBox *TForm1::model(std::string_view);
template core::CheckBox *TForm1::model(std::string_view);
template core::SpinEdit *TForm1::model(std::string_view);
template core::RadioGroup *TForm1::model(std::string_view);
template core::Panel *TForm1::model(std::string_view);
template core::Picture *TForm1::model(std::string_view);

core::Control *TForm1::controlModel(std::string_view name)
{
    const ModelMember *member = memberFor(name);
    if (!member)
        return nullptr;
    return std::visit([this](auto held) -> core::Control * { return &(this->*held); }, *member);
}

void TForm1::windowShown()
{
    run([this] { FormShow(); });
}

void TForm1::windowMinimized()
{
    run([this] { AppOnMinimize(); });
}

void TForm1::trayIconMouse(std::uint32_t message)
{
    run([this, message] { TrayIconMessage(message); });
}

void TForm1::filesDropped(const std::vector<std::string> &names)
{
    run([this, &names] { WMDropFiles(names); });
}

// ---------------------------------------------------------------- the event dispatch

bool TForm1::showingErrors(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const std::exception &error) {
        showMessage(error.what());
    } catch (...) {
        showMessage("Unknown error");
    }
    return false;
}

bool TForm1::run(const std::function<void()> &step)
{
    ++m_runDepth;
    const bool ok = showingErrors(step);
    --m_runDepth;
    if (afterEvent)
        afterEvent();
    // An end request that came while a box waited inside this handler ends the program now,
    // through the normal saving path.
    if (m_runDepth == 0 && m_endRequested && !m_starting)
        exitSequence();
    return ok;
}

core::MsgAnswer TForm1::ask(const core::MessageRequest &request)
{
    const Modal modal(*this);
    return m_shell.messageBox(request);
}

void TForm1::showMessage(const std::string &text)
{
    ask(core::MessageRequest {text, std::string(core::layout::ApplicationTitle),
        core::MsgIcon::None, core::MsgButtons::Ok, core::MsgAnswer::Ok});
}

// ---------------------------------------------------------------- start-up

void TForm1::startupStep(const std::function<void()> &step)
{
    if (m_endRequested)
        return;
    run(step);
    // Ended while one of the start-up's boxes waited: nothing has been read in full, so
    // nothing is written.
    if (m_endRequested)
        endWithoutSaving();
}

void TForm1::readSetting(Setting setting)
{
    const settings::SettingInfo &info = settings::info(setting);
    std::string defaultText(info.defaultText);
    if (setting == Setting::FLeft || setting == Setting::FTop) {
        // Centred on the area of a maximised window.
        const core::Size maximized = m_shell.maximizedWindowSize();
        const core::Size outer = m_shell.outerWindowSize();
        defaultText = settings::IntToStr(setting == Setting::FLeft
                ? maximized.width / 2 - outer.width / 2
                : maximized.height / 2 - (outer.height + 20) / 2);
    }
    startupStep([&] {
        core::binding(setting).apply(
            *this, settings::ReadRegString(settings::SettingsKey, info.name, defaultText));
    });
}

void TForm1::FormCreate()
{
    // An error in one step is shown and the start-up goes on with the next one, so that the
    // notification icon and everything after it are always there.
    m_starting = true;
    // The stored settings in their order, up to "Index", which needs the list.
    for (Setting id : settings::ReadOrder) {
        if (id != Setting::Index)
            readSetting(id);
    }
    startupStep([this] { m_shell.acceptDroppedFiles(); });
    ListBox1.clear();
    ListBox2.clear();
    ListBox3.clear();
    startupStep([this] { ReadListFile(); });
    readSetting(Setting::Index);
    if (!m_endRequested) {
        // A stored index outside the list (a list file changed by hand) is brought to its
        // nearest end: below -1 to the first row, past the end to the last.
        if (itemCount() > 0 && PictureIndex < 0)
            PictureIndex = 0;
        if (itemCount() > 0 && PictureIndex >= itemCount())
            PictureIndex = itemCount() - 1;
        if (itemCount() == 0)
            PictureIndex = -1;
    }
    if (itemCount() > 0)
        startupStep([this] { SelectPictureIndex(); });
    updateCount();
    startupStep([this] { ReadOptions(); });
    startupStep([this] {
        // The icon's record exists from here on, whether the system took the icon or not.
        m_trayIconAdded = true;
        m_shell.addTrayIcon();
    });
    if (LoadStartOn)
        startupStep([this] { B1Click(); });
    if (AutoQuitOn && !m_endRequested)
        Timer1.setEnabled(true);
    startupStep([this] { FontMe(); });
    startupStep([this] { showWithoutNotificationArea(); });
    m_starting = false;
    m_started = !m_endRequested;
}

void TForm1::FontMe()
{
    const bool standard = m_shell.pixelsPerInch() == 96;
    Form1.setFont(
        std::string(standard ? core::layout::StandardFontFace : core::layout::OtherFontFace),
        standard ? core::layout::StandardFontPoints : core::layout::OtherFontPoints);
}

// ---------------------------------------------------------------- the list

void TForm1::ReadListFile()
{
    // No list file gives an empty list, silently; one that is there but cannot be read is kept
    // as it is, never written over by the empty list.
    picturelist::ListFileRead read = picturelist::readListFile(m_env.listFilePath());
    m_listState = read.state;
    appendEntries(read.entries);
}

void TForm1::WriteListFile()
{
    if (!picturelist::writeListFile(m_env.listFilePath(), entries()))
        showMessage("Unable to save filenames!");
}

picturelist::PictureEntry TForm1::entry(int row) const
{
    return {ListBox1.item(row), ListBox3.item(row)};
}

picturelist::PictureEntries TForm1::entries() const
{
    picturelist::PictureEntries all;
    all.reserve(static_cast<std::size_t>(itemCount()));
    for (int row = 0; row < itemCount(); ++row)
        all.push_back(entry(row));
    return all;
}

namespace {

/** The entries' paths and their settings strings, the rows of the two lists that hold them. */
std::pair<std::vector<std::string>, std::vector<std::string>> columns(
    picturelist::PictureEntries entries)
{
    std::pair<std::vector<std::string>, std::vector<std::string>> rows;
    rows.first.reserve(entries.size());
    rows.second.reserve(entries.size());
    for (picturelist::PictureEntry &e : entries) {
        rows.first.push_back(std::move(e.path));
        rows.second.push_back(std::move(e.settings));
    }
    return rows;
}

} // namespace

void TForm1::setEntries(picturelist::PictureEntries all)
{
    auto [paths, settings] = columns(std::move(all));
    ListBox3.setItems(std::move(settings));
    ListBox1.setItems(std::move(paths));
}

void TForm1::appendEntries(const picturelist::PictureEntries &added)
{
    const auto [paths, settings] = columns(added);
    ListBox3.append(settings);
    ListBox1.append(paths);
}

void TForm1::SelectPictureIndex()
{
    if (PictureIndex < 0 || PictureIndex >= itemCount())
        throw std::out_of_range("List index out of bounds (" + std::to_string(PictureIndex) + ")");
    ListBox1.selectOnly(PictureIndex);
}

void TForm1::updateCount()
{
    Panel5.setCaption(settings::IntToStr(itemCount()));
}

// ---------------------------------------------------------------- placement

std::string TForm1::newEntrySettings() const
{
    return picturelist::makeSettingsString(RadioGroup1.itemIndex(), OriginX, OriginY);
}

void TForm1::WriteOptions()
{
    if (itemCount() == 0)
        return;
    const std::string s = newEntrySettings();
    for (int row : ListBox1.selectedRows())
        ListBox3.setItem(row, s);
}

void TForm1::ReadOptions()
{
    if (itemCount() == 0)
        return;
    const int row = ListBox1.itemIndex();
    if (row < 0)
        return; // no current item: the controls keep their values
    // A copy: the handlers below rewrite the stored string.
    const std::string s = ListBox3.item(row);
    const picturelist::ParsedSettings parsed = picturelist::parseSettingsString(s);
    RadioGroup1.setItemIndex(parsed.mode);
    SpinEdit1.setValue(parsed.x);
    SpinEdit2.setValue(parsed.y);
}

void TForm1::RadioGroup1Click()
{
    switch (RadioGroup1.itemIndex()) {
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
    OriginX = SpinEdit1.value();
    WriteOptions();
}

void TForm1::SpinEdit2Change()
{
    OriginY = SpinEdit2.value();
    WriteOptions();
}

// ---------------------------------------------------------------- option check boxes

void TForm1::AutoQuitClick()
{
    AutoQuitOn = AutoQuit.checked();
}

void TForm1::IconClickClick()
{
    IconClickOn = IconClick.checked();
}

void TForm1::RandomPickClick()
{
    RandomPickOn = RandomPick.checked();
}

void TForm1::LoadStartClick()
{
    LoadStartOn = LoadStart.checked();
}

// ---------------------------------------------------------------- shutdown

void TForm1::saveState(bool SkipList)
{
    // What was never read is never written: a list that could not be read stays as it is,
    // and so does the stored current picture that belongs to it.
    const bool listLoaded = m_listState != ListState::Unreadable;
    if (!SkipList && listLoaded)
        WriteListFile();
    for (Setting id : settings::WriteOrder) {
        const core::SettingBinding &b = core::binding(id);
        if (b.ofTheList && !listLoaded)
            continue;
        settings::WriteRegString(settings::SettingsKey, settings::info(id).name, b.text(*this));
    }
}

void TForm1::TimeToGoHome(bool SkipList)
{
    // An error ends this pass (its message shown); the program is ended all the same.
    run([&] {
        saveState(SkipList);
        if (m_trayIconAdded)
            m_shell.removeTrayIcon();
    });
    exitSequence();
}

void TForm1::SaveSession()
{
    if (!m_started || m_exiting)
        return;
    run([this] { saveState(false); });
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

void TForm1::endWithoutSaving()
{
    if (m_ended)
        return;
    m_ended = true;
    m_exiting = true;
    if (m_trayIconAdded)
        m_shell.removeTrayIcon();
    m_env.endProcess();
}

void TForm1::WMEndSession()
{
    if (m_ended)
        return;
    if (m_starting || modalOpen()) {
        // Held until the box is closed and its handler has run to its end.
        m_endRequested = true;
        if (modalOpen())
            m_shell.closeModals();
        return;
    }
    exitSequence();
}

void TForm1::endSessionNow()
{
    if (m_ended)
        return;
    if (!m_starting && !modalOpen()) {
        exitSequence();
        return;
    }
    // The box's own loop would unwind only after the process is gone: it is closed, and
    // nothing waits for it.
    m_endRequested = true;
    if (modalOpen())
        m_shell.closeModals();
    if (m_starting) {
        endWithoutSaving();
        return;
    }
    if (m_exiting) {
        // A box of the saving itself (the list could not be written): what that pass had
        // still to do.
        run([this] {
            saveState(true);
            if (m_trayIconAdded)
                m_shell.removeTrayIcon();
        });
        m_ended = true;
        m_env.endProcess();
        return;
    }
    exitSequence();
}
