#include "platform/win32/dropped_files.h"

#include <shlobj.h> // DROPFILES

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using platform::win32::takeDroppedFiles;

namespace {

// A drop handle as the shell makes one: a movable global block holding a DROPFILES header
// and the names one after the other, each with its zero, and one more zero at the end.
HDROP makeDrop(const std::vector<std::string> &names)
{
    std::string list;
    for (const std::string &name : names) {
        list += name;
        list.push_back('\0');
    }
    list.push_back('\0');
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto *header = static_cast<DROPFILES *>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char *>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

HDROP makeWideDrop(const std::vector<std::wstring> &names)
{
    std::wstring list;
    for (const std::wstring &name : names) {
        list += name;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    const std::size_t bytes = list.size() * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto *header = static_cast<DROPFILES *>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char *>(header) + sizeof(DROPFILES), list.data(), bytes);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

} // namespace

TEST(DroppedFiles, TakesEveryNameInOrder)
{
    const std::vector<std::string> names {
        "C:\\Pics\\A.bmp", "C:\\Pics\\B.jpg", "C:\\Pics\\C.BMP", "D:\\x"};
    EXPECT_EQ(takeDroppedFiles(makeDrop(names)), names);
}

TEST(DroppedFiles, KeepsNamesWholeWhateverTheirLength)
{
    const std::vector<std::string> names {
        "C:\\" + std::string(253, 'a') + ".bmp",
        "C:\\" + std::string(396, 'b'),
        "C:\\short.bmp",
        std::string(1, 'c'),
    };
    ASSERT_EQ(names[1].size(), 399u);
    const auto taken = takeDroppedFiles(makeDrop(names));
    ASSERT_EQ(taken.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(taken[i], names[i]) << "name " << i << " of " << names[i].size() << " bytes";
}

TEST(DroppedFiles, KeepsTheAnsiBytesOfANameAsTheyAre)
{
    const std::vector<std::string> names {"C:\\Bilder\\\xE9t\xE9 \xC4.bmp"};
    EXPECT_EQ(takeDroppedFiles(makeDrop(names)), names);
}

TEST(DroppedFiles, TurnsWideNamesIntoTheAnsiCodePage)
{
    ASSERT_EQ(GetACP(), 1252u) << "the expected bytes below are those of code page 1252";
    const auto taken
        = takeDroppedFiles(makeWideDrop({L"C:\\Pics\\\u00e9t\u00e9.bmp", L"C:\\Pics\\B.BMP"}));
    EXPECT_EQ(taken, (std::vector<std::string> {"C:\\Pics\\\xE9t\xE9.bmp", "C:\\Pics\\B.BMP"}));
}

TEST(DroppedFiles, NamesOutsideTheAnsiCodePageAreSetApartWhenAsked)
{
    ASSERT_EQ(GetACP(), 1252u) << "the code page whose characters are known below";
    const std::vector<std::wstring> wide
        = {L"C:\\Pics\\\u00e9t\u00e9.bmp", L"C:\\Pics\\\u6d77.bmp", L"C:\\Pics\\B.BMP"};
    std::vector<std::string> unusable;
    EXPECT_EQ(takeDroppedFiles(makeWideDrop(wide), &unusable),
        (std::vector<std::string> {"C:\\Pics\\\xE9t\xE9.bmp", "C:\\Pics\\B.BMP"}));
    EXPECT_EQ(unusable, std::vector<std::string> {"C:\\Pics\\?.bmp"});
    // Not asked: every name, as the system gives it.
    EXPECT_EQ(takeDroppedFiles(makeWideDrop(wide)).size(), 3u);
}

TEST(DroppedFiles, AnEmptyDropGivesNoNames)
{
    EXPECT_TRUE(takeDroppedFiles(makeDrop({})).empty());
}

TEST(DroppedFiles, GivesTheHandleBack)
{
    const HDROP drop = makeDrop({"C:\\a.bmp"});
    ASSERT_NE(GlobalSize(drop), 0u);
    takeDroppedFiles(drop);
    // The block is freed: the system no longer knows the handle.
    EXPECT_EQ(GlobalSize(drop), 0u);
}
