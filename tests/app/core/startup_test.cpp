// Start-up: the stored settings into the controls, the list file, the current picture, the
// notification icon, the automatic exit and the fonts.
#include "tests/support/form_world.h"

#include "platform/registry.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;

TEST(StartupTest, FirstStartWithAnEmptyRegistry)
{
    FormWorld world;
    auto form = world.start();
    for (const core::CheckBox *box : {&form->IconClick, &form->RandomPick, &form->LoadStart,
             &form->AutoQuit, &form->TimedDisplay, &form->PreviewOn})
        EXPECT_FALSE(box->checked());
    EXPECT_EQ(controls(*form), "3 0 0");
    EXPECT_EQ(form->SpinEdit3.value(), 360);
    EXPECT_TRUE(form->StretchOn && form->LocationOn);
    EXPECT_EQ(form->Form1.left(), 302);
    EXPECT_EQ(form->Form1.top(), 198);
    EXPECT_EQ(listState(*form), " | index -1 | selected  | current -1 | count 0");
    EXPECT_FALSE(form->Timer1.running());
    EXPECT_FALSE(form->Timer2.running());
    EXPECT_FALSE(world.shell.visible);
    EXPECT_TRUE(world.shell.trayShown);
    EXPECT_TRUE(world.shell.dropsAccepted);
    EXPECT_TRUE(world.messages().empty());
    // Reading stored nothing.
    EXPECT_TRUE(world.registry.writes.empty());
}

TEST(StartupTest, StoredValuesOfEveryKind)
{
    FormWorld world;
    world.store("IconClick", "true");
    world.store("RandomPick", "true");
    world.store("LoadStart", "false");
    world.store("AutoQuit", "TRUE"); // other capitals read as false
    world.store("TimedDisplay", "true");
    world.store("PreviewOn", "");
    world.store("X1", "120");
    world.store("Y1", "40000"); // clamped by the spin edit
    world.store("Timer", "0"); // shown as 1
    world.store("Option", "9"); // Location
    world.store("FLeft", "-20");
    world.store("FTop", "15");
    auto form = world.start();
    EXPECT_TRUE(form->IconClick.checked() && form->IconClickOn);
    EXPECT_TRUE(form->RandomPick.checked() && form->RandomPickOn);
    EXPECT_FALSE(form->AutoQuit.checked() || form->AutoQuitOn);
    EXPECT_FALSE(form->Timer1.running());
    EXPECT_TRUE(form->TimedDisplay.checked());
    EXPECT_TRUE(form->Timer2.running());
    EXPECT_EQ(form->Timer2.interval(), 1000);
    EXPECT_FALSE(form->PreviewOn.checked());
    EXPECT_EQ(controls(*form), "3 120 32000");
    EXPECT_EQ(form->OriginX, 120);
    EXPECT_EQ(form->SpinEdit3.value(), 1);
    EXPECT_EQ(form->Form1.left(), -20);
    EXPECT_EQ(form->Form1.top(), 15);
}

TEST(StartupTest, OptionBelowRangeLeavesNoItemChosen)
{
    FormWorld world;
    auto form = world.start({{"Option", "-7"}});
    EXPECT_EQ(form->RadioGroup1.itemIndex(), -1);
}

TEST(StartupTest, AutomaticExitIsArmed)
{
    FormWorld world;
    auto form = world.start({{"AutoQuit", "true"}});
    EXPECT_TRUE(form->Timer1.running());
    EXPECT_EQ(form->Timer1.interval(), 10000);
}

struct StoredIndex
{
    const char *stored;
    int rows;
    int expected;
};

class StartupIndexTest : public testing::TestWithParam<StoredIndex>
{
};

TEST_P(StartupIndexTest, IndexIsBroughtIntoTheList)
{
    const StoredIndex &p = GetParam();
    FormWorld world;
    std::string list;
    for (int i = 0; i < p.rows; ++i)
        list += "/p/" + std::to_string(i) + ".bmp\r\n1" + std::to_string(i) + "|0\r\n";
    world.writeList(list);
    auto form = world.start({{"Index", p.stored}});
    EXPECT_EQ(form->PictureIndex, p.expected);
    EXPECT_EQ(form->Panel5.caption(), std::to_string(p.rows));
    if (p.expected >= 0) {
        EXPECT_EQ(form->ListBox1.selectedRows(), std::vector<int> {p.expected});
        EXPECT_EQ(form->ListBox1.itemIndex(), p.expected);
        // ReadOptions loaded the current entry's placement: Center, X = its number.
        EXPECT_EQ(controls(*form), "1 " + std::to_string(p.expected) + " 0");
    }
}

INSTANTIATE_TEST_SUITE_P(Indexes, StartupIndexTest,
    testing::Values(StoredIndex {"-1", 3, 0}, StoredIndex {"5", 0, -1}, StoredIndex {"-9", 3, 0},
        StoredIndex {"7", 3, 2}, StoredIndex {"3", 3, 2}, StoredIndex {"1", 3, 1}));

TEST(StartupTest, DefaultPositionCentresOnTheMaximisedArea)
{
    FormWorld world;
    world.shell.maximized = {1920, 1050};
    world.shell.outer = {423, 333};
    auto form = world.start();
    EXPECT_EQ(form->Form1.left(), 960 - 211);
    EXPECT_EQ(form->Form1.top(), 525 - 176);
}

TEST(StartupTest, FontMeFollowsTheDisplaysResolution)
{
    for (const auto &[ppi, face, points] : {std::tuple {96, "SSERIFE.FON", 8},
             std::tuple {120, "SERIFE.FON", 6}, std::tuple {144, "SERIFE.FON", 6}}) {
        FormWorld world;
        world.shell.pixelsPerInch_ = ppi;
        auto form = world.start();
        EXPECT_EQ(form->Form1.fontFace(), face) << ppi;
        EXPECT_EQ(form->Form1.fontPoints(), points) << ppi;
    }
}

struct StartupError
{
    bool dword;
    const char *message;
};

class StartupErrorTest : public testing::TestWithParam<StartupError>
{
};

TEST_P(StartupErrorTest, ErrorsAreShownAndTheRestStillHappens)
{
    FormWorld world;
    if (GetParam().dword)
        world.registry.write(
            SettingsKeyPath, "X1", platform::RegValue {platform::RegDword, std::string(4, '\x05')});
    else
        world.store("X1", "abc");
    world.store("Y1", "7");
    world.store("AutoQuit", "true");
    world.writeList("/p/a.bmp\r\n00|0\r\n");
    auto form = world.start();
    EXPECT_EQ(world.messages(), std::vector<std::string> {GetParam().message});
    // The bad value left its control alone; every later step ran.
    EXPECT_EQ(controls(*form), "0 0 0"); // ReadOptions loaded 00|0 after Y1's 7
    EXPECT_EQ(form->itemCount(), 1);
    EXPECT_TRUE(world.shell.trayShown);
    EXPECT_TRUE(form->Timer1.running());
    EXPECT_EQ(form->Form1.fontFace(), "SSERIFE.FON");
}

INSTANTIATE_TEST_SUITE_P(Errors, StartupErrorTest,
    testing::Values(StartupError {false, "'abc' is not a valid integer value"},
        StartupError {true, "Invalid data type for 'X1'"}));

TEST(StartupTest, TheStartUpReadsTheSettingsInTheirOrder)
{
    // A box for every one of them shows the order they were read in.
    FormWorld world;
    for (const char *name : {"IconClick", "RandomPick", "LoadStart", "AutoQuit", "TimedDisplay",
             "PreviewOn", "X1", "Y1", "Timer", "Option", "FLeft", "FTop", "Index"})
        world.registry.write(
            SettingsKeyPath, name, platform::RegValue {platform::RegDword, std::string(4, '\0')});
    auto form = world.start();
    std::vector<std::string> expected;
    for (const char *name : {"IconClick", "RandomPick", "LoadStart", "AutoQuit", "TimedDisplay",
             "PreviewOn", "X1", "Y1", "Timer", "Option", "FLeft", "FTop", "Index"})
        expected.push_back(std::string("Invalid data type for '") + name + "'");
    EXPECT_EQ(world.messages(), expected);
}

} // namespace
