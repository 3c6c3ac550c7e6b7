// The placement controls and the entries' settings strings; shutdown and saving; requests to
// end that come at awkward moments.
#include "tests/support/form_world.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace testsupport;

struct ReadBack
{
    const char *stored;
    const char *controls;
    const char *after;
};

class ReadOptionsTest : public testing::TestWithParam<ReadBack>
{
};

TEST_P(ReadOptionsTest, RewritesTheCurrentEntryInNormalForm)
{
    FormWorld world;
    world.list(1, {GetParam().stored});
    auto form = world.start();
    EXPECT_EQ(controls(*form), GetParam().controls);
    EXPECT_EQ(std::to_string(form->OriginX) + " " + std::to_string(form->OriginY),
        std::string(GetParam().controls).substr(2));
    // An empty string reads as the controls' start values, so nothing changes and nothing is
    // written back.
    EXPECT_EQ(form->entry(0).settings, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Strings, ReadOptionsTest,
    testing::Values(ReadBack {"3100|50", "3 100 50", "3100|50"}, ReadBack {"", "3 0 0", ""},
        ReadBack {"2", "2 0 2", "20|2"}, ReadBack {"7100|50", "3 100 50", "3100|50"},
        ReadBack {"0abc|5", "0 0 5", "00|5"}, ReadBack {"340000|0", "3 32000 0", "332000|0"},
        ReadBack {"1$1F|$10", "1 31 16", "131|16"}, ReadBack {"3-5|3", "3 0 3", "30|3"}));

TEST(PlacementTest, ChangingThePlacementStoresIntoEverySelectedRowOnly)
{
    FormWorld world;
    world.list(5, {"00|0", "10|20", "00|0", "30|0", "00|0"});
    auto form = world.start();
    form->SpinEdit1.setValue(10);
    form->SpinEdit2.setValue(20);
    form->ListBox1.selectOnly(1);
    form->ListBox1.setSelected(3, true);
    form->RadioGroup1.setItemIndex(2);
    EXPECT_TRUE(form->TiledOn && !form->StretchOn && !form->LocationOn);
    EXPECT_EQ(form->entry(1).settings, "210|20");
    EXPECT_EQ(form->entry(3).settings, "210|20");
    EXPECT_EQ(form->entry(0).settings, "010|20"); // selected when X and Y changed
    EXPECT_EQ(form->entry(2).settings, "00|0");
    EXPECT_EQ(form->entry(4).settings, "00|0");
    form->RadioGroup1.setItemIndex(3);
    EXPECT_TRUE(form->StretchOn && form->LocationOn);
    form->RadioGroup1.setItemIndex(1);
    EXPECT_TRUE(form->CenterOn && !form->StretchOn);
}

TEST(PlacementTest, ReadOptionsWritesNothingWhenNothingChanges)
{
    FormWorld world;
    world.list(3, {"3100|50", "3100|50", "1|"});
    auto form = world.start();
    // Every row selected; row 2's odd string must survive a ReadOptions of row 0.
    form->ListBox1.setSelected(1, true);
    form->ListBox1.setSelected(2, true);
    form->ReadOptions();
    EXPECT_EQ(form->entry(2).settings, "1|");
}

// ---------------------------------------------------------------- shutdown

TEST(ShutdownTest, ClosingSavesTheListAndAllThirteenSettingsInTheirOrder)
{
    FormWorld world;
    world.store("FLeft", "40");
    world.store("FTop", "30");
    world.store("Index", "2");
    world.store("Timer", "75");
    world.store("TimedDisplay", "true");
    world.store("PreviewOn", "true");
    world.store("IconClick", "true");
    const std::string list
        = "/p/a.bmp\r\n00|0\r\n/p/caf\xe9.bmp\r\n10|0\r\n/p/c.bmp\r\n3100|50\r\n";
    world.writeList(list);
    {
        auto form = world.start();
        form->RandomPick.setChecked(true);
        form->WMEndSession();
        EXPECT_EQ(world.endProcessCalls, 1);
        EXPECT_FALSE(world.shell.trayShown);
    }
    EXPECT_EQ(world.listBytes(), list);
    const std::vector<MemoryRegistry::Write> expected = {{"Index", "2"}, {"Timer", "75"},
        {"X1", "100"}, {"Y1", "50"}, {"Option", "3"}, {"FLeft", "40"}, {"FTop", "30"},
        {"AutoQuit", "false"}, {"RandomPick", "true"}, {"IconClick", "true"},
        {"LoadStart", "false"}, {"TimedDisplay", "true"}, {"PreviewOn", "true"}};
    EXPECT_EQ(world.registry.writes, expected);

    // A restart finds everything again.
    auto again = world.start();
    EXPECT_EQ(again->itemCount(), 3);
    EXPECT_EQ(again->entry(1).path, "/p/caf\xe9.bmp");
    EXPECT_EQ(again->PictureIndex, 2);
    EXPECT_EQ(again->SpinEdit3.value(), 75);
    EXPECT_TRUE(again->RandomPick.checked());
    EXPECT_EQ(again->Form1.left(), 40);
}

TEST(ShutdownTest, AutomaticExitWritesTheSettingsTwiceAndTheListOnce)
{
    FormWorld world;
    world.store("AutoQuit", "true");
    world.writeList("/p/a.bmp\r\n00|0\r\n");
    auto form = world.start();
    // Every pass that writes the list says it could not: a folder stands in the list's place.
    std::filesystem::remove(world.listPath);
    std::filesystem::create_directory(world.listPath);
    form->Timer1.tick();
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Unable to save filenames!"});
    EXPECT_EQ(world.registry.writesOf("Index"), 2);
    EXPECT_EQ(world.registry.writes.size(), 26u);
    EXPECT_EQ(world.endProcessCalls, 1);
    EXPECT_FALSE(world.shell.trayShown);
}

TEST(ShutdownTest, ShowingTheWindowCancelsTheAutomaticExit)
{
    FormWorld world;
    auto form = world.start({{"AutoQuit", "true"}});
    EXPECT_TRUE(form->Timer1.running());
    form->TrayIconMessage(core::TrayRightButtonDown);
    EXPECT_FALSE(form->Timer1.running());
    form->AppOnMinimize();
    EXPECT_FALSE(world.shell.visible);
    EXPECT_FALSE(form->Timer1.running());
}

TEST(ShutdownTest, AnUnwritableListFileIsReportedAndTheSettingsAreStillSaved)
{
    FormWorld world;
    world.writeList("/p/old.bmp\r\n00|0\r\n");
    auto form = world.start();
    // The list file's place is taken by a folder: the old list is gone from there, and nothing
    // can be written over the folder.
    std::filesystem::remove(world.listPath);
    std::filesystem::create_directory(world.listPath);
    form->SpinEdit1.setValue(9);
    form->WMEndSession();
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Unable to save filenames!"});
    EXPECT_EQ(world.stored("X1"), "9");
    EXPECT_TRUE(std::filesystem::is_directory(world.listPath));
    EXPECT_EQ(world.endProcessCalls, 1);
}

TEST(ShutdownTest, AnEmptyListIsSavedAsAnEmptyFile)
{
    FormWorld world;
    auto form = world.start();
    form->WMEndSession();
    EXPECT_EQ(world.listBytes(), "");
    EXPECT_EQ(world.stored("Index"), "-1");
}

TEST(ShutdownTest, AFailedSettingsWriteEndsThePassButNotTheProgram)
{
    FormWorld world;
    auto form = world.start();
    world.registry.failingWrites = {"X1"};
    form->WMEndSession();
    // The pass stops at "X1"; the process still ends.
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Failed to set data for 'X1'"});
    EXPECT_EQ(world.registry.writesOf("Y1"), 0);
    EXPECT_EQ(world.endProcessCalls, 1);
}

TEST(ShutdownTest, ASessionCheckpointSavesWithoutEnding)
{
    FormWorld world;
    world.writeList("/p/a.bmp\r\n00|0\r\n");
    auto form = world.start();
    form->SpinEdit2.setValue(44);
    std::filesystem::remove(world.listPath);
    form->SaveSession();
    EXPECT_EQ(world.listBytes(), "/p/a.bmp\r\n00|44\r\n");
    EXPECT_EQ(world.stored("Y1"), "44");
    EXPECT_EQ(world.endProcessCalls, 0);
    EXPECT_TRUE(world.shell.trayShown);
    form->WMEndSession();
    EXPECT_EQ(world.endProcessCalls, 1);
}

// ---------------------------------------------------------------- ends at awkward moments

TEST(EndRequestTest, DuringAStartUpBoxNothingIsWrittenOverTheUsersFiles)
{
    FormWorld world;
    world.store("X1", "abc"); // its box waits while the request comes
    world.store("Index", "1");
    world.store("Timer", "75");
    const std::string list = "/p/a.bmp\r\n00|0\r\n/p/b.bmp\r\n10|0\r\n";
    world.writeList(list);
    world.shell.whileBoxOpen
        = [&](const core::MessageRequest &) { world.shell.form->WMEndSession(); };
    auto form = world.start();
    EXPECT_EQ(world.shell.closeModalsCalls, 1);
    EXPECT_EQ(world.endProcessCalls, 1);
    EXPECT_TRUE(world.registry.writes.empty());
    EXPECT_EQ(world.listBytes(), list);
    EXPECT_EQ(world.calls.size(), 0u);
}

TEST(EndRequestTest, AListThatCouldNotBeReadIsNeverWrittenOver)
{
    FormWorld world;
    world.store("Index", "4");
    // A folder where the list file should be: there, but not readable as a file.
    std::filesystem::create_directory(world.listPath);
    auto form = world.start();
    EXPECT_EQ(form->listState(), TForm1::ListState::Unreadable);
    EXPECT_EQ(form->itemCount(), 0);
    form->WMEndSession();
    EXPECT_TRUE(world.messages().empty()); // no attempt to write it
    EXPECT_TRUE(std::filesystem::is_directory(world.listPath));
    EXPECT_EQ(world.stored("Index"), "4"); // the current picture belongs to the list
    EXPECT_EQ(world.stored("Timer"), "360"); // the other settings are saved
}

TEST(EndRequestTest, AMissingListFileIsNoReadFailure)
{
    FormWorld world;
    auto form = world.start();
    EXPECT_EQ(form->listState(), TForm1::ListState::NoFile);
}

TEST(EndRequestTest, WhileABoxWaitsTheBoxIsClosedAndTheProgramEndsThroughSaving)
{
    FormWorld world;
    world.store("PreviewOn", "true");
    auto form = world.startWith({{"/no/such/a.bmp", "10|0"}});
    world.shell.requests.clear();
    world.shell.whileBoxOpen = [&](const core::MessageRequest &) { form->WMEndSession(); };
    form->buttonClick("BitBtn1"); // Next: the preview's box waits
    EXPECT_EQ(world.messages(), std::vector<std::string> {UnableToLoad});
    EXPECT_EQ(world.shell.closeModalsCalls, 1);
    EXPECT_EQ(world.endProcessCalls, 1);
    EXPECT_EQ(world.stored("Index"), "0");
    EXPECT_EQ(world.registry.writesOf("Index"), 1);
    EXPECT_EQ(world.listBytes(), "/no/such/a.bmp\r\n10|0\r\n");
}

TEST(EndRequestTest, DuringTheSavingsOwnBoxTheSettingsAreStillWritten)
{
    FormWorld world;
    auto form = world.start();
    std::filesystem::create_directory(world.listPath);
    world.shell.whileBoxOpen = [&](const core::MessageRequest &) { form->WMEndSession(); };
    form->WMEndSession();
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Unable to save filenames!"});
    EXPECT_EQ(world.shell.closeModalsCalls, 1);
    EXPECT_EQ(world.registry.writesOf("PreviewOn"), 1);
    EXPECT_EQ(world.endProcessCalls, 1);
}

// Where the system ends the process as soon as its end-of-session message is answered, the
// saving is done before endSessionNow returns, with the box still on the stack.
struct EndNowCase
{
    const char *name;
    void (*waitIn)(FormWorld &world, TForm1 &form); // opens what waits; endSessionNow inside
    bool startUpBox; // the box is one of the start-up's: nothing may be written
    bool listWritable;
    int settingsWritten; // writes of "Index" seen when endSessionNow returns
    const char *listAfter; // the list file when it returns; null: still the folder in its way
};

constexpr const char *TwoEntries = "/p/a.bmp\r\n00|0\r\n/p/b.bmp\r\n10|0\r\n";

class EndNowTest : public testing::TestWithParam<EndNowCase>
{
};

TEST_P(EndNowTest, EverythingIsSavedBeforeTheMessageIsAnswered)
{
    const EndNowCase &c = GetParam();
    FormWorld world;
    world.writeList(TwoEntries);
    world.store("Index", "1");
    if (c.startUpBox)
        world.store("X1", "abc"); // its box waits at start
    std::unique_ptr<TForm1> form;
    bool seen = false;
    const auto endNow = [&] {
        if (seen)
            return;
        seen = true;
        world.shell.form->endSessionNow();
        // The process may be gone from here on: what is on disk now is what the user keeps.
        EXPECT_EQ(world.endProcessCalls, 1);
        EXPECT_EQ(world.registry.writesOf("Index"), c.settingsWritten);
        EXPECT_EQ(world.registry.writesOf("PreviewOn"), c.settingsWritten);
        if (c.listAfter)
            EXPECT_EQ(world.listBytes(), c.listAfter);
        else
            EXPECT_TRUE(std::filesystem::is_directory(world.listPath));
    };
    world.shell.whileBoxOpen = [&](const core::MessageRequest &) { endNow(); };
    world.shell.whileDialogOpen = endNow;
    form = world.start();
    if (!c.startUpBox) {
        if (!c.listWritable) {
            std::filesystem::remove(world.listPath);
            std::filesystem::create_directory(world.listPath);
        }
        c.waitIn(world, *form);
        EXPECT_EQ(form->itemCount(), 2); // the box or dialog answered nothing
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(world.endProcessCalls, 1);
}

INSTANTIATE_TEST_SUITE_P(Boxes, EndNowTest,
    testing::Values(EndNowCase {"ClearAllQuestion",
                        [](FormWorld &, TForm1 &form) { form.buttonClick("BitBtn5"); }, false, true,
                        1, TwoEntries},
        EndNowCase {"AddDialog",
            [](FormWorld &world, TForm1 &form) {
                world.shell.chosen = {"/p/new.bmp"};
                form.buttonClick("BitBtn7");
            },
            false, true, 1, TwoEntries},
        EndNowCase {"StartUpBox", nullptr, true, true, 0, TwoEntries},
        EndNowCase {"TheSavingsOwnBox", [](FormWorld &, TForm1 &form) { form.WMEndSession(); },
            false, false, 1, nullptr}),
    [](const testing::TestParamInfo<EndNowCase> &row) { return std::string(row.param.name); });

} // namespace
