#include "tests/win32/support.h"

#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <string>

using namespace win32test;

namespace {

// Every byte value, line ends of both kinds and a Ctrl-Z: nothing is translated.
std::string awkwardBytes()
{
    std::string bytes = "C:\\Pics\\Sea.bmp\r\n10|0\r\nLF only\n\x1a after Ctrl-Z\r\n";
    for (int b = 0; b < 256; ++b)
        bytes.push_back(static_cast<char>(b));
    return bytes;
}

int filesIn(const std::string &folder)
{
    WIN32_FIND_DATAA found {};
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

} // namespace

TEST(AtomicFile, CreatesAndReplacesAFileByteForByte)
{
    const std::string folder = makeTempFolder("murelin atomic");
    const std::string path = folder + "MurelinAll.txt";
    ASSERT_TRUE(platform::writeFileAtomically(path, "old\r\n"));
    ASSERT_TRUE(platform::writeFileAtomically(path, awkwardBytes()));
    EXPECT_EQ(readFileBytes(path), awkwardBytes());

    std::string back;
    ASSERT_TRUE(platform::readWholeFile(path, back));
    EXPECT_EQ(back, awkwardBytes());
    EXPECT_EQ(filesIn(folder), 1) << "no temporary file is left behind";

    ASSERT_TRUE(platform::writeFileAtomically(path, ""));
    EXPECT_EQ(readFileBytes(path), std::string());
}

TEST(AtomicFile, AReadOnlyFileKeepsItsContentAndTheErrorSaysWhy)
{
    const std::string folder = makeTempFolder("murelin atomic readonly");
    const std::string path = folder + "MurelinAll.txt";
    ASSERT_TRUE(writeFileBytes(path, "kept\r\n"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

    std::string error;
    EXPECT_FALSE(platform::writeFileAtomically(path, "new\r\n", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFileBytes(path), "kept\r\n");
    EXPECT_EQ(filesIn(folder), 1) << "the temporary file is removed";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(AtomicFile, AMissingFolderIsAnErrorAndReadingAMissingFileFails)
{
    const std::string folder = makeTempFolder("murelin atomic missing");
    std::string error;
    EXPECT_FALSE(
        platform::writeFileAtomically(folder + "no such folder\\MurelinAll.txt", "x", &error));
    EXPECT_FALSE(error.empty());

    std::string bytes = "untouched";
    EXPECT_FALSE(platform::readWholeFile(folder + "MurelinAll.txt", bytes));
}

TEST(AtomicFile, AFileHeldOpenByAnotherProgramKeepsItsContent)
{
    const std::string folder = makeTempFolder("murelin atomic locked");
    const std::string path = folder + "MurelinAll.txt";
    ASSERT_TRUE(writeFileBytes(path, "kept\r\n"));
    HANDLE held = CreateFileA(
        path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    std::string error;
    EXPECT_FALSE(platform::writeFileAtomically(path, "new\r\n", &error));
    EXPECT_FALSE(error.empty());
    CloseHandle(held);
    EXPECT_EQ(readFileBytes(path), "kept\r\n");
    EXPECT_EQ(filesIn(folder), 1) << "the temporary file is removed";
}

TEST(AtomicFile, LeftoverTemporaryFilesGoAtTheNextSaveAndNothingElseDoes)
{
    const std::string folder = makeTempFolder("murelin atomic leftovers");
    const std::string path = folder + "MurelinAll.txt";
    const char *kept[] = {"MurelinAll.txt.bak", "MurelinAll.txt.12-34.tmp",
        "MurelinAll.txt.1a-2-3.tmp", "MurelinAll.txt.-2-3.tmp", "Other.txt.12-34-0.tmp"};
    for (const char *name : kept)
        ASSERT_TRUE(writeFileBytes(folder + name, "keep"));
    ASSERT_TRUE(writeFileBytes(folder + "MurelinAll.txt.4242-99999-0.tmp", "leftover"));
    ASSERT_TRUE(platform::writeFileAtomically(path, "new\r\n"));
    EXPECT_FALSE(readFileBytes(folder + "MurelinAll.txt.4242-99999-0.tmp"));
    for (const char *name : kept)
        EXPECT_TRUE(readFileBytes(folder + name)) << name;
    EXPECT_EQ(filesIn(folder), 6);
}
