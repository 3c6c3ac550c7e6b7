#include "platform/linux/wallpaper/x11_root.h"

// Xlib's macros (None, Bool, Status ...) clash with Qt: Qt comes first, Xlib last.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace platform::desk {

namespace {

constexpr int PopulateWrite = 23; // MADV_POPULATE_WRITE, newer than some system headers

constexpr Atom pixmapType = 20; // XA_PIXMAP
constexpr Atom cardinalType = 6; // XA_CARDINAL

/** Collects X errors instead of letting Xlib's default handler end the process. */
class ErrorTrap
{
public:
    ErrorTrap()
    {
        s_errors = 0;
        m_previous = XSetErrorHandler(&ErrorTrap::handler);
    }
    ~ErrorTrap() { XSetErrorHandler(m_previous); }
    ErrorTrap(const ErrorTrap &) = delete;
    ErrorTrap &operator=(const ErrorTrap &) = delete;

    /** True when an error arrived since the last call (after a round trip). */
    static bool failed(Display *display)
    {
        XSync(display, False);
        const bool any = s_errors != 0;
        s_errors = 0;
        return any;
    }

private:
    static int handler(Display *, XErrorEvent *)
    {
        ++s_errors;
        return 0;
    }
    static inline int s_errors = 0;
    XErrorHandler m_previous = nullptr;
};

struct DisplayCloser
{
    void operator()(Display *display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

DisplayPtr openDisplay()
{
    const char *name = std::getenv("DISPLAY");
    if (!name || !*name)
        return nullptr;
    return DisplayPtr(XOpenDisplay(name));
}

/** The single 32-bit item of a property of `window`, when it has one of type `type`. */
std::optional<unsigned long> cardinalProperty(
    Display *display, Window window, Atom property, Atom type)
{
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType,
        &actualFormat, &items, &remaining, &data);
    std::optional<unsigned long> value;
    if (status == Success && data && actualType == type && actualFormat == 32 && items == 1) {
        unsigned long item = 0;
        std::memcpy(&item, data, sizeof item); // format-32 items are longs on the client side
        value = item;
    }
    if (data)
        XFree(data);
    return value;
}

int bitsPerPixelForDepth(Display *display, int depth)
{
    int count = 0;
    XPixmapFormatValues *formats = XListPixmapFormats(display, &count);
    int bits = 0;
    for (int i = 0; formats && i < count; ++i) {
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    }
    if (formats)
        XFree(formats);
    return bits;
}

/** A channel value (0..255) moved into `mask`'s place. */
unsigned long toMask(unsigned int value, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const unsigned long scaled = width >= 8 ? (static_cast<unsigned long>(value) << (width - 8))
                                            : (static_cast<unsigned long>(value) >> (8 - width));
    return (scaled << shift) & mask;
}

/** Whether pixels of `visual` at `depth` are Format_RGB32's 0xffRRGGBB words as they stand. */
bool takesRgb32(Display *display, Visual *visual, int depth)
{
    return bitsPerPixelForDepth(display, depth) == 32 && (depth == 24 || depth == 32)
        && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00
        && visual->blue_mask == 0xff;
}

/** Copies `image` (Format_RGB32, the pixmap's size) into `pixmap`. */
bool putPicture(Display *display, Pixmap pixmap, Visual *visual, int depth, const QImage &image)
{
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    const int width = image.width();
    const int height = image.height();
    const bool direct = takesRgb32(display, visual, depth);
    bool ok = true;
    if (direct) {
        // Format_RGB32 is 0xffRRGGBB in host order: exactly a 24-bit TrueColor pixel.
        XImage frame {};
        frame.width = width;
        frame.height = height;
        frame.xoffset = 0;
        frame.format = ZPixmap;
        frame.data = const_cast<char *>(reinterpret_cast<const char *>(image.constBits()));
        frame.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
        frame.bitmap_unit = 32;
        frame.bitmap_bit_order = frame.byte_order;
        frame.bitmap_pad = 32;
        frame.depth = depth;
        frame.bytes_per_line = static_cast<int>(image.bytesPerLine());
        frame.bits_per_pixel = 32;
        frame.red_mask = visual->red_mask;
        frame.green_mask = visual->green_mask;
        frame.blue_mask = visual->blue_mask;
        ok = XInitImage(&frame) != 0;
        if (ok)
            XPutImage(display, pixmap, gc, &frame, 0, 0, 0, 0, static_cast<unsigned>(width),
                static_cast<unsigned>(height));
    } else {
        XImage *frame = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
            nullptr, static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
        if (frame) {
            const auto size = static_cast<std::size_t>(frame->bytes_per_line)
                * static_cast<std::size_t>(height);
            frame->data = static_cast<char *>(std::malloc(size));
        }
        ok = frame && frame->data;
        for (int y = 0; ok && y < height; ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                const QRgb c = row[x];
                XPutPixel(frame, x, y,
                    toMask(static_cast<unsigned>(qRed(c)), visual->red_mask)
                        | toMask(static_cast<unsigned>(qGreen(c)), visual->green_mask)
                        | toMask(static_cast<unsigned>(qBlue(c)), visual->blue_mask));
            }
        }
        if (ok)
            XPutImage(display, pixmap, gc, frame, 0, 0, 0, 0, static_cast<unsigned>(width),
                static_cast<unsigned>(height));
        if (frame)
            XDestroyImage(frame); // frees the data too
    }
    XFreeGC(display, gc);
    return ok;
}

/**
 * A picture in memory the X server reads itself (MIT-SHM): the pixels are composed into it
 * once and the server copies them into the pixmap, with nothing sent over the connection.
 * Only for a server on this machine whose pixels are Format_RGB32's.
 */
class SharedFrame
{
public:
    SharedFrame(Display *display, Visual *visual, int depth, int width, int height)
        : m_display(display)
    {
        if (!XShmQueryExtension(display))
            return;
        m_image = XShmCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, nullptr,
            &m_segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (!m_image || m_image->bits_per_pixel != 32)
            return;
        const auto size
            = static_cast<std::size_t>(m_image->bytes_per_line) * static_cast<std::size_t>(height);
        m_segment.shmid = ::shmget(IPC_PRIVATE, size, IPC_CREAT | 0600);
        if (m_segment.shmid < 0)
            return;
        void *address = ::shmat(m_segment.shmid, nullptr, 0);
        // Marked for removal at once: it goes when both sides have let go, even if we crash.
        ::shmctl(m_segment.shmid, IPC_RMID, nullptr);
        if (address == reinterpret_cast<void *>(-1))
            return;
        m_segment.shmaddr = m_image->data = static_cast<char *>(address);
        // Its pages made at once, not one fault each as the picture is written (Linux 5.14 and
        // later; elsewhere the faults come as before).
        (void)::madvise(address, size, PopulateWrite);
        m_segment.readOnly = True;
        // A server elsewhere cannot attach it: that is an X error, not a failure of ours.
        if (!XShmAttach(display, &m_segment) || ErrorTrap::failed(display))
            return;
        m_attached = true;
        m_picture = QImage(reinterpret_cast<uchar *>(m_image->data), width, height,
            m_image->bytes_per_line, QImage::Format_RGB32);
    }

    ~SharedFrame()
    {
        if (m_attached) {
            XShmDetach(m_display, &m_segment);
            XSync(m_display, False);
        }
        if (m_segment.shmaddr)
            ::shmdt(m_segment.shmaddr);
        if (m_image) {
            m_image->data = nullptr; // the segment is not Xlib's to free
            XDestroyImage(m_image);
        }
    }

    SharedFrame(const SharedFrame &) = delete;
    SharedFrame &operator=(const SharedFrame &) = delete;

    /** The picture to compose into; null when the server cannot read shared memory. */
    QImage &picture() { return m_picture; }

    /** Copies the picture into `pixmap`; done when the server has read it. */
    bool put(Pixmap pixmap)
    {
        GC gc = XCreateGC(m_display, pixmap, 0, nullptr);
        const bool sent = XShmPutImage(m_display, pixmap, gc, m_image, 0, 0, 0, 0,
                              static_cast<unsigned>(m_picture.width()),
                              static_cast<unsigned>(m_picture.height()), False)
            != 0;
        XFreeGC(m_display, gc);
        return sent && !ErrorTrap::failed(m_display); // the round trip: the server has read it
    }

private:
    Display *m_display;
    XShmSegmentInfo m_segment {};
    XImage *m_image = nullptr;
    bool m_attached = false;
    QImage m_picture;
};

} // namespace

std::optional<QSize> x11ScreenSize()
{
    DisplayPtr display = openDisplay();
    if (!display)
        return std::nullopt;
    const int screen = XDefaultScreen(display.get());
    return QSize(XDisplayWidth(display.get(), screen), XDisplayHeight(display.get(), screen));
}

std::vector<OutputArea> x11Monitors()
{
    std::vector<OutputArea> monitors;
    DisplayPtr display = openDisplay();
    if (!display)
        return monitors;
    int eventBase = 0;
    int errorBase = 0;
    if (!XRRQueryExtension(display.get(), &eventBase, &errorBase))
        return monitors;
    ErrorTrap trap;
    const Window root = XDefaultRootWindow(display.get());
    int count = 0;
    XRRMonitorInfo *infos = XRRGetMonitors(display.get(), root, True, &count);
    XRRScreenResources *resources = XRRGetScreenResourcesCurrent(display.get(), root);
    for (int i = 0; infos && i < count; ++i) {
        const XRRMonitorInfo &info = infos[i];
        std::string name;
        if (info.noutput > 0 && resources) {
            if (XRROutputInfo *output
                = XRRGetOutputInfo(display.get(), resources, info.outputs[0])) {
                name.assign(output->name, static_cast<std::size_t>(output->nameLen));
                XRRFreeOutputInfo(output);
            }
        }
        if (name.empty()) {
            if (char *atomName = XGetAtomName(display.get(), info.name)) {
                name = atomName;
                XFree(atomName);
            }
        }
        monitors.push_back({name, QRect(info.x, info.y, info.width, info.height)});
    }
    if (resources)
        XRRFreeScreenResources(resources);
    if (infos)
        XRRFreeMonitors(infos);
    if (ErrorTrap::failed(display.get()))
        monitors.clear();
    return monitors;
}

int x11WorkspaceCount()
{
    DisplayPtr display = openDisplay();
    if (!display)
        return 1;
    const Atom count = XInternAtom(display.get(), "_NET_NUMBER_OF_DESKTOPS", False);
    const auto value
        = cardinalProperty(display.get(), XDefaultRootWindow(display.get()), count, cardinalType);
    return value && *value >= 1 && *value <= 64 ? static_cast<int>(*value) : 1;
}

bool setX11RootWallpaper(
    const std::function<bool(QImage &screen, const std::vector<QRect> &monitors)> &compose)
{
    DisplayPtr owned = openDisplay();
    if (!owned)
        return false;
    Display *display = owned.get();
    ErrorTrap trap;

    const int screen = XDefaultScreen(display);
    const Window root = XRootWindow(display, screen);
    const int width = XDisplayWidth(display, screen);
    const int height = XDisplayHeight(display, screen);
    const int depth = XDefaultDepth(display, screen);
    Visual *visual = XDefaultVisual(display, screen);

    std::vector<QRect> monitors;
    int eventBase = 0;
    int errorBase = 0;
    if (XRRQueryExtension(display, &eventBase, &errorBase)) {
        int count = 0;
        XRRMonitorInfo *infos = XRRGetMonitors(display, root, True, &count);
        for (int i = 0; infos && i < count; ++i)
            monitors.emplace_back(infos[i].x, infos[i].y, infos[i].width, infos[i].height);
        if (infos)
            XRRFreeMonitors(infos);
        ErrorTrap::failed(display); // no monitors is no failure: the screen is one
    }
    if (monitors.empty())
        monitors.emplace_back(0, 0, width, height);

    // Composed straight into memory the server reads where it can, else into our own.
    std::optional<SharedFrame> shared;
    if (takesRgb32(display, visual, depth))
        shared.emplace(display, visual, depth, width, height);
    QImage ownPicture;
    if (!shared || shared->picture().isNull()) {
        shared.reset();
        ownPicture = QImage(width, height, QImage::Format_RGB32);
    }
    QImage &picture = shared ? shared->picture() : ownPicture;
    if (picture.isNull() || !compose(picture, monitors))
        return false;

    // A setter's pixmap (both atoms name it, as we leave ours) of the screen's size and depth
    // is drawn over in place: the server then neither makes a new one of that size, whose
    // every page it would fault in, nor frees the old one. Watchers still see the atoms set.
    const Atom rootId = XInternAtom(display, "_XROOTPMAP_ID", False);
    const Atom esetrootId = XInternAtom(display, "ESETROOT_PMAP_ID", False);
    const auto setters = [&]() -> std::optional<Pixmap> {
        const auto named = cardinalProperty(display, root, rootId, pixmapType);
        const auto eset = cardinalProperty(display, root, esetrootId, pixmapType);
        if (!named || !eset || *named != *eset)
            return std::nullopt;
        return static_cast<Pixmap>(*named);
    };
    const std::optional<Pixmap> previous = setters();
    bool reused = false;
    if (previous) {
        Window pixmapRoot = 0;
        int x = 0, y = 0;
        unsigned w = 0, h = 0, border = 0, bits = 0;
        reused = XGetGeometry(display, *previous, &pixmapRoot, &x, &y, &w, &h, &border, &bits)
            && !ErrorTrap::failed(display) && pixmapRoot == root
            && w == static_cast<unsigned>(width) && h == static_cast<unsigned>(height)
            && bits == static_cast<unsigned>(depth);
        ErrorTrap::failed(display); // a pixmap already gone is no failure of ours
    }
    const Pixmap pixmap = reused ? *previous
                                 : XCreatePixmap(display, root, static_cast<unsigned>(width),
                                     static_cast<unsigned>(height), static_cast<unsigned>(depth));
    const bool put = !ErrorTrap::failed(display)
        && (shared ? shared->put(pixmap) : putPicture(display, pixmap, visual, depth, picture));
    shared.reset(); // the server has its copy: the shared memory goes now, not at the end
    ownPicture = QImage();
    if (!put || ErrorTrap::failed(display)) {
        if (!reused)
            XFreePixmap(display, pixmap);
        ErrorTrap::failed(display);
        return false;
    }

    XGrabServer(display);
    const std::optional<Pixmap> named = setters();
    if (named && *named != pixmap) {
        XKillClient(display, static_cast<XID>(*named));
        ErrorTrap::failed(display); // a pixmap already gone is no failure of ours
    }
    const unsigned long item = pixmap;
    XChangeProperty(display, root, rootId, pixmapType, 32, PropModeReplace,
        reinterpret_cast<const unsigned char *>(&item), 1);
    XChangeProperty(display, root, esetrootId, pixmapType, 32, PropModeReplace,
        reinterpret_cast<const unsigned char *>(&item), 1);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XUngrabServer(display);
    if (ErrorTrap::failed(display)) {
        if (!reused)
            XFreePixmap(display, pixmap);
        XSync(display, False);
        return false;
    }
    if (!reused) // the new pixmap outlives this connection; a reused one already does
        XSetCloseDownMode(display, RetainPermanent);
    XSync(display, False);
    return true;
}

} // namespace platform::desk
