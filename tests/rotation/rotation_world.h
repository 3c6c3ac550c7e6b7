#pragma once

// A private world for the window's rotation tests: the fixture of the window tests, with the
// wallpaper call recorded together with the desktop values it would read, a fixed clock and
// a recorded help viewer.

#include "app/window_fixture.h"

#include "platform/desktop_wallpaper.h"

#include <QItemSelectionModel>
#include <QMetaType>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

Q_DECLARE_METATYPE(std::vector<int>)

/** One wallpaper call: the path and the four desktop values as the system would read them. */
struct Applied
{
    std::string path;
    std::string tile;
    std::string style;
    std::string x;
    std::string y;

    bool operator==(const Applied &) const = default;
};

inline std::string describe(const std::vector<Applied> &calls)
{
    std::string text;
    for (const Applied &a : calls)
        text += "[" + a.path + " " + a.tile + a.style + " " + a.x + "," + a.y + "]";
    return text;
}

inline std::string pathOf(int row)
{
    return "/pictures/p" + std::to_string(row) + ".bmp";
}

struct RotationWorld : WindowWorld
{
    std::vector<Applied> calls;
    std::uint32_t clock = 0;
    std::vector<std::pair<std::string, std::string>> helpOpened;

    RotationWorld()
    {
        platform::setDeskWallpaperHook([this](const std::string &path) {
            calls.push_back({path, desk("TileWallpaper"), desk("WallpaperStyle"),
                desk("WallpaperOriginX"), desk("WallpaperOriginY")});
            return true;
        });
    }
    ~RotationWorld() { platform::setDeskWallpaperHook({}); }

    std::string desk(const char *name) { return stored(name, "Control Panel\\Desktop"); }

    /** A list of `rows` pictures; row i is centred unless `settings` gives its own. */
    void list(int rows, const std::vector<std::string> &settings = {})
    {
        std::string bytes;
        for (int i = 0; i < rows; ++i) {
            const size_t at = static_cast<size_t>(i);
            bytes += pathOf(i) + "\r\n" + (at < settings.size() ? settings[at] : "1") + "\r\n";
        }
        writeList(bytes);
    }

    std::unique_ptr<TForm1> startForm()
    {
        TForm1::Environment env = environment();
        env.timeOfDayMs = [this] { return clock; };
        env.openHelp = [this](const std::string &file, const std::string &topic) {
            helpOpened.emplace_back(file, topic);
            return true;
        };
        auto form = std::make_unique<TForm1>(env);
        form->FormCreate();
        return form;
    }
};

/** Selects `rows` as a click and Ctrl-clicks would: the first becomes the current item. */
inline void userSelects(TForm1 &form, const std::vector<int> &rows)
{
    QItemSelectionModel *model = form.ListBox1->selectionModel();
    if (rows.empty()) {
        model->clearSelection();
        return;
    }
    model->setCurrentIndex(
        form.pictureList()->index(rows.front(), 0), QItemSelectionModel::ClearAndSelect);
    for (size_t i = 1; i < rows.size(); ++i)
        model->select(form.pictureList()->index(rows[i], 0), QItemSelectionModel::Select);
}
