// The list file beside the executable: written and read back by a copy of this executable in
// a folder of a known name, and its bytes checked there from outside.
#include "tests/win32/child_modes.h"
#include "tests/win32/support.h"

#include "picturelist/list_file.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace win32test;

namespace {

const std::string longPath = "C:\\" + std::string(380, 'p') + "\\Long.bmp";

picturelist::PictureEntries sampleEntries()
{
    return {
        {"C:\\Pics\\Sea.bmp", "10|0"},
        {"C:\\Pics\\Hill.bmp", "3100|50"},
        {longPath, "2"},
        {"C:\\Bilder\\\xE9t\xE9.bmp", ""},
    };
}

// The list file's bytes, spelled out.
std::string sampleBytes()
{
    return "C:\\Pics\\Sea.bmp\r\n10|0\r\nC:\\Pics\\Hill.bmp\r\n3100|50\r\n" + longPath
        + "\r\n2\r\nC:\\Bilder\\\xE9t\xE9.bmp\r\n\r\n";
}

// Writes the sample list where the program keeps it, reads it back, and prints the path.
const ChildMode listFileMode("list-file", [](const std::vector<std::string> &) {
    const std::string folder = platform::executableDirectory();
    const std::string path
        = picturelist::listFilePath(folder, platform::isDirectoryWritable(folder), "");
    std::string error;
    if (!platform::writeFileAtomically(
            path, picturelist::formatListFile(sampleEntries()), &error)) {
        std::printf("write failed: %s\n", error.c_str());
        return 1;
    }
    std::string bytes;
    if (!platform::readWholeFile(path, bytes))
        return 2;
    if (picturelist::parseListFile(bytes) != sampleEntries())
        return 3;
    std::printf("%s\n", path.c_str());
    return 0;
});

} // namespace

TEST(ListFile, IsWrittenBesideTheExecutableAndReadBackByteForByte)
{
    const std::string folder = makeTempFolder("murelin list \xE9") + "bin\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string copy = folder + "Murelin.exe";
    ASSERT_TRUE(CopyFileA(selfPath().c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(writeFileBytes(folder + "MurelinAll.txt", "old list\r\n"));

    const RunResult result = run("\"" + copy + "\" --child=list-file");
    ASSERT_TRUE(result.ran);
    ASSERT_EQ(result.exitCode, 0u) << result.output;
    std::string printed = result.output;
    std::erase(printed, '\r');
    std::erase(printed, '\n');
    EXPECT_EQ(lstrcmpiA(printed.c_str(), (folder + "MurelinAll.txt").c_str()), 0) << printed;
    EXPECT_EQ(readFileBytes(folder + "MurelinAll.txt"), sampleBytes());
}
