// Starts the program and reports how long it took, from just before the process was created,
// until the X server shows what a user would see first:
//   startup_probe icon PROGRAM        its notification icon: a viewable window of class
//                                     "murelin" named after the program, docked in the tray
//   startup_probe root RRGGBB PROGRAM the root window's pixel at 500, 400 in that colour
// Prints the milliseconds, then ends the program (SIGTERM, as a log-off would) and waits for
// it, so that the next start is a first instance again. Polls every millisecond; gives up
// after 20 seconds.
//   startup_probe run RRGGBB COMMAND [ARG...]
// runs COMMAND (a click on the program's icon by xdotool, or another wallpaper setter) and
// reports the time until the root's pixel at 500, 400 shows the colour; COMMAND is waited
// for, not ended.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

bool isProgramsIcon(Display *display, Window window)
{
    XWindowAttributes attributes {};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XClassHint hint {};
    if (!XGetClassHint(display, window, &hint))
        return false;
    const bool murelin = hint.res_name && std::strcmp(hint.res_name, "murelin") == 0;
    XFree(hint.res_name);
    XFree(hint.res_class);
    bool named = false;
    // The toolkit names the window in _NET_WM_NAME (UTF-8) and may leave WM_NAME empty.
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    for (const Atom property : {netName, Atom {XA_WM_NAME}}) {
        if (!murelin || named)
            break;
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, window, property, 0, 64, False, AnyPropertyType, &type,
                &format, &items, &after, &data)
                == Success
            && data) {
            const std::string name(reinterpret_cast<char *>(data), items);
            named = name == "Murelin" || name == "murelin";
        }
        if (data)
            XFree(data);
    }
    return named;
}

bool findIcon(Display *display, Window window)
{
    if (isProgramsIcon(display, window))
        return true;
    Window root = 0, parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = findIcon(display, children[i]);
    if (children)
        XFree(children);
    return found;
}

unsigned long rootPixel(Display *display)
{
    XImage *image
        = XGetImage(display, DefaultRootWindow(display), 500, 400, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0UL;
    const unsigned long value = XGetPixel(image, 0, 0) & 0xffffffUL;
    XDestroyImage(image);
    return value;
}

int errorHandler(Display *, XErrorEvent *)
{
    return 0; // a window that went away while being looked at
}

void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 1000; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char **argv)
{
    const bool icon = argc == 3 && std::strcmp(argv[1], "icon") == 0;
    const bool run = argc >= 4 && std::strcmp(argv[1], "run") == 0;
    const bool root = run || (argc == 4 && std::strcmp(argv[1], "root") == 0);
    if (!icon && !root) {
        std::fprintf(stderr,
            "usage: startup_probe icon PROGRAM | root RRGGBB PROGRAM | run RRGGBB COMMAND...\n");
        return 2;
    }
    const unsigned long colour = root ? std::strtoul(argv[2], nullptr, 16) : 0;
    char *program = run ? argv[3] : argv[argc - 1];
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    XSetErrorHandler(errorHandler);
    if (root && rootPixel(display) == colour) {
        std::fprintf(stderr, "startup_probe: the root shows %06lx already\n", colour);
        return 2;
    }

    char *programOnly[] = {program, nullptr};
    char **args = run ? argv + 3 : programOnly;
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, nullptr, nullptr, args, environ) != 0) {
        std::perror(program);
        return 2;
    }
    bool seen = false;
    while (!seen && Clock::now() - start < std::chrono::seconds(20)) {
        seen = icon ? findIcon(display, DefaultRootWindow(display)) : rootPixel(display) == colour;
        if (!seen)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
    if (run)
        waitpid(pid, nullptr, 0);
    else
        endProgram(pid);
    XCloseDisplay(display);
    if (!seen) {
        std::fprintf(stderr, "startup_probe: nothing seen in 20 s\n");
        return 1;
    }
    std::printf("%.1f\n", static_cast<double>(took.count()) / 1000.0);
    return 0;
}
