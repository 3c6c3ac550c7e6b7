#include "picturelist/list_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace picturelist;

// ---------------------------------------------------------------- Remove

struct RemoveIndexCase
{
    const char *name;
    std::int32_t index;
    std::int32_t countAfter;
    std::int32_t expected;
};

class RemoveIndex : public ::testing::TestWithParam<RemoveIndexCase>
{
};

TEST_P(RemoveIndex, StepsBackAndStaysInTheList)
{
    EXPECT_EQ(indexAfterRemove(GetParam().index, GetParam().countAfter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ListCommands, RemoveIndex,
    ::testing::Values(RemoveIndexCase {"Row2Of5", 2, 4, 1},
        RemoveIndexCase {"FirstRowStays", 0, 4, 0},
        RemoveIndexCase {"NothingSelectedStillStepsBack", 3, 5, 2},
        RemoveIndexCase {"OnlyEntry", 0, 0, -1}, RemoveIndexCase {"EmptiedFromFarDown", 7, 0, -1},
        RemoveIndexCase {"NoCurrentRowInAList", -1, 3, 0},
        // Rows 2, 3 and 4 of 5 removed with the current picture on row 4: one step back
        // leaves row 3 of 2, brought back to the last row.
        RemoveIndexCase {"SeveralAtTheEnd", 4, 2, 1}, RemoveIndexCase {"LastRowAfterOne", 4, 4, 3}),
    [](const auto &p) { return std::string(p.param.name); });

PictureEntries numbered(int count)
{
    PictureEntries entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({"P" + std::to_string(i) + ".bmp", std::to_string(i) + "0|0"});
    return entries;
}

std::vector<std::string> paths(const PictureEntries &entries)
{
    std::vector<std::string> out;
    for (const PictureEntry &e : entries)
        out.push_back(e.path);
    return out;
}

TEST(EraseRows, KeepsTheOthersInOrderWithTheirSettings)
{
    PictureEntries entries = numbered(6);
    eraseRows(entries, {4, 1, 1, 9, -1});
    const PictureEntries expected
        = {{"P0.bmp", "00|0"}, {"P2.bmp", "20|0"}, {"P3.bmp", "30|0"}, {"P5.bmp", "50|0"}};
    EXPECT_EQ(entries, expected);
}

TEST(EraseRows, NothingAndEverything)
{
    PictureEntries entries = numbered(3);
    eraseRows(entries, {});
    EXPECT_EQ(entries, numbered(3));
    eraseRows(entries, {0, 1, 2});
    EXPECT_TRUE(entries.empty());
}

TEST(EraseRows, EveryOtherRow)
{
    PictureEntries entries = numbered(10);
    eraseRows(entries, {0, 2, 4, 6, 8});
    EXPECT_EQ(paths(entries),
        (std::vector<std::string> {"P1.bmp", "P3.bmp", "P5.bmp", "P7.bmp", "P9.bmp"}));
}

// ---------------------------------------------------------------- Sort

TEST(SortKey, PathBraceSettings)
{
    EXPECT_EQ(sortKey({"C:\\A.bmp", "20|0"}), "C:\\A.bmp}20|0");
    EXPECT_EQ(sortKey({"", ""}), "}");
}

struct KeyOrderCase
{
    const char *name;
    PictureEntry a;
    PictureEntry b;
    int order; // -1: a first, 1: b first, 0: equal keys, which keep their order
};

class KeyOrder : public ::testing::TestWithParam<KeyOrderCase>
{
};

TEST_P(KeyOrder, IgnoresLetterCase)
{
    const KeyOrderCase &c = GetParam();
    for (const bool swapped : {false, true}) {
        PictureEntries entries = swapped ? PictureEntries {c.b, c.a} : PictureEntries {c.a, c.b};
        const PictureEntries given = entries;
        sortEntries(entries);
        const PictureEntries expected = c.order < 0 ? PictureEntries {c.a, c.b}
            : c.order > 0                           ? PictureEntries {c.b, c.a}
                                                    : given;
        EXPECT_EQ(entries, expected) << (swapped ? "given b, a" : "given a, b");
    }
}

INSTANTIATE_TEST_SUITE_P(ListCommands, KeyOrder,
    ::testing::Values(KeyOrderCase {"CaseOnlyIsEqual", {"C:\\A.BMP", "0"}, {"c:\\a.bmp", "0"}, 0},
        KeyOrderCase {"LowerBeforeUpper", {"c:\\a.bmp", "2"}, {"C:\\B.bmp", "1"}, -1},
        KeyOrderCase {"PrefixFirst", {"a", "1"}, {"a", "12"}, -1},
        // "_" lies between the upper and the lower letters; with case folded to lower it
        // comes before every letter.
        KeyOrderCase {"UnderscoreBeforeLetters", {"x_", "0"}, {"xA", "0"}, -1},
        KeyOrderCase {"HighBytesAfterAscii", {"\xe9", "0"}, {"z", "0"}, 1},
        KeyOrderCase {"BraceAfterLetters", {"a", "0"}, {"ab", "0"}, 1}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(SortEntries, CaseIsIgnoredAndSettingsFollowTheirPaths)
{
    PictureEntries entries = {{"c:\\b.bmp", "10|0"}, {"C:\\A.bmp", "20|0"}};
    sortEntries(entries);
    const PictureEntries expected = {{"C:\\A.bmp", "20|0"}, {"c:\\b.bmp", "10|0"}};
    EXPECT_EQ(entries, expected);
}

TEST(SortEntries, BracesInEitherTextStayWhereTheyWere)
{
    // Split at its first "}", the first joined text would give the path "C:\x" and split at
    // its last, the third would give "p.bmp}3": every entry must come back as it went in.
    PictureEntries entries = {
        {"C:\\x}y.bmp", "30|0"},
        {"C:\\x.bmp", "20|0"},
        {"p.bmp", "3}1|2"},
        {"a}1", "0|0"},
        {"a", "}10|0"},
    };
    sortEntries(entries);
    // "1" and "." come before "}", which comes after every letter.
    const PictureEntries expected = {{"a}1", "0|0"}, {"a", "}10|0"}, {"C:\\x.bmp", "20|0"},
        {"C:\\x}y.bmp", "30|0"}, {"p.bmp", "3}1|2"}};
    EXPECT_EQ(entries, expected);
}

TEST(SortEntries, SamePathByItsSettingsAndEqualKeysKeepTheirOrder)
{
    PictureEntries entries
        = {{"Sea.bmp", "20|0"}, {"SEA.BMP", "10|0"}, {"sea.bmp", "10|0"}, {"Hill.bmp", "00|0"}};
    sortEntries(entries);
    const PictureEntries expected
        = {{"Hill.bmp", "00|0"}, {"SEA.BMP", "10|0"}, {"sea.bmp", "10|0"}, {"Sea.bmp", "20|0"}};
    EXPECT_EQ(entries, expected);
}

TEST(SortEntries, EmptyAndBytesThatAreNoText)
{
    PictureEntries none;
    sortEntries(none);
    EXPECT_TRUE(none.empty());
    PictureEntries entries = {{"/p/\xff\xfe.bmp", "00|0"}, {"/p/a.bmp", "10|0"}};
    sortEntries(entries);
    EXPECT_EQ(entries[0].path, "/p/a.bmp");
    EXPECT_EQ(entries[1].path, "/p/\xff\xfe.bmp");
}

// ---------------------------------------------------------------- Up and Down

struct MoveCase
{
    const char *name;
    bool up;
    std::int32_t index;
    std::int32_t count;
    std::optional<RowMove> expected;
};

class Moves : public ::testing::TestWithParam<MoveCase>
{
};

TEST_P(Moves, OneEntryOnePlace)
{
    const MoveCase &c = GetParam();
    EXPECT_EQ(c.up ? moveUp(c.index, c.count) : moveDown(c.index, c.count), c.expected);
}

INSTANTIATE_TEST_SUITE_P(ListCommands, Moves,
    ::testing::Values(MoveCase {"UpFromRow2", true, 2, 5, RowMove {2, 1}},
        MoveCase {"UpOnRow0", true, 0, 5, std::nullopt},
        MoveCase {"UpOnEmpty", true, -1, 0, std::nullopt},
        MoveCase {"UpOnLastRow", true, 4, 5, RowMove {4, 3}},
        MoveCase {"UpPastTheEnd", true, 5, 5, std::nullopt},
        MoveCase {"DownFromRow0", false, 0, 5, RowMove {0, 1}},
        MoveCase {"DownOnLastRow", false, 4, 5, std::nullopt},
        MoveCase {"DownOnEmpty", false, -1, 0, std::nullopt},
        MoveCase {"DownOnOnlyRow", false, 0, 1, std::nullopt},
        MoveCase {"DownBeforeLast", false, 3, 5, RowMove {3, 4}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(ApplyMove, TheEntryMovesWithItsSettings)
{
    PictureEntries entries = numbered(5);
    applyMove(entries, *moveUp(2, 5));
    EXPECT_EQ(entries[1], (PictureEntry {"P2.bmp", "20|0"}));
    EXPECT_EQ(entries[2], (PictureEntry {"P1.bmp", "10|0"}));
    applyMove(entries, *moveDown(1, 5));
    EXPECT_EQ(entries, numbered(5));
}

// ---------------------------------------------------------------- dropped names

struct EndingCase
{
    const char *name;
    std::string text;
    bool taken;
};

class BmpEnding : public ::testing::TestWithParam<EndingCase>
{
};

TEST_P(BmpEnding, LastThreeCharacters)
{
    EXPECT_EQ(hasBmpEnding(GetParam().text), GetParam().taken);
}

INSTANTIATE_TEST_SUITE_P(ListCommands, BmpEnding,
    ::testing::Values(EndingCase {"Lower", "C:\\Pics\\Sea.bmp", true},
        EndingCase {"Upper", "C:\\Pics\\SEA.BMP", true}, EndingCase {"Mixed", "/p/x.bMp", true},
        EndingCase {"NoDot", "/p/xbmp", true}, EndingCase {"JustBmp", "bmp", true},
        EndingCase {"TwoCharacters", "mp", false}, EndingCase {"Empty", "", false},
        EndingCase {"Jpeg", "B.jpg", false}, EndingCase {"TrailingBlank", "A.bmp ", false},
        EndingCase {"OneShort", "A.bm", false}, EndingCase {"OneMore", "A.bmpx", false},
        EndingCase {"ByteBeforeIsNotLookedAt", "A.\xc2\x42MP", true},
        EndingCase {"AccentedIsNoLetterHere", "A.BM\xd0", false}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(DroppedEntries, BitmapsInOrderEachWithTheSettings)
{
    const PictureEntries added = droppedEntries({"/d/A.bmp", "/d/B.jpg", "/d/C.BMP"}, "3100|50");
    const PictureEntries expected = {{"/d/A.bmp", "3100|50"}, {"/d/C.BMP", "3100|50"}};
    EXPECT_EQ(added, expected);
    EXPECT_TRUE(droppedEntries({"/d/a.jpg", "/d/b.JPG"}, "00|0").empty());
}

TEST(DroppedEntries, LongNamesStayWhole)
{
    const std::string name = "/tmp/" + std::string(300, 'n') + ".bmp";
    const PictureEntries added = droppedEntries({name}, "00|0");
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].path, name);
    EXPECT_EQ(added[0].path.size(), 309u);
}

TEST(NewEntries, NamesTheListFileCannotHoldAreRefusedAndTheRestGoIn)
{
    // CR, LF and Ctrl-Z anywhere in a name; every other byte is a name's own.
    const std::vector<std::string> names
        = {"/d/A.bmp", "/d/B\r.bmp", "/d/C\n.bmp", "/d/D\x1a.bmp", "/d/\xff\tE.bmp", "/d/F.jpg\r"};
    std::vector<std::string> refused;
    const PictureEntries added = addedEntries(names, "00|0", &refused);
    const PictureEntries expected = {{"/d/A.bmp", "00|0"}, {"/d/\xff\tE.bmp", "00|0"}};
    EXPECT_EQ(added, expected);
    EXPECT_EQ(refused, (std::vector<std::string> {names[1], names[2], names[3], names[5]}));

    // A drop reports only the refused bitmaps; other names are skipped silently.
    refused.clear();
    EXPECT_EQ(droppedEntries(names, "00|0", &refused), expected);
    EXPECT_EQ(refused, (std::vector<std::string> {names[1], names[2], names[3]}));
}

TEST(AppendIndex, FirstRowOnlyForAListThatHadNone)
{
    EXPECT_EQ(indexAfterAppend(-1, 2), 0);
    EXPECT_EQ(indexAfterAppend(-1, 0), -1);
    EXPECT_EQ(indexAfterAppend(3, 6), 3);
    EXPECT_EQ(indexAfterAppend(0, 1), 0);
}
