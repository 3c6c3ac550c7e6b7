#pragma once

// What the main window's parts share: the ids its controls and timers are known by, and the
// small conversions between the layout's data and the system's.

#include "app/core/layout.h"
#include "platform/win32/windows_headers.h"

#include <string>
#include <string_view>

namespace win32shell {

inline constexpr char WindowClass[] = "TForm1";
inline constexpr char PanelClass[] = "TPanel";
inline constexpr int FirstControlId = 1000;
inline constexpr int FirstRadioItemId = 2000;
inline constexpr UINT_PTR Timer1Id = 1;
inline constexpr UINT_PTR Timer2Id = 2;
/** The timer of the notification icon's further tries, how often and how many. */
inline constexpr UINT_PTR TrayRetryId = 3;
inline constexpr UINT TrayRetryMs = 2000;
inline constexpr int TrayTries = 5;
/** The width of a spin edit's up/down buttons. */
inline constexpr int SpinButtonsWidth = 16;
/** The help page shipped beside the program. */
inline constexpr char HelpPage[] = "Murelin.html";

COLORREF colourOf(const core::layout::Colour &colour);
/** A font of `face` at `height` (negative: the character height in pixels). */
HFONT makeFont(std::string_view face, int height, bool bold);
/** A window's text as bytes. */
std::string windowText(HWND window);

} // namespace win32shell
