#include "platform/win32/win_help.h"

namespace platform::win32 {

std::string helpJumpMacro(std::string_view topic)
{
    std::string macro = "JumpID(\"\",\"";
    macro += topic;
    macro += "\")";
    if (macro.size() > 255)
        macro.resize(255);
    return macro;
}

bool openWinHelp(HWND owner, const std::string &helpFile, const std::string &topic)
{
    if (!WinHelpA(owner, helpFile.c_str(), HELP_CONTENTS, 0))
        return false;
    const std::string macro = helpJumpMacro(topic);
    WinHelpA(owner, helpFile.c_str(), HELP_COMMAND, reinterpret_cast<ULONG_PTR>(macro.c_str()));
    return true;
}

HelpShown openHelpOrPage(
    HWND owner, const std::string &helpFile, const std::string &topic, const std::string &page)
{
    // A missing file is not handed to the viewer, which would only report it.
    if (GetFileAttributesA(helpFile.c_str()) != INVALID_FILE_ATTRIBUTES
        && openWinHelp(owner, helpFile, topic))
        return HelpShown::HelpViewer;
    // ShellExecuteA reports success with a value above 32.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32 ? HelpShown::Page : HelpShown::Nothing;
}

} // namespace platform::win32
