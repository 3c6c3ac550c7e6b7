#include "tests/win32/child_modes.h"
#include "tests/win32/support.h"

#include "platform/paths.h"
#include "platform/win32/path_split.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace win32test;

namespace {

// Prints what the layer says of the running executable, one line each.
const ChildMode printExeMode("print-exe", [](const std::vector<std::string> &) {
    std::printf(
        "%s\n%s\n", platform::executablePath().c_str(), platform::executableDirectory().c_str());
    std::fflush(stdout);
    return 0;
});

struct SplitCase
{
    const char *path;
    const char *directory;
};

class DirectoryOf : public testing::TestWithParam<SplitCase>
{
};

TEST_P(DirectoryOf, TakesThePathUpToItsLastBackslashOrColon)
{
    EXPECT_EQ(platform::win32::directoryOf(GetParam().path), GetParam().directory);
}

INSTANTIATE_TEST_SUITE_P(Paths, DirectoryOf,
    testing::Values(
        SplitCase {"C:\\Program Files\\Murelin\\Murelin.exe", "C:\\Program Files\\Murelin\\"},
        SplitCase {"C:\\Murelin.exe", "C:\\"}, SplitCase {"C:Murelin.exe", "C:"},
        SplitCase {"\\\\server\\share\\Murelin.exe", "\\\\server\\share\\"},
        SplitCase {"C:\\a\\b/Murelin.exe", "C:\\a\\"}, SplitCase {"Murelin.exe", ""},
        SplitCase {"", ""}, SplitCase {"C:\\trailing\\", "C:\\trailing\\"}));

} // namespace

TEST(ExecutablePaths, AreTheFolderTheExecutableRunsFrom)
{
    // A copy of this executable in a folder of a known name, with blanks and an ANSI letter.
    const std::string folder = makeTempFolder("murelin paths \xE9") + "sub dir\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string copy = folder + "Murelin copy.exe";
    ASSERT_TRUE(CopyFileA(selfPath().c_str(), copy.c_str(), FALSE));

    const RunResult result = run("\"" + copy + "\" --child=print-exe");
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(result.exitCode, 0u);
    // Two lines, each ending in CR LF (the child's output is text).
    std::string lines = result.output;
    std::erase(lines, '\r');
    const std::size_t first = lines.find('\n');
    ASSERT_NE(first, std::string::npos) << lines;
    const std::string path = lines.substr(0, first);
    const std::string directory = lines.substr(first + 1, lines.find('\n', first + 1) - first - 1);
    // The path the system gives may differ from ours in the case of the letters only.
    EXPECT_EQ(lstrcmpiA(path.c_str(), copy.c_str()), 0) << path;
    EXPECT_EQ(lstrcmpiA(directory.c_str(), folder.c_str()), 0) << directory;
    EXPECT_EQ(directory.size(), folder.size());
}

TEST(ExecutablePaths, AWritableFolderIsToldFromAMissingOneAndTheProbeLeavesNothing)
{
    const std::string folder = makeTempFolder("murelin writable");
    EXPECT_TRUE(platform::isDirectoryWritable(folder));
    EXPECT_FALSE(platform::isDirectoryWritable(folder + "missing\\"));

    WIN32_FIND_DATAA found {};
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int entries = 0;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            ++entries;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(entries, 0);
}
