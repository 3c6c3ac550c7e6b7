#pragma once

#include "platform/linux/wallpaper/desk_placement.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform::desk {

/**
 * A placement a desktop can draw by itself; anything else we compose and hand over stretched.
 * Span: one picture across all monitors together, each showing its part of it.
 */
enum class NativeMode { Stretch, Center, Tile, Span };

/** One picture for a desktop: for the output named `output`, or for every output when "". */
struct OutputPicture
{
    std::string output;
    std::string path;

    friend bool operator==(const OutputPicture &, const OutputPicture &) = default;
};

/** The desktop's own mode for `placement`, or nothing when it is an origin offset. */
std::optional<NativeMode> nativeMode(const DeskPlacement &placement);

/** The GSettings flavours: which schema, and which keys carry the picture. */
enum class GSettingsFlavour { Gnome, Cinnamon, Mate };

/**
 * Sets the picture (a URI, or a plain path for MATE) and "picture-options" through
 * GSettings, in one change, then syncs and reads the values back: true only when they stuck.
 * False when the schema or one of its keys is not installed (looked up first: a missing schema
 * would otherwise end the process). An empty `path` leaves the picture and sets "none".
 */
bool setGSettingsWallpaper(GSettingsFlavour flavour, const std::string &path, NativeMode mode);

/**
 * Sets "last-image" and "image-style" (1 centred, 2 tiled, 3 stretched) through xfconf on
 * channel "xfce4-desktop" for every /backdrop/screen0/monitorNAME/workspaceN that exists and
 * for every one of `monitors` times `workspaces` (xfdesktop 4.20 writes none of them before
 * the user opens its settings). A backdrop takes the picture for its monitor's name, else the
 * one for all outputs. Paths must be valid UTF-8. With no pictures, image-style 0 (none) goes
 * to the existing ones.
 */
bool setXfconfWallpaper(const std::vector<OutputPicture> &pictures, NativeMode mode,
    const std::vector<std::string> &monitors, int workspaces);

/** xfdesktop's image-style number for `mode`. */
int xfceImageStyle(NativeMode mode);

/** A picture for Plasma: its file URI, for the screen whose top-left corner is at (x, y). */
struct PlasmaImage
{
    std::string uri;
    int x = 0;
    int y = 0;
};

/**
 * The script for plasmashell's evaluateScript that puts the picture at file URI `uri` (its
 * path percent-encoded) with `mode` on every desktop, as an org.kde.image wallpaper. The URI
 * stands in the script as a JavaScript string literal in which every character but plain
 * letters, digits and a few URI marks is escaped, so no name can end the literal.
 */
std::string plasmaScript(const std::string &uri, NativeMode mode);

/**
 * The same for a picture per screen: each desktop takes the image whose corner is its
 * screen's (screenGeometry), the first one when none is.
 */
std::string plasmaScript(const std::vector<PlasmaImage> &images, NativeMode mode);

/** Runs plasmaScript through org.kde.plasmashell /PlasmaShell on the session bus. */
bool setPlasmaWallpaper(const std::vector<PlasmaImage> &images, NativeMode mode);

/**
 * The command line for sway: swaymsg output * bg PATH MODE. sway joins the words again and
 * runs the path through its own command parser and a shell-like word expansion, so only paths
 * of plain characters (letters, digits, "/._-+@%", single inner spaces, UTF-8) can go there as
 * they stand; for any other path there is no command line.
 */
std::optional<std::vector<std::string>> swayCommand(
    const std::string &path, NativeMode mode, const std::string &output = "*");

/** The command line for LXQt: pcmanfm-qt --set-wallpaper PATH --wallpaper-mode MODE. */
std::vector<std::string> pcmanfmQtCommand(const std::string &path, NativeMode mode);

/** The command line for LXDE: pcmanfm --set-wallpaper PATH --wallpaper-mode MODE. */
std::vector<std::string> pcmanfmCommand(const std::string &path, NativeMode mode);

/** swaybg drawing each picture on its output ("*" for all): -o NAME -i PATH -m MODE ... */
std::vector<std::string> swaybgCommand(const std::vector<OutputPicture> &pictures, NativeMode mode);

/**
 * Draws the pictures through the layer-shell protocol with swaybg, started in a session of its
 * own so that it stays when we end. Once it has drawn, the swaybg we started before (recorded
 * in the runtime folder with its start time, so a recycled process number is never taken for
 * it) is ended; any other is left alone. True when the new one has drawn; else it is ended
 * and the one before stays.
 */
bool setSwaybgWallpaper(const std::vector<OutputPicture> &pictures, NativeMode mode);

/** Ends the swaybg we started, if it still runs: the compositor's own background shows. */
bool removeSwaybgWallpaper();

/** Where the swaybg we started is recorded, for `waylandDisplay`; "" without a folder. */
std::string swaybgRecordPath(const char *runtimeDir, const char *waylandDisplay);

/** Where a started command lives: a process group of its own, or a session of its own. */
enum class Session { OwnGroup, OwnSession };

/**
 * Starts `argv` (argv[0] looked up in PATH, never through a shell) with no input and its
 * output discarded, without waiting. Its process number, or -1 when it cannot be started.
 */
pid_t spawnQuietly(const std::vector<std::string> &argv, Session session);

/**
 * Runs `argv` (argv[0] looked up in PATH, never through a shell) with no input and its output
 * discarded, waits at most `timeoutMs` and kills it after that. True when it exited with 0.
 */
bool runCommand(const std::vector<std::string> &argv, int timeoutMs);

/** The time limit of every external command and D-Bus call. */
inline constexpr int commandTimeoutMs = 4000;

/** A file URI for `path` with every byte outside the unreserved set percent-encoded. */
std::string fileUri(const std::string &path);

/** True when `text` is valid UTF-8 (what D-Bus and GSettings strings must be). */
bool isUtf8(const std::string &text);

} // namespace platform::desk
