#pragma once

// A private world for one test of the window's behaviour: a temporary folder with the list
// file, the registry in memory, a shell that answers every box and dialog and records what the
// window asked of it, a fixed clock, and the wallpaper call recorded with the desktop values
// the system would read.

#include "tests/support/memory_registry.h"
#include "tests/support/temp_dir.h"

#include "app/core/Murelin1.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

inline constexpr const char *SettingsKeyPath = "Software\\Tovrane\\Murelin";
inline constexpr const char *DesktopKeyPath = "Control Panel\\Desktop";
inline constexpr const char *UnableToLoad
    = "Unable to load specified file. File may not exist or be corrupt.";

/** The shell of a test: no window, every request recorded and answered at once. */
class FakeShell : public core::FormShell
{
public:
    TForm1 *form = nullptr;

    std::vector<core::MessageRequest> requests;
    /** The answer to a question; a box with only OK answers Ok. */
    core::MsgAnswer answer = core::MsgAnswer::Yes;
    /** Runs while a box waits for the user (as the box's own event loop would). */
    std::function<void(const core::MessageRequest &)> whileBoxOpen;
    std::vector<core::OpenDialogRequest> dialogs;
    std::vector<std::string> chosen; // the file dialog's answer; empty is a cancel
    /** Runs while the file dialog waits for the user. */
    std::function<void()> whileDialogOpen;
    int closeModalsCalls = 0;

    bool notificationArea = true;
    bool trayShown = false;
    int trayAdds = 0;
    bool dropsAccepted = false;
    bool visible = false;
    core::Size maximized {1032, 776};
    core::Size outer {429, 360};
    int pixelsPerInch_ = 96;
    std::vector<std::pair<std::string, std::string>> helpOpened;

    core::MsgAnswer messageBox(const core::MessageRequest &request) override;
    std::vector<std::string> openDialog(const core::OpenDialogRequest &request) override;
    void closeModals() override { ++closeModalsCalls; }
    bool addTrayIcon() override;
    void removeTrayIcon() override { trayShown = false; }
    bool notificationAreaAvailable() override { return notificationArea; }
    void acceptDroppedFiles() override { dropsAccepted = true; }
    /** As a toolkit does: the window's show event runs FormShow when it was hidden. */
    void showWindow() override;
    void hideWindow() override { visible = false; }
    core::Size maximizedWindowSize() override { return maximized; }
    core::Size outerWindowSize() override { return outer; }
    int pixelsPerInch() override { return pixelsPerInch_; }
    /** Reads the size from a Windows bitmap file's header. */
    core::Size loadBitmap(const std::string &path) override;
    bool openHelp(const std::string &file, const std::string &topic) override;
};

/** One wallpaper call: the path and the four desktop values as the system would read them. */
struct Applied
{
    std::string path;
    std::string tile;
    std::string style;
    std::string x;
    std::string y;

    friend bool operator==(const Applied &, const Applied &) = default;
};
std::string describe(const std::vector<Applied> &calls);

using Entries = std::vector<std::pair<std::string, std::string>>;
/** Settings as stored before a start: (name, text). */
using Stored = std::vector<std::pair<const char *, std::string>>;

struct FormWorld
{
    TempDir dir;
    MemoryRegistry registry;
    FakeShell shell;
    std::string listPath = dir.file("MurelinAll.txt");
    int endProcessCalls = 0;
    std::uint32_t clock = 0;
    std::vector<Applied> calls; // the wallpaper calls of the environment's setDeskWallpaper

    FormWorld() = default;
    FormWorld(const FormWorld &) = delete;
    FormWorld &operator=(const FormWorld &) = delete;

    void store(const char *name, const std::string &text)
    {
        registry.store(SettingsKeyPath, name, text);
    }
    void store(const Stored &values)
    {
        for (const auto &[name, text] : values)
            store(name, text);
    }
    /** The stored text of `name` under `key`, or "<missing>". */
    std::string stored(const char *name, const char *key = SettingsKeyPath) const
    {
        return registry.stored(key, name);
    }
    std::string desk(const char *name) const { return stored(name, DesktopKeyPath); }
    void writeList(const std::string &bytes) { writeFile(listPath, bytes); }
    std::string listBytes() const { return readFile(listPath); }
    /** The texts of every box shown so far. */
    std::vector<std::string> messages() const;

    TForm1::Environment environment();
    /** A window built and started as the program starts it, with `values` stored first. */
    std::unique_ptr<TForm1> start(const Stored &values = {});
    /** A window started on a list of (path, settings) entries, with "Index" stored. */
    std::unique_ptr<TForm1> startWith(const Entries &entries, int index = 0);
    /** A list file of `rows` pictures pathOf(i); row i is centred unless `settings` says. */
    void list(int rows, const std::vector<std::string> &settings = {});
    /** A bitmap file `name` in the folder. */
    std::string bitmap(const std::string &name, int width, int height);
};

inline std::string pathOf(int row)
{
    return "/pictures/p" + std::to_string(row) + ".bmp";
}

/** Entries "/p/<i>.bmp" with settings strings of their own. */
Entries numberedEntries(int count);

/**
 * The list and everything that must follow it, as one line: the entries (path=settings),
 * the current picture, the selected rows, the current item and the count shown.
 */
std::string listState(const TForm1 &form);
/** What listState gives for `entries` with the index `index`, selected and current. */
std::string expectedState(const Entries &entries, int index);
/** The placement controls as "mode x y". */
std::string controls(const TForm1 &form);

/** Selects `rows` as a click and Ctrl-clicks would: the first becomes the current item. */
void userSelects(TForm1 &form, const std::vector<int> &rows);

} // namespace testsupport
