// Add, Remove, Clear All, Sort, Up, Down, the Delete key, dropped files and the preview.
#include "tests/support/form_world.h"

#include "picturelist/settings_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using namespace testsupport;

const Entries FiveEntries = numberedEntries(5);
const std::string Empty = " | index -1 | selected  | current -1 | count 0";

Entries without(Entries entries, std::vector<int> rows)
{
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        entries.erase(entries.begin() + row);
    return entries;
}

// ---------------------------------------------------------------- Add

TEST(AddTest, AsksForBitmapsSeveralAtOnce)
{
    FormWorld world;
    auto form = world.start();
    form->buttonClick("BitBtn7");
    ASSERT_EQ(world.shell.dialogs.size(), 1u);
    EXPECT_EQ(world.shell.dialogs[0].filters, (std::vector<core::FileFilter> {{"*.bmp", "*.bmp"}}));
    EXPECT_EQ(world.shell.dialogs[0].defaultExtension, "bmp");
    EXPECT_TRUE(world.shell.dialogs[0].multiSelect);
}

TEST(AddTest, ToAnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->RadioGroup1.setItemIndex(3);
    form->SpinEdit1.setValue(100);
    form->SpinEdit2.setValue(50);
    world.shell.chosen = {"/pics/b.bmp", "/pics/a.bmp"};
    form->buttonClick("BitBtn7");
    EXPECT_EQ(listState(*form),
        expectedState({{"/pics/b.bmp", "3100|50"}, {"/pics/a.bmp", "3100|50"}}, 0));
    EXPECT_EQ(form->ListBox2.count(), 0);
}

TEST(AddTest, ToAListOfFive)
{
    FormWorld world;
    auto form = world.startWith(FiveEntries, 3);
    const std::string before = controls(*form);
    world.shell.chosen = {"/pics/new.jpg"}; // whatever the dialog returns is taken
    form->buttonClick("BitBtn7");
    auto expected = FiveEntries;
    expected.emplace_back("/pics/new.jpg", "330|3");
    EXPECT_EQ(listState(*form), expectedState(expected, 3));
    EXPECT_EQ(controls(*form), before); // Add does not reload the placement
}

TEST(AddTest, TheSamePathAgain)
{
    FormWorld world;
    auto form = world.startWith({{"/pics/a.bmp", "10|0"}});
    world.shell.chosen = {"/pics/a.bmp"};
    form->buttonClick("BitBtn7");
    ASSERT_EQ(form->itemCount(), 2);
    EXPECT_EQ(form->entry(1).path, "/pics/a.bmp");
}

TEST(AddTest, CancelledStillShowsCountAndPreview)
{
    FormWorld world;
    world.store("PreviewOn", "true");
    auto form = world.startWith({{"/no/such/Sea.bmp", "00|0"}, {"/no/such/Hill.bmp", "00|0"}});
    world.shell.requests.clear();
    form->Panel5.setCaption("stale");
    form->buttonClick("BitBtn7");
    EXPECT_EQ(form->itemCount(), 2);
    EXPECT_EQ(form->Panel5.caption(), "2");
    EXPECT_EQ(world.messages(), std::vector<std::string> {UnableToLoad});
}

TEST(AddTest, NamesTheListFileCannotHoldAreNamedAndTheOthersGoIn)
{
    FormWorld world;
    auto form = world.start();
    world.shell.chosen = {"/p/a.bmp", "/p/b\rc.bmp", "/p/d\x1a.bmp", "/p/e.bmp"};
    form->buttonClick("BitBtn7");
    EXPECT_EQ(form->ListBox1.items(), (std::vector<std::string> {"/p/a.bmp", "/p/e.bmp"}));
    EXPECT_EQ(form->Panel5.caption(), "2");
    ASSERT_EQ(world.messages().size(), 1u);
    const std::string text = world.messages()[0];
    EXPECT_NE(text.find("\n/p/b\rc.bmp"), std::string::npos) << text;
    EXPECT_NE(text.find("\n/p/d\x1a.bmp"), std::string::npos) << text;
    EXPECT_EQ(text.find("/p/a.bmp"), std::string::npos) << text;
}

// ---------------------------------------------------------------- Remove

struct Removal
{
    int index;
    std::vector<int> selected;
    int indexAfter;
};

class RemoveTest : public testing::TestWithParam<Removal>
{
};

TEST_P(RemoveTest, RemovesTheSelectedRowsAndStepsBack)
{
    const Removal &p = GetParam();
    FormWorld world;
    auto form = world.startWith(FiveEntries, p.index);
    for (int row = 0; row < 5; ++row)
        form->ListBox1.setSelected(
            row, std::find(p.selected.begin(), p.selected.end(), row) != p.selected.end());
    form->buttonClick("BitBtn8");
    const Entries expected = without(FiveEntries, p.selected);
    EXPECT_EQ(listState(*form), expectedState(expected, p.indexAfter));
    // The controls show the new current entry's placement.
    const auto parsed
        = picturelist::parseSettingsString(expected[static_cast<size_t>(p.indexAfter)].second);
    EXPECT_EQ(controls(*form),
        std::to_string(parsed.mode) + " " + std::to_string(parsed.x) + " "
            + std::to_string(parsed.y));
    EXPECT_TRUE(world.messages().empty());
}

// One step back from 4 leaves 3 in a list of 2: brought back to the last row.
INSTANTIATE_TEST_SUITE_P(Rows, RemoveTest,
    testing::Values(Removal {2, {2}, 1}, Removal {0, {0}, 0}, Removal {3, {}, 2},
        Removal {3, {1, 3}, 2}, Removal {4, {2, 3, 4}, 1}, Removal {4, {1, 2, 3, 4}, 0}));

TEST(RemoveTest, TheOnlyEntry)
{
    FormWorld world;
    auto form = world.startWith({{"/p/only.bmp", "210|20"}});
    form->buttonClick("BitBtn8");
    EXPECT_EQ(listState(*form), Empty);
    EXPECT_EQ(controls(*form), "2 10 20");
    EXPECT_TRUE(world.messages().empty());
}

TEST(RemoveTest, OnAnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->buttonClick("BitBtn8");
    EXPECT_EQ(listState(*form), Empty);
    EXPECT_TRUE(world.messages().empty());
}

TEST(RemoveTest, TheDeleteKeyRemoves)
{
    FormWorld world;
    auto form = world.startWith(FiveEntries, 2);
    form->ListBox1.setSelected(4, true);
    form->ListBox1.keyDown(core::Key::Delete);
    EXPECT_EQ(listState(*form), expectedState(without(FiveEntries, {2, 4}), 1));
}

// ---------------------------------------------------------------- Clear All

TEST(ClearAllTest, AsksAndClearsOnlyOnYes)
{
    for (const auto &[answer, cleared] : {std::pair {core::MsgAnswer::Yes, true},
             std::pair {core::MsgAnswer::No, false}, std::pair {core::MsgAnswer::Cancel, false}}) {
        FormWorld world;
        auto form = world.startWith(FiveEntries, 3);
        const std::string before = listState(*form);
        const std::string placement = controls(*form);
        world.shell.answer = answer;
        form->buttonClick("BitBtn5");
        ASSERT_EQ(world.shell.requests.size(), 1u);
        const core::MessageRequest &box = world.shell.requests[0];
        EXPECT_EQ(box.caption, "Confirm");
        EXPECT_EQ(box.text, "Please confirm you wish to completely clear the list.");
        EXPECT_EQ(box.icon, core::MsgIcon::Question);
        EXPECT_EQ(box.buttons, core::MsgButtons::YesNoCancel);
        EXPECT_EQ(box.defaultAnswer, core::MsgAnswer::Yes);
        EXPECT_FALSE(box.overWindow); // centred on the screen
        EXPECT_EQ(listState(*form), cleared ? Empty : before);
        EXPECT_EQ(controls(*form), placement);
    }
}

// ---------------------------------------------------------------- Sort

TEST(SortTest, IgnoresCase)
{
    FormWorld world;
    auto form = world.startWith({{"c:\\b.bmp", "10|0"}, {"C:\\A.bmp", "20|0"}}, 1);
    form->buttonClick("BitBtn6");
    EXPECT_EQ(listState(*form), expectedState({{"C:\\A.bmp", "20|0"}, {"c:\\b.bmp", "10|0"}}, 0));
    EXPECT_EQ(controls(*form), "2 0 0");
}

TEST(SortTest, KeepsPathsHoldingBraces)
{
    FormWorld world;
    auto form = world.startWith(
        {{"/p/x}y.bmp", "312|34"}, {"/p/x.bmp", "10|0"}, {"/p/A}}.bmp", "20|0"}}, 0);
    form->buttonClick("BitBtn6");
    EXPECT_EQ(listState(*form),
        expectedState({{"/p/A}}.bmp", "20|0"}, {"/p/x.bmp", "10|0"}, {"/p/x}y.bmp", "312|34"}}, 0));
    EXPECT_EQ(controls(*form), "2 0 0");
}

TEST(SortTest, AnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->buttonClick("BitBtn6");
    EXPECT_EQ(listState(*form), Empty);
    EXPECT_TRUE(world.messages().empty());
}

// ---------------------------------------------------------------- Up and Down

TEST(UpDownTest, UpMovesTheFirstSelectedRow)
{
    FormWorld world;
    auto form = world.startWith(FiveEntries, 0);
    form->ListBox1.selectOnly(2);
    form->ListBox1.setSelected(4, true);
    const std::string placement = controls(*form);
    form->buttonClick("BitBtn9");
    auto expected = FiveEntries;
    std::swap(expected[1], expected[2]);
    EXPECT_EQ(listState(*form), expectedState(expected, 1));
    EXPECT_EQ(controls(*form), placement); // Up does not reload the placement
}

TEST(UpDownTest, DownMovesTheFirstSelectedRow)
{
    FormWorld world;
    auto form = world.startWith(FiveEntries, 0);
    form->ListBox1.selectOnly(1);
    form->ListBox1.setSelected(3, true);
    form->buttonClick("BitBtn10");
    auto expected = FiveEntries;
    std::swap(expected[1], expected[2]);
    EXPECT_EQ(listState(*form), expectedState(expected, 2));
}

TEST(UpDownTest, UpOnTheFirstAndDownOnTheLastMoveNothing)
{
    FormWorld world;
    auto form = world.startWith(FiveEntries, 3);
    form->ListBox1.selectOnly(0);
    form->ListBox1.setSelected(2, true);
    form->buttonClick("BitBtn9");
    EXPECT_EQ(listState(*form), expectedState(FiveEntries, 0));
    form->ListBox1.selectOnly(4);
    form->buttonClick("BitBtn10");
    EXPECT_EQ(listState(*form), expectedState(FiveEntries, 4));
}

TEST(UpDownTest, OnAnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->buttonClick("BitBtn9");
    form->buttonClick("BitBtn10");
    EXPECT_EQ(listState(*form), Empty);
    EXPECT_TRUE(world.messages().empty());
}

// ---------------------------------------------------------------- dropped files

TEST(DropTest, BitmapsOntoAnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->RadioGroup1.setItemIndex(3);
    form->SpinEdit1.setValue(100);
    form->SpinEdit2.setValue(50);
    form->WMDropFiles({"/d/A.bmp", "/d/B.jpg", "/d/C.BMP"});
    EXPECT_EQ(
        listState(*form), expectedState({{"/d/A.bmp", "3100|50"}, {"/d/C.BMP", "3100|50"}}, 0));
}

TEST(DropTest, OneOntoAListOfFour)
{
    FormWorld world;
    auto form = world.startWith(numberedEntries(4), 2);
    // What a new entry gets, set with no row selected so that row 2 keeps Location.
    form->ListBox1.setSelected(2, false);
    form->RadioGroup1.setItemIndex(1);
    EXPECT_EQ(form->entry(2).settings, "320|2");
    form->WMDropFiles({"/d/new.bMp"});
    ASSERT_EQ(form->itemCount(), 5);
    EXPECT_EQ(form->entry(4).path, "/d/new.bMp");
    EXPECT_EQ(form->entry(4).settings, "120|2");
    EXPECT_EQ(form->PictureIndex, 2);
    EXPECT_EQ(form->ListBox1.selectedRows(), std::vector<int> {2});
    EXPECT_EQ(form->ListBox1.itemIndex(), 2);
    EXPECT_EQ(form->Panel5.caption(), "5");
    EXPECT_EQ(controls(*form), "3 20 2"); // back on row 2's placement
}

TEST(DropTest, OnlyJpegsChangeNothingButSelectionAndPreview)
{
    FormWorld world;
    world.store("PreviewOn", "true");
    auto form = world.startWith(
        {{"/p/0.bmp", "00|0"}, {world.bitmap("Sea.bmp", 800, 200), "10|0"}, {"/p/2.bmp", "20|0"}},
        1);
    form->ListBox1.setSelected(0, true);
    form->ListBox1.setSelected(2, true);
    form->ListBox1.setItemIndex(2);
    const auto before = form->entries();
    EXPECT_EQ(form->Panel6.caption(), "");
    form->WMDropFiles({"/d/a.jpg", "/d/b.JPG", "/d/bmp.png"});
    EXPECT_EQ(form->entries(), before);
    EXPECT_EQ(form->ListBox1.selectedRows(), std::vector<int> {1});
    EXPECT_EQ(form->ListBox1.itemIndex(), 1);
    EXPECT_EQ(form->Panel6.caption(), "800 X 200");
    EXPECT_TRUE(world.messages().empty());
}

TEST(DropTest, NothingAcceptedOntoAnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->WMDropFiles({"/d/a.jpg"});
    EXPECT_EQ(listState(*form), Empty);
    EXPECT_TRUE(world.messages().empty());
}

TEST(DropTest, EachDropOnceAndNamesAsBytes)
{
    FormWorld world;
    auto form = world.start();
    const std::string latin1 = "/d/caf\xe9 100%.bmp";
    form->WMDropFiles({"/d/1.bmp"});
    form->WMDropFiles({latin1, "/d/1.bmp"});
    EXPECT_EQ(form->ListBox1.items(), (std::vector<std::string> {"/d/1.bmp", latin1, "/d/1.bmp"}));
}

TEST(DropTest, NamesTheListFileCannotHoldAreNamedAndTheOthersGoIn)
{
    FormWorld world;
    auto form = world.start();
    form->WMDropFiles({"/d/line\nbreak.bmp", "/d/ok.bmp", "/d/skipped\r.jpg"});
    EXPECT_EQ(form->ListBox1.items(), std::vector<std::string> {"/d/ok.bmp"});
    ASSERT_EQ(world.messages().size(), 1u);
    EXPECT_NE(world.messages()[0].find("\n/d/line\nbreak.bmp"), std::string::npos);
    EXPECT_EQ(world.messages()[0].find("skipped"), std::string::npos); // no bitmap: not named
}

// ---------------------------------------------------------------- the preview

std::unique_ptr<TForm1> previewing(FormWorld &world, const Entries &entries)
{
    world.store("PreviewOn", "true");
    auto form = world.startWith(entries);
    EXPECT_TRUE(form->PreviewEnabled);
    return form;
}

std::string bounds(const core::Picture &p)
{
    return std::to_string(p.left()) + "," + std::to_string(p.top()) + " "
        + std::to_string(p.width()) + "x" + std::to_string(p.height());
}

struct Fit
{
    int width;
    int height;
    const char *bounds;
    const char *caption;
};

class PreviewFitTest : public testing::TestWithParam<Fit>
{
};

TEST_P(PreviewFitTest, FitsThePictureAndShowsItsSize)
{
    const Fit &p = GetParam();
    FormWorld world;
    auto form = previewing(world, {{world.bitmap("Sky.bmp", p.width, p.height), "00|0"}});
    form->DisplayMe();
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(form->JPEGImage1.pictureWidth(), p.width);
    EXPECT_EQ(form->JPEGImage1.pictureHeight(), p.height);
    EXPECT_EQ(bounds(form->JPEGImage1), p.bounds);
    EXPECT_EQ(form->Panel6.caption(), p.caption);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewFitTest,
    testing::Values(Fit {640, 480, "2,2 86x63", "640 X 480"},
        Fit {480, 640, "22,2 46x63", "480 X 640"}, Fit {800, 200, "2,2 86x18", "800 X 200"},
        Fit {100, 100, "2,2 86x86", "100 X 100"}, Fit {1024, 768, "2,2 86x63", "1024 X 768"}));

TEST(PreviewTest, WithoutAPictureOnlyTheLeftIsSet)
{
    for (const auto &[left, width, height, after] : {std::tuple {30, 46, 63, "22,2 46x63"},
             std::tuple {9, 85, 63, "2,2 85x63"}, std::tuple {0, 86, 20, "2,2 86x20"}}) {
        FormWorld world;
        auto form = world.start();
        form->JPEGImage1.setBounds(left, 2, width, height);
        form->CheckSize();
        EXPECT_EQ(bounds(form->JPEGImage1), after);
    }
}

TEST(PreviewTest, OffOpensNothingAndOnShowsTheCurrentItem)
{
    FormWorld world;
    auto form = world.startWith(
        {{"/no/such/folder/Sky.bmp", "00|0"}, {world.bitmap("Sea.bmp", 640, 480), "00|0"}});
    EXPECT_FALSE(form->PreviewEnabled);
    form->DisplayMe();
    form->ListBox1.selectOnly(1);
    form->DisplayMe();
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(form->JPEGImage1.file(), "");
    EXPECT_EQ(form->Panel6.caption(), "");
    form->PreviewOn.setChecked(true);
    EXPECT_TRUE(form->PreviewEnabled);
    EXPECT_EQ(form->Panel6.caption(), "640 X 480");
    // Switching it off keeps what it showed.
    form->PreviewOn.setChecked(false);
    EXPECT_FALSE(form->PreviewEnabled);
    form->ListBox1.selectOnly(0);
    form->DisplayMe();
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(form->Panel6.caption(), "640 X 480");
}

TEST(PreviewTest, AMissingFileIsReportedWhateverItsName)
{
    for (const char *name : {"Sky.jpg", "Sky.bmp", "Sky"}) {
        FormWorld world;
        auto form = previewing(
            world, {{world.bitmap("Sea.bmp", 800, 200), "00|0"}, {world.dir.file(name), "00|0"}});
        form->DisplayMe();
        form->ListBox1.selectOnly(1);
        form->DisplayMe();
        EXPECT_EQ(world.messages(), std::vector<std::string> {UnableToLoad}) << name;
        EXPECT_EQ(world.shell.requests.at(0).caption, "Murelin");
        EXPECT_EQ(world.shell.requests.at(0).buttons, core::MsgButtons::Ok);
        EXPECT_EQ(form->Panel6.caption(), "800 X 200");
        EXPECT_EQ(bounds(form->JPEGImage1), "2,2 86x18");
    }
}

TEST(PreviewTest, AFolderIsNoFileToOpen)
{
    FormWorld world;
    const std::string folder = world.dir.file("Holiday.bmp");
    std::filesystem::create_directory(folder);
    auto form = previewing(world, {{folder, "00|0"}});
    form->DisplayMe();
    EXPECT_EQ(world.messages(), std::vector<std::string> {UnableToLoad});
}

TEST(PreviewTest, OnlyNamesEndingInBmpArePreviewed)
{
    for (const auto &[name, shown] : {std::pair {"Sky.bmp", true}, std::pair {"Sky.Bmp", true},
             std::pair {"SKY.BMP", true}, std::pair {"Skybmp", true}, std::pair {"Sky.jpg", false},
             std::pair {"Sky.bmp.txt", false}}) {
        FormWorld world;
        // Every second file holds a bitmap whatever its name: the name alone decides.
        auto form = previewing(world,
            {{world.bitmap("First.bmp", 640, 480), "00|0"},
                {world.bitmap(name, 100, 100), "00|0"}});
        form->DisplayMe();
        form->ListBox1.selectOnly(1);
        form->DisplayMe();
        EXPECT_TRUE(world.messages().empty());
        EXPECT_EQ(form->Panel6.caption(), shown ? "100 X 100" : "640 X 480") << name;
        EXPECT_EQ(bounds(form->JPEGImage1), shown ? "2,2 86x86" : "2,2 86x63") << name;
    }
}

TEST(PreviewTest, ABrokenBitmapIsReportedAndThePictureStays)
{
    FormWorld world;
    auto form = previewing(world,
        {{world.bitmap("Good.bmp", 480, 640), "00|0"}, {world.dir.file("Broken.bmp"), "00|0"}});
    writeFile(world.dir.file("Broken.bmp"), "BM this is no bitmap at all");
    form->DisplayMe();
    form->ListBox1.selectOnly(1);
    EXPECT_FALSE(form->run([&] { form->DisplayMe(); }));
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Bitmap image is not valid"});
    EXPECT_EQ(form->JPEGImage1.pictureWidth(), 480);
    EXPECT_EQ(form->Panel6.caption(), "480 X 640");
    EXPECT_EQ(bounds(form->JPEGImage1), "22,2 46x63");
}

TEST(PreviewTest, ABrokenBitmapEndsTheCommandThatShowsIt)
{
    // Add shows the count before the preview: the count is right, the error reported.
    FormWorld world;
    auto form = previewing(world, {});
    const std::string broken = world.dir.file("Broken.BMP");
    writeFile(broken, std::string(200, 'x'));
    world.shell.chosen = {broken};
    form->buttonClick("BitBtn7");
    EXPECT_EQ(form->Panel5.caption(), "1");
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Bitmap image is not valid"});
    EXPECT_EQ(form->JPEGImage1.file(), "");
}

TEST(PreviewTest, AnEmptyListShowsNothing)
{
    FormWorld world;
    auto form = previewing(world, {});
    form->JPEGImage1.setBounds(9, 2, 85, 63);
    form->DisplayMe();
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(bounds(form->JPEGImage1), "9,2 85x63");
}

TEST(PreviewTest, ClearAllLeavesThePreview)
{
    FormWorld world;
    auto form = previewing(world, {{world.bitmap("Sea.bmp", 480, 640), "00|0"}});
    form->DisplayMe();
    form->buttonClick("BitBtn5");
    EXPECT_EQ(form->itemCount(), 0);
    EXPECT_EQ(form->Panel6.caption(), "480 X 640");
    EXPECT_EQ(bounds(form->JPEGImage1), "22,2 46x63");
}

} // namespace
