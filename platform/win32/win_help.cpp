#include "win_help.h"

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

} // namespace platform::win32
