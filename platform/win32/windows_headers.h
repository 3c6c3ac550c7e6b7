#pragma once

// The one way platform/win32/ takes in the system's headers: the ANSI API, nothing of the
// rarely used parts, and no min/max macros to clash with the standard library.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shellapi.h>
