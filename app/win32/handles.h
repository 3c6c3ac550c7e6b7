#pragma once

// Owners of the system's handles: each frees its handle once, when it goes out of scope or is
// given another one, and can be moved but not copied.

#include "platform/win32/windows_headers.h"

#include <utility>

namespace win32shell {

template <typename Handle, typename Free> class Owned
{
public:
    Owned() = default;
    explicit Owned(Handle handle)
        : m_handle(handle)
    {
    }
    ~Owned() { reset(); }
    Owned(Owned &&other) noexcept
        : m_handle(std::exchange(other.m_handle, Handle {}))
    {
    }
    Owned &operator=(Owned &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_handle, Handle {}));
        return *this;
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle {}; }
    /** Gives the handle up without freeing it. */
    Handle release() { return std::exchange(m_handle, Handle {}); }
    void reset(Handle handle = Handle {})
    {
        const Handle old = std::exchange(m_handle, handle);
        if (old != Handle {})
            Free {}(old);
    }

private:
    Handle m_handle {};
};

struct DestroyWindowFree
{
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct DeleteObjectFree
{
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DestroyIconFree
{
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DragFinishFree
{
    void operator()(HDROP drop) const { DragFinish(drop); }
};

using WindowHandle = Owned<HWND, DestroyWindowFree>;
using FontHandle = Owned<HFONT, DeleteObjectFree>;
using BitmapHandle = Owned<HBITMAP, DeleteObjectFree>;
using BrushHandle = Owned<HBRUSH, DeleteObjectFree>;
using IconHandle = Owned<HICON, DestroyIconFree>;
using DropHandle = Owned<HDROP, DragFinishFree>;

} // namespace win32shell
