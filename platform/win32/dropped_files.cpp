#include "platform/win32/dropped_files.h"

namespace platform::win32 {

namespace {

/** True when the drop's name `index` has characters the ANSI code page lacks. */
bool outsideAnsi(HDROP drop, UINT index)
{
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0)
        return false;
    std::wstring name(std::size_t {length} + 1, L'\0');
    DragQueryFileW(drop, index, name.data(), length + 1);
    BOOL lost = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(), static_cast<int>(length),
        nullptr, 0, nullptr, &lost);
    return lost != FALSE;
}

} // namespace

std::vector<std::string> takeDroppedFiles(HDROP drop, std::vector<std::string> *unusable)
{
    std::vector<std::string> names;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    names.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        // Asked without a buffer, the call gives the name's length without its zero byte; a
        // buffer of that size plus one takes the name uncut.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        // No name is empty: a length of 0 is the call failing for that index (some systems
        // count one name in a drop that holds none).
        if (length == 0)
            continue;
        std::string name(std::size_t {length} + 1, '\0');
        const UINT copied = DragQueryFileA(drop, i, name.data(), length + 1);
        name.resize(copied <= length ? copied : length);
        if (unusable && outsideAnsi(drop, i))
            unusable->push_back(std::move(name));
        else
            names.push_back(std::move(name));
    }
    DragFinish(drop);
    return names;
}

} // namespace platform::win32
