#pragma once

#include "platform/win32/windows_headers.h"

#include <string>
#include <vector>

namespace platform::win32 {

/**
 * The names of a drop (the wParam of WM_DROPFILES), in the order of their indexes, each whole
 * whatever its length, as the system's ANSI bytes; then gives the handle back (DragFinish).
 * The handle must not be used afterwards. A name with characters outside the ANSI code page
 * cannot name its file in ANSI bytes (they come as "?"): it goes to `unusable` instead, in
 * that "?" form, when `unusable` is given.
 */
std::vector<std::string> takeDroppedFiles(HDROP drop, std::vector<std::string> *unusable = nullptr);

} // namespace platform::win32
