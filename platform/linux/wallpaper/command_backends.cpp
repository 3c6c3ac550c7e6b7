#include "platform/linux/wallpaper/backends.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace platform::desk {

namespace {

const char *modeWord(NativeMode mode)
{
    switch (mode) {
    case NativeMode::Stretch:
    case NativeMode::Span: // never handed to a command: no row of theirs spans
        return "stretch";
    case NativeMode::Center:
        return "center";
    case NativeMode::Tile:
        return "tile";
    }
    return "stretch";
}

/** Characters that sway's parser and word expansion leave alone. */
bool plainForSway(const std::string &path)
{
    if (path.empty() || path.front() == ' ' || path.back() == ' ' || !isUtf8(path))
        return false;
    char previous = '\0';
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')
            || (u >= '0' && u <= '9') || c == '/' || c == '.' || c == '_' || c == '-' || c == '+'
            || c == '@' || c == '%' || (c == ' ' && previous != ' ');
        if (!plain)
            return false;
        previous = c;
    }
    // sway takes a word that equals a mode name as the end of the path
    for (const char *word : {"stretch", "center", "fill", "fit", "tile", "solid_color"}) {
        std::size_t start = 0;
        while (start <= path.size()) {
            const auto space = path.find(' ', start);
            const std::string part = path.substr(start, space - start);
            if (part.size() == std::strlen(word)
                && std::equal(part.begin(), part.end(), word,
                    [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; }))
                return false;
            if (space == std::string::npos)
                break;
            start = space + 1;
        }
    }
    return true;
}

} // namespace

std::optional<NativeMode> nativeMode(const DeskPlacement &placement)
{
    switch (placement.kind) {
    case PlacementKind::Stretch:
        return NativeMode::Stretch;
    case PlacementKind::Center:
        return NativeMode::Center;
    case PlacementKind::Tile:
        return NativeMode::Tile;
    case PlacementKind::Origin:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> swayCommand(
    const std::string &path, NativeMode mode, const std::string &output)
{
    if (!plainForSway(path) || (output != "*" && !plainForSway(output)))
        return std::nullopt;
    return std::vector<std::string> {"swaymsg", "output", output, "bg", path, modeWord(mode)};
}

std::vector<std::string> pcmanfmQtCommand(const std::string &path, NativeMode mode)
{
    return {"pcmanfm-qt", "--set-wallpaper", path, "--wallpaper-mode", modeWord(mode)};
}

std::vector<std::string> pcmanfmCommand(const std::string &path, NativeMode mode)
{
    return {"pcmanfm", "--set-wallpaper", path, "--wallpaper-mode", modeWord(mode)};
}

std::vector<std::string> swaybgCommand(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    std::vector<std::string> argv {"swaybg"};
    for (const OutputPicture &picture : pictures) {
        argv.insert(argv.end(),
            {"-o", picture.output.empty() ? "*" : picture.output, "-i", picture.path, "-m",
                modeWord(mode)});
    }
    return argv;
}

pid_t spawnQuietly(const std::vector<std::string> &argv, Session session)
{
    if (argv.empty())
        return -1;
    std::vector<char *> args;
    args.reserve(argv.size() + 1);
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (session == Session::OwnSession) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    } else {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, args[0], &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return spawned == 0 ? child : -1;
}

bool runCommand(const std::vector<std::string> &argv, int timeoutMs)
{
    // Its own process group, so that a time-out ends whatever it started as well.
    const pid_t child = spawnQuietly(argv, Session::OwnGroup);
    if (child < 0)
        return false;

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::microseconds(500);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (Clock::now() >= deadline) {
            ::kill(-child, SIGKILL);
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) { }
            return false;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
}

std::string fileUri(const std::string &path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        const bool unreserved = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')
            || (u >= '0' && u <= '9') || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (unreserved) {
            uri += c;
        } else {
            uri += '%';
            uri += hex[u >> 4];
            uri += hex[u & 15];
        }
    }
    return uri;
}

bool isUtf8(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        unsigned int point = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xe0) == 0xc0) {
            length = 2;
            point = lead & 0x1fu;
        } else if ((lead & 0xf0) == 0xe0) {
            length = 3;
            point = lead & 0x0fu;
        } else if ((lead & 0xf8) == 0xf0) {
            length = 4;
            point = lead & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80)
                return false;
            point = (point << 6) | (next & 0x3fu);
        }
        const unsigned int smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < smallest[length] || point > 0x10ffff || (point >= 0xd800 && point <= 0xdfff))
            return false;
        i += length;
    }
    return true;
}

} // namespace platform::desk
