#pragma once

#include "handles.h"

namespace win32shell {

/**
 * The program's icon, 32 x 32, made from the picture the Qt shell shows too: Image1's icon, the
 * notification icon and the window's. Empty when the system cannot make it.
 */
IconHandle makeProgramIcon();

} // namespace win32shell
