#include "dropped_files.h"

namespace platform::win32 {

std::vector<std::string> takeDroppedFiles(HDROP drop)
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
        names.push_back(std::move(name));
    }
    DragFinish(drop);
    return names;
}

} // namespace platform::win32
