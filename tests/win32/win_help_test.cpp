#include "platform/win32/win_help.h"

#include <gtest/gtest.h>

using platform::win32::helpJumpMacro;

TEST(WinHelp, TheJumpMacroNamesTheTopic)
{
    EXPECT_EQ(helpJumpMacro("Contents"), "JumpID(\"\",\"Contents\")");
    EXPECT_EQ(helpJumpMacro(""), "JumpID(\"\",\"\")");
}

TEST(WinHelp, TheJumpMacroIsCutTo255Characters)
{
    // 11 characters before the topic and 2 after it: a topic of 242 still fits whole.
    const std::string fits(242, 't');
    EXPECT_EQ(helpJumpMacro(fits), "JumpID(\"\",\"" + fits + "\")");
    const std::string macro = helpJumpMacro(std::string(300, 't'));
    EXPECT_EQ(macro.size(), 255u);
    EXPECT_EQ(macro.substr(0, 11), "JumpID(\"\",\"");
}
