// The background of Wayland compositors that take a layer-shell surface for it: swaybg draws
// it and keeps drawing it after we end.
#include "platform/linux/wallpaper/backends.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace platform::desk {

namespace {

/** The name and start time (clock ticks after boot) of process `pid`, from /proc. */
struct ProcessIdentity
{
    std::string name;
    unsigned long long started = 0;
};

std::optional<ProcessIdentity> processIdentity(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!in || !std::getline(in, stat))
        return std::nullopt;
    // "PID (NAME) STATE ..." where NAME may hold spaces and parentheses: it ends at the last ')'
    const auto open = stat.find('(');
    const auto close = stat.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    // the start time is the 22nd field, the 20th after the name
    for (int i = 0; i < 20 && fields >> field; ++i) { }
    ProcessIdentity identity;
    identity.name = stat.substr(open + 1, close - open - 1);
    try {
        identity.started = std::stoull(field);
    } catch (...) {
        return std::nullopt;
    }
    return identity;
}

std::string recordPath()
{
    return swaybgRecordPath(std::getenv("XDG_RUNTIME_DIR"), std::getenv("WAYLAND_DISPLAY"));
}

bool running(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid)
        return false; // ours, and it has ended
    const auto identity = processIdentity(pid);
    return identity && identity->name == "swaybg";
}

/** Process number and start time of the swaybg recorded at `path`. */
std::optional<std::pair<pid_t, unsigned long long>> readRecord(const std::string &path)
{
    std::ifstream in(path);
    long long pid = 0;
    unsigned long long started = 0;
    if (!(in >> pid >> started) || pid <= 1 || pid > 0x3fffffff)
        return std::nullopt;
    return std::make_pair(static_cast<pid_t>(pid), started);
}

bool writeRecord(const std::string &path, pid_t pid, unsigned long long started)
{
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << pid << ' ' << started << '\n';
        if (!out.flush())
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

/** The time `pid` has run on a processor, in nanoseconds, or nothing when it is gone. */
std::optional<unsigned long long> runTime(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    unsigned long long ns = 0;
    if (!(in >> ns))
        return std::nullopt;
    return ns;
}

/**
 * Waits until swaybg `child` has drawn: it reads its pictures and scales them on the
 * processor, then waits for the compositor with nothing more to do. Drawn when it has run and
 * then stayed idle for 80 ms; false when it ends first (no compositor, no layer shell), or
 * after 5 s.
 */
bool hasDrawn(pid_t child)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(5);
    std::optional<unsigned long long> last;
    auto idleSince = start;
    while (Clock::now() < deadline) {
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child)
            return false;
        const auto now = Clock::now();
        const auto ran = runTime(child);
        if (!ran)
            return false;
        if (ran != last) {
            last = ran;
            idleSince = now;
        } else if (now - idleSince >= std::chrono::milliseconds(80)
            && now - start >= std::chrono::milliseconds(150)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

std::string swaybgRecordPath(const char *runtimeDir, const char *waylandDisplay)
{
    if (!runtimeDir || runtimeDir[0] != '/')
        return {};
    std::string display = waylandDisplay && *waylandDisplay ? waylandDisplay : "wayland-0";
    for (char &c : display) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'
                || c == '_' || c == '.'))
            c = '_';
    }
    return std::string(runtimeDir) + "/murelin-swaybg-" + display + ".pid";
}

bool removeSwaybgWallpaper()
{
    const std::string path = recordPath();
    if (path.empty())
        return false;
    const auto record = readRecord(path);
    if (record) {
        const auto [pid, started] = *record;
        const auto identity = processIdentity(pid);
        // only the very process we started: same name, same start time
        if (identity && identity->name == "swaybg" && identity->started == started) {
            ::kill(pid, SIGTERM);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
            while (running(pid) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (running(pid))
                ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, WNOHANG);
        }
    }
    std::remove(path.c_str());
    return true;
}

bool setSwaybgWallpaper(const std::vector<OutputPicture> &pictures, NativeMode mode)
{
    const std::string record = recordPath();
    if (pictures.empty() || record.empty())
        return false;

    // The new one first, in a session of its own (no hang-up reaches it when our terminal or
    // session leader goes); the one before goes only once the new one has drawn, so the
    // desktop shows the old picture or the new one, never none.
    const pid_t child = spawnQuietly(swaybgCommand(pictures, mode), Session::OwnSession);
    if (child < 0)
        return false;
    if (!hasDrawn(child)) {
        ::kill(child, SIGTERM);
        ::waitpid(child, nullptr, 0);
        return false;
    }
    removeSwaybgWallpaper();
    const auto identity = processIdentity(child);
    return identity && writeRecord(record, child, identity->started);
}

} // namespace platform::desk
