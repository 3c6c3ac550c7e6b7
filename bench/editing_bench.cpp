// Times the list editing commands on a 100,000-entry list: Sort, Remove of every other row,
// and Up and Down at the end of the list. Each command is run through the window's button
// (the handler with everything it shows afterwards, then the pending repaint) and, for
// comparison, over the entries alone. Prints medians of several rounds; asserts nothing.
#include "bench/bench_window.h"
#include "picturelist/list_commands.h"
#include "platform/desktop_wallpaper.h"
#include "platform/linux/registry_file.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int Rounds = 5;

double medianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

/** Runs `prepare` (untimed) then `step` (timed) `Rounds` times; the median in ms. */
double timeIt(const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        prepare();
        QElapsedTimer t;
        t.start();
        step();
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return medianMs(times);
}

picturelist::PictureEntries shuffledEntries(int count)
{
    picturelist::PictureEntries entries;
    entries.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        entries.push_back({"/home/user/Pictures/wallpapers/Folder" + std::to_string(i % 97)
                + "/picture-" + std::to_string(i) + ".bmp",
            "3" + std::to_string(i % 500) + "|" + std::to_string(i % 300)});
    std::mt19937 random(12345);
    std::shuffle(entries.begin(), entries.end(), random);
    return entries;
}

void report(const char *what, double windowMs, double entriesMs, double targetMs)
{
    std::printf("%-34s window %8.1f ms   entries alone %8.1f ms   (target %.0f ms)%s\n", what,
        windowMs, entriesMs, targetMs, windowMs > targetMs ? "  OVER" : "");
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string dir
        = (std::filesystem::temp_directory_path() / "murelin-editing-bench").string();
    std::filesystem::create_directories(dir);
    platform::FileRegistry registry(dir + "/HKEY_CURRENT_USER.reg");
    platform::setCurrentUserRegistry(&registry);

    TForm1::Environment env;
    env.listFilePath = [&] { return dir + "/MurelinAll.txt"; };
    env.endProcess = [] {};
    env.setDeskWallpaper = platform::setDeskWallpaper;
    BenchWindow window(env);
    TForm1 &form = window.form();
    form.FormCreate();
    window.show();
    QApplication::processEvents();

    const picturelist::PictureEntries original = shuffledEntries(count);
    std::printf("list of %d entries, %d rounds each, median\n", count, Rounds);

    auto load = [&] {
        form.setEntries(original);
        form.PictureIndex = 0;
        form.ListBox1.selectOnly(0);
        QApplication::processEvents();
    };
    auto click = [&](const char *button) {
        return [&window, button] {
            static_cast<QPushButton *>(window.widget(button))->click();
            QApplication::processEvents();
        };
    };
    auto selectEveryOtherRow = [&] {
        for (int row = 0; row < form.itemCount(); row += 2)
            form.ListBox1.setSelected(row, true);
    };
    auto selectLast = [&](int fromEnd) {
        return [&, fromEnd] {
            form.PictureIndex = form.itemCount() - 1 - fromEnd;
            form.ListBox1.selectOnly(form.PictureIndex);
        };
    };

    picturelist::PictureEntries entries;
    std::int32_t index = 0;

    const double sortWindow = timeIt(load, click("BitBtn6"));
    const double sortAlone
        = timeIt([&] { entries = original; }, [&] { picturelist::sortEntries(entries); });
    report("Sort", sortWindow, sortAlone, 300);

    std::vector<int> everyOther;
    for (int row = 0; row < count; row += 2)
        everyOther.push_back(row);
    const double removeWindow = timeIt(
        [&] {
            load();
            selectEveryOtherRow();
            form.PictureIndex = count - 1;
        },
        click("BitBtn8"));
    if (form.itemCount() != count / 2)
        std::printf("warning: %d entries left after Remove\n", form.itemCount());
    const double removeAlone = timeIt([&] { entries = original; },
        [&] {
            picturelist::eraseRows(entries, everyOther);
            index = picturelist::indexAfterRemove(count - 1, static_cast<int>(entries.size()));
        });
    report("Remove of every other row", removeWindow, removeAlone, 100);

    load();
    const double upWindow = timeIt(selectLast(0), click("BitBtn9"));
    const double upAlone = timeIt([&] { entries = original; },
        [&] {
            if (const auto move = picturelist::moveUp(count - 1, count)) {
                picturelist::applyMove(entries, *move);
                index = move->to;
            }
        });
    report("Up on the last row", upWindow, upAlone, 100);

    const double downWindow = timeIt(selectLast(1), click("BitBtn10"));
    const double downAlone = timeIt([&] { entries = original; },
        [&] {
            if (const auto move = picturelist::moveDown(count - 2, count)) {
                picturelist::applyMove(entries, *move);
                index = move->to;
            }
        });
    report("Down onto the last row", downWindow, downAlone, 100);
    if (index < 0)
        std::printf("(index %d)\n", index);

    window.hide();
    platform::setCurrentUserRegistry(nullptr);
    std::filesystem::remove_all(dir);
    return 0;
}
