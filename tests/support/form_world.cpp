#include "tests/support/form_world.h"

#include <stdexcept>

namespace testsupport {

core::MsgAnswer FakeShell::messageBox(const core::MessageRequest &request)
{
    requests.push_back(request);
    const int closedBefore = closeModalsCalls;
    if (whileBoxOpen)
        whileBoxOpen(request);
    // Closed while it waited: unanswered.
    if (closeModalsCalls != closedBefore)
        return core::closedAnswer(request.buttons);
    return request.buttons == core::MsgButtons::Ok ? core::MsgAnswer::Ok : answer;
}

std::vector<std::string> FakeShell::openDialog(const core::OpenDialogRequest &request)
{
    dialogs.push_back(request);
    const int closedBefore = closeModalsCalls;
    if (whileDialogOpen)
        whileDialogOpen();
    if (closeModalsCalls != closedBefore)
        return {};
    return chosen;
}

bool FakeShell::addTrayIcon()
{
    ++trayAdds;
    trayShown = notificationArea;
    return notificationArea;
}

void FakeShell::showWindow()
{
    if (visible)
        return;
    visible = true;
    if (form)
        form->run([this] { form->FormShow(); });
}

core::Size FakeShell::loadBitmap(const std::string &path)
{
    const std::string bytes = readFile(path);
    if (bytes.size() < 26 || bytes.compare(0, 2, "BM") != 0)
        throw std::runtime_error("Bitmap image is not valid");
    const auto le32 = [&bytes](size_t at) {
        std::uint32_t v = 0;
        for (size_t i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        return static_cast<int>(v);
    };
    if (le32(14) != 40)
        throw std::runtime_error("Bitmap image is not valid");
    return {le32(18), le32(22)};
}

bool FakeShell::openHelp(const std::string &file, const std::string &topic)
{
    helpOpened.emplace_back(file, topic);
    return true;
}

std::string describe(const std::vector<Applied> &calls)
{
    std::string text;
    for (const Applied &a : calls)
        text += "[" + a.path + " " + a.tile + a.style + " " + a.x + "," + a.y + "]";
    return text;
}

std::vector<std::string> FormWorld::messages() const
{
    std::vector<std::string> texts;
    for (const core::MessageRequest &r : shell.requests)
        texts.push_back(r.text);
    return texts;
}

TForm1::Environment FormWorld::environment()
{
    TForm1::Environment env;
    env.listFilePath = [this] { return listPath; };
    env.timeOfDayMs = [this] { return clock; };
    env.endProcess = [this] { ++endProcessCalls; };
    env.helpFile = "/program/Murelin.hlp";
    env.setDeskWallpaper = [this](const std::string &path) {
        calls.push_back({path, desk("TileWallpaper"), desk("WallpaperStyle"),
            desk("WallpaperOriginX"), desk("WallpaperOriginY")});
        return true;
    };
    return env;
}

std::unique_ptr<TForm1> FormWorld::start(const Stored &values)
{
    store(values);
    auto form = std::make_unique<TForm1>(shell, environment());
    shell.form = form.get();
    form->FormCreate();
    return form;
}

std::unique_ptr<TForm1> FormWorld::startWith(const Entries &entries, int index)
{
    std::string bytes;
    for (const auto &[path, settings] : entries)
        bytes += path + "\r\n" + settings + "\r\n";
    writeList(bytes);
    store("Index", std::to_string(index));
    return start();
}

void FormWorld::list(int rows, const std::vector<std::string> &settings)
{
    std::string bytes;
    for (int i = 0; i < rows; ++i) {
        const size_t at = static_cast<size_t>(i);
        bytes += pathOf(i) + "\r\n" + (at < settings.size() ? settings[at] : "1") + "\r\n";
    }
    writeList(bytes);
}

std::string FormWorld::bitmap(const std::string &name, int width, int height)
{
    const std::string path = dir.file(name);
    writeFile(path, bitmapFile(width, height));
    return path;
}

Entries numberedEntries(int count)
{
    Entries entries;
    for (int i = 0; i < count; ++i)
        entries.emplace_back("/p/" + std::to_string(i) + ".bmp",
            "3" + std::to_string(10 * i) + "|" + std::to_string(i));
    return entries;
}

namespace {

std::string join(const std::vector<int> &rows)
{
    std::string text;
    for (int row : rows)
        text += (text.empty() ? "" : ",") + std::to_string(row);
    return text;
}

} // namespace

std::string listState(const TForm1 &form)
{
    std::string entries;
    for (const picturelist::PictureEntry &e : form.entries())
        entries += (entries.empty() ? "" : ", ") + e.path + "=" + e.settings;
    return entries + " | index " + std::to_string(form.PictureIndex) + " | selected "
        + join(form.ListBox1.selectedRows()) + " | current "
        + std::to_string(form.ListBox1.itemIndex()) + " | count " + form.Panel5.caption();
}

std::string expectedState(const Entries &entries, int index)
{
    std::string text;
    for (const auto &[path, settings] : entries)
        text += (text.empty() ? "" : ", ") + path + "=" + settings;
    const std::string row = index >= 0 ? std::to_string(index) : "";
    return text + " | index " + std::to_string(index) + " | selected " + row + " | current "
        + std::to_string(index) + " | count " + std::to_string(entries.size());
}

std::string controls(const TForm1 &form)
{
    return std::to_string(form.RadioGroup1.itemIndex()) + " "
        + std::to_string(form.SpinEdit1.value()) + " " + std::to_string(form.SpinEdit2.value());
}

void userSelects(TForm1 &form, const std::vector<int> &rows)
{
    if (rows.empty()) {
        form.ListBox1.userSelected({}, form.ListBox1.itemIndex());
        return;
    }
    // A click on the first, then Ctrl+Space on each of the others with the focus kept on the
    // first: the list's click handler runs for each change.
    std::vector<int> chosen;
    for (int row : rows) {
        chosen.push_back(row);
        form.ListBox1.userSelected(chosen, rows.front());
    }
}

} // namespace testsupport
