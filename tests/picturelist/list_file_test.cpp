#include "picturelist/list_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

using picturelist::formatListFile;
using picturelist::parseListFile;
using picturelist::PictureEntries;
using picturelist::PictureEntry;

struct ListCase
{
    const char *name;
    std::string bytes;
    PictureEntries entries;
};

class ListFileReading : public ::testing::TestWithParam<ListCase>
{
};

TEST_P(ListFileReading, FollowsTheLineRules)
{
    EXPECT_EQ(parseListFile(GetParam().bytes), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(ListFile, ListFileReading,
    ::testing::Values(ListCase {"Empty", "", {}},
        ListCase {"TwoEntries", "C:\\Pics\\Sea.bmp\r\n10|0\r\nC:\\Pics\\Hill.bmp\r\n3100|50\r\n",
            {{"C:\\Pics\\Sea.bmp", "10|0"}, {"C:\\Pics\\Hill.bmp", "3100|50"}}},
        ListCase {"OddLineCount", "A\r\n00|0\r\nB\r\n", {{"A", "00|0"}, {"B", ""}}},
        ListCase {"TrailingBlankLine", "A\r\n00|0\r\n\r\n", {{"A", "00|0"}, {"", ""}}},
        ListCase {"LfOnlyIsOneLine", "A\n00|0\nB\n10|0\n", {{"A\n00|0\nB\n10|0\n", ""}}},
        ListCase {"CtrlZEndsTheFile",
            "A\r\n00|0\r\nB\r\n10|0\r\n\x1a"
            "C\r\n20|0\r\n",
            {{"A", "00|0"}, {"B", "10|0"}}},
        ListCase {"CtrlZInsideALine",
            "AB\x1a"
            "CD\r\n00|0\r\n",
            {{"AB", ""}}},
        ListCase {"LoneCrEndsALine", "A\rB\r", {{"A", "B"}}},
        ListCase {"CrCrLf", "A\r\r\nB\r\n", {{"A", ""}, {"B", ""}}},
        ListCase {"LastLineWithoutEnd", "A\r\n3100|50", {{"A", "3100|50"}}},
        ListCase {"BlanksAndCaseKept", " a B \r\n 1 \r\n", {{" a B ", " 1 "}}}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(ListFile, WritesCrLfAfterEveryLineAndNothingForAnEmptyList)
{
    EXPECT_EQ(formatListFile({}), "");
    EXPECT_EQ(formatListFile({{"C:\\Pics\\Sea.bmp", "10|0"}, {"C:\\Pics\\Hill.bmp", "3100|50"}}),
        "C:\\Pics\\Sea.bmp\r\n10|0\r\nC:\\Pics\\Hill.bmp\r\n3100|50\r\n");
}

TEST(ListFile, LongPathsAndBytesThatAreNotUtf8RoundTrip)
{
    const PictureEntries entries {
        {"/pics/" + std::string(400, 'x') + ".bmp", "3100|50"},
        {"/pics/caf\xe9-\xff\xfe.bmp", "00|0"},
        {"/pics/with\nnewline.bmp", ""},
        {"", ""},
    };
    EXPECT_EQ(parseListFile(formatListFile(entries)), entries);
}

TEST(ListFile, ACrOrCtrlZInsideAPathCannotRoundTrip)
{
    // The format has no escape: a CR splits the entry, a Ctrl-Z ends the file.
    EXPECT_EQ(parseListFile(formatListFile({{"a\rb", "00|0"}})),
        (PictureEntries {{"a", "b"}, {"00|0", ""}}));
    EXPECT_EQ(parseListFile(formatListFile({{"a\x1a"
                                             "b",
                                                "00|0"},
                  {"c", "10|0"}})),
        (PictureEntries {{"a", ""}}));
}

TEST(ListFile, LivesBesideTheProgramUnlessThatFolderIsReadOnly)
{
    EXPECT_EQ(picturelist::listFilePath("/opt/m/", true, "/home/u/.local/share/murelin/"),
        "/opt/m/MurelinAll.txt");
    EXPECT_EQ(picturelist::listFilePath("/usr/bin/", false, "/home/u/.local/share/murelin/"),
        "/home/u/.local/share/murelin/MurelinAll.txt");
    // With no data folder to go to, the list stays beside the program.
    EXPECT_EQ(picturelist::listFilePath("/usr/bin/", false, ""), "/usr/bin/MurelinAll.txt");
}

TEST(ListFile, ReadTellsNoFileFromAFileThatCouldNotBeRead)
{
    const testsupport::TempDir folder;
    const std::string path = folder.file("MurelinAll.txt");
    using picturelist::ListFileState;

    EXPECT_EQ(picturelist::readListFile(path).state, ListFileState::NoFile);
    const PictureEntries entries {{"/p/a.bmp", "3100|50"}};
    ASSERT_TRUE(picturelist::writeListFile(path, entries));
    const auto read = picturelist::readListFile(path);
    EXPECT_EQ(read.state, ListFileState::Read);
    EXPECT_EQ(read.entries, entries);
    // Something that is there and cannot be read is not "no list": it must not be replaced.
    ASSERT_EQ(std::remove(path.c_str()), 0);
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    EXPECT_EQ(picturelist::readListFile(path).state, ListFileState::Unreadable);
}
