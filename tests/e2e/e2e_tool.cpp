// A helper for the end-to-end scripts, which have no other way to make a bitmap or look at
// the X11 root:
//   e2e_tool bmp FILE WIDTH HEIGHT RRGGBB   writes a bitmap of one colour
//   e2e_tool pixel X Y                      prints the root window's colour there as RRGGBB
//   e2e_tool rootpmap                       prints the pixmap _XROOTPMAP_ID names, or "none"
//   e2e_tool close WINDOW                   asks the window to close, as a window manager's
//                                           close box does (there is none on a bare server)
#include "tests/support/temp_dir.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fprintf(
        stderr, "usage: e2e_tool bmp FILE W H RRGGBB | pixel X Y | rootpmap | close WINDOW\n");
    return 2;
}

int printPixel(Display *display, int x, int y)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 1;
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    std::printf("%06lx\n", value & 0xffffffUL);
    return 0;
}

int printRootPixmap(Display *display)
{
    const Atom atom = XInternAtom(display, "_XROOTPMAP_ID", True);
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    if (atom == None
        || XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, 1, False, XA_PIXMAP,
               &type, &format, &items, &after, &data)
            != Success
        || type != XA_PIXMAP || items != 1 || !data) {
        if (data)
            XFree(data);
        std::printf("none\n");
        return 0;
    }
    unsigned long id = 0;
    std::memcpy(&id, data, sizeof id);
    XFree(data);
    std::printf("0x%lx\n", id);
    return 0;
}

int askToClose(Display *display, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    if (!XSendEvent(display, window, False, NoEventMask, &event))
        return 1;
    XSync(display, False);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "bmp" && argc == 6) {
        testsupport::writeFile(argv[2],
            testsupport::bitmapFile(std::atoi(argv[3]), std::atoi(argv[4]),
                static_cast<unsigned>(std::strtoul(argv[5], nullptr, 16))));
        return 0;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "e2e_tool: no X display\n");
        return 1;
    }
    int status = 2;
    if (command == "pixel" && argc == 4)
        status = printPixel(display, std::atoi(argv[2]), std::atoi(argv[3]));
    else if (command == "rootpmap" && argc == 2)
        status = printRootPixmap(display);
    else if (command == "close" && argc == 3)
        status = askToClose(display, static_cast<Window>(std::strtoul(argv[2], nullptr, 0)));
    else
        usage();
    XCloseDisplay(display);
    return status;
}
