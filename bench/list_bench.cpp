// Times the picture list at 100,000 entries: reading the list file into the window at start,
// writing it at shutdown, and the list's first paint. Prints figures; asserts nothing.
#include "bench/bench_window.h"
#include "platform/atomic_file.h"
#include "platform/desktop_wallpaper.h"
#include "platform/linux/registry_file.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

double medianMs(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string dir
        = (std::filesystem::temp_directory_path() / "murelin-list-bench").string();
    std::filesystem::create_directories(dir);
    const std::string listPath = dir + "/MurelinAll.txt";
    platform::FileRegistry registry(dir + "/HKEY_CURRENT_USER.reg");
    platform::setCurrentUserRegistry(&registry);

    std::string bytes;
    for (int i = 0; i < entries; ++i)
        bytes += "/home/user/Pictures/wallpapers/folder" + std::to_string(i % 97) + "/picture-"
            + std::to_string(i) + ".bmp\r\n3" + std::to_string(i % 500) + "|"
            + std::to_string(i % 300) + "\r\n";
    platform::writeFileAtomically(listPath, bytes);
    std::printf("list file: %d entries, %zu bytes\n", entries, bytes.size());

    TForm1::Environment env;
    env.listFilePath = [&] { return listPath; };
    env.endProcess = [] {};
    env.setDeskWallpaper = platform::setDeskWallpaper;

    std::vector<double> load, save, paint;
    for (int round = 0; round < 5; ++round) {
        BenchWindow window(env);
        TForm1 &form = window.form();
        QElapsedTimer t;
        t.start();
        form.FormCreate();
        load.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        if (form.itemCount() != entries)
            std::printf("warning: loaded %d entries\n", form.itemCount());
        window.show();
        t.restart();
        window.widget("ListBox1")->repaint();
        QApplication::processEvents();
        paint.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        t.restart();
        form.WriteListFile();
        save.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
        window.hide();
    }
    std::printf("start-up load (FormCreate): median %.1f ms\n", medianMs(load));
    std::printf("shutdown save (WriteListFile): median %.1f ms\n", medianMs(save));
    std::printf("load + save: %.1f ms (target 500 ms)\n", medianMs(load) + medianMs(save));
    std::printf("list's first paint: median %.1f ms\n", medianMs(paint));
    platform::setCurrentUserRegistry(nullptr);
    std::filesystem::remove_all(dir);
    return 0;
}
