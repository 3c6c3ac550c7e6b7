#pragma once

#include "platform/win32/windows_headers.h"

#include <string>
#include <string_view>

namespace platform::win32 {

/** The help macro that jumps to `topic`: JumpID("","topic"), cut to 255 characters. */
std::string helpJumpMacro(std::string_view topic);

/**
 * Opens `helpFile` in the system's help viewer, owned by `owner`, at its contents and then,
 * only when that worked, at the topic whose context string is `topic`. False when the viewer
 * could not open the file.
 */
bool openWinHelp(HWND owner, const std::string &helpFile, const std::string &topic);

/** Where the help was shown. */
enum class HelpShown { HelpViewer, Page, Nothing };

/**
 * Help as the program offers it. No Windows since Vista ships a viewer for the old help files:
 * when `helpFile` is missing, or the viewer cannot open it, the HTML page `page` is opened
 * instead with the program the system opens such pages with (ShellExecuteA, "open").
 */
HelpShown openHelpOrPage(
    HWND owner, const std::string &helpFile, const std::string &topic, const std::string &page);

} // namespace platform::win32
