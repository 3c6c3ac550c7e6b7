// Commands from outside the window: each does what its button does, none runs while a box or
// dialog waits, and the state the outside reads is reported when an event changes it.
#include "tests/support/form_world.h"

#include "app/core/remote.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using core::Command;
using core::CommandResult;

/** What one window shows after a command: enough to tell one handler's work from another's. */
std::string outcome(FormWorld &world, const TForm1 &form)
{
    return listState(form) + " | wallpaper " + describe(world.calls) + " | visible "
        + (world.shell.visible ? "yes" : "no") + " | automatic exit "
        + (form.Timer1.enabled() ? "armed" : "off") + " | boxes "
        + std::to_string(world.messages().size());
}

struct Twin
{
    const char *name;
    Command command;
    std::function<void(TForm1 &)> sameByHand;
};

class RemoteCommandTest : public testing::TestWithParam<Twin>
{
};

TEST_P(RemoteCommandTest, DoesWhatItsButtonDoes)
{
    const Twin &p = GetParam();
    const auto started = [](FormWorld &world) {
        world.list(5, {"0", "1", "2", "3100|50", "1"});
        auto form = world.start({{"Index", "1"}, {"AutoQuit", "true"}});
        userSelects(*form, {3, 1});
        return form;
    };
    FormWorld byHand;
    auto handForm = started(byHand);
    p.sameByHand(*handForm);

    FormWorld remotely;
    auto form = started(remotely);
    core::Remote remote(*form, {});
    EXPECT_EQ(remote.run(p.command), CommandResult::Done);
    EXPECT_EQ(outcome(remotely, *form), outcome(byHand, *handForm));
}

INSTANTIATE_TEST_SUITE_P(Commands, RemoteCommandTest,
    testing::Values(Twin {"next", Command::Next, [](TForm1 &f) { f.buttonClick("BitBtn1"); }},
        Twin {"prev", Command::Prev, [](TForm1 &f) { f.buttonClick("BitBtn2"); }},
        Twin {"load_current", Command::LoadCurrent, [](TForm1 &f) { f.buttonClick("BitBtn3"); }},
        Twin {"show_window", Command::ShowWindow,
            [](TForm1 &f) { f.trayIconMouse(core::TrayRightButtonDown); }}),
    [](const testing::TestParamInfo<Twin> &param) { return std::string(param.param.name); });

struct Wait
{
    const char *name;
    const char *button; // the button whose box or dialog waits
    bool dialog;
};

class BusyTest : public testing::TestWithParam<Wait>
{
};

TEST_P(BusyTest, EveryCommandIsRefusedWhileABoxWaitsAndRunsNothing)
{
    FormWorld world;
    world.list(3);
    auto form = world.start({{"Index", "0"}, {"AutoQuit", "true"}});
    int changes = 0;
    core::Remote remote(*form, [&changes](unsigned, const core::PublicState &) { ++changes; });
    std::vector<CommandResult> results;
    std::string during;
    const auto whileWaiting = [&] {
        const std::string before = outcome(world, *form);
        for (Command c : {Command::Next, Command::Prev, Command::LoadCurrent, Command::ShowWindow})
            results.push_back(remote.run(c));
        during = outcome(world, *form) == before ? "unchanged" : outcome(world, *form);
    };
    world.shell.answer = core::MsgAnswer::No;
    if (GetParam().dialog)
        world.shell.whileDialogOpen = whileWaiting;
    else
        world.shell.whileBoxOpen = [&](const core::MessageRequest &) { whileWaiting(); };
    form->buttonClick(GetParam().button);
    EXPECT_EQ(results, std::vector<CommandResult>(4, CommandResult::Busy));
    EXPECT_EQ(during, "unchanged");
    EXPECT_EQ(changes, 0);
    // Once the box is answered, the next call runs.
    world.shell.whileBoxOpen = nullptr;
    world.shell.whileDialogOpen = nullptr;
    EXPECT_EQ(remote.run(Command::Next), CommandResult::Done);
    EXPECT_EQ(form->PictureIndex, 1);
    EXPECT_EQ(changes, 1);
}

INSTANTIATE_TEST_SUITE_P(Waits, BusyTest,
    testing::Values(
        Wait {"clear_all_question", "BitBtn5", false}, Wait {"add_dialog", "BitBtn7", true}),
    [](const testing::TestParamInfo<Wait> &param) { return std::string(param.param.name); });

TEST(RemoteTest, AFailedHandlerIsReportedAndItsErrorBoxMakesTheProgramBusy)
{
    FormWorld world;
    const std::string good = world.bitmap("good.bmp", 4, 3);
    const std::string bad = world.dir.file("bad.bmp");
    writeFile(bad, "not a bitmap");
    world.writeList(good + "\r\n1\r\n" + bad + "\r\n1\r\n");
    auto form = world.start({{"Index", "0"}, {"PreviewOn", "true"}});
    core::Remote remote(*form, {});
    CommandResult duringBox = CommandResult::Done;
    world.shell.whileBoxOpen
        = [&](const core::MessageRequest &) { duringBox = remote.run(Command::Prev); };
    EXPECT_EQ(remote.run(Command::Next), CommandResult::Failed);
    EXPECT_EQ(remote.failure(), "Bitmap image is not valid");
    EXPECT_EQ(world.messages(), std::vector<std::string> {"Bitmap image is not valid"});
    EXPECT_EQ(duringBox, CommandResult::Busy);
    EXPECT_EQ(form->PictureIndex, 1); // the step was taken before the preview failed
}

struct Change
{
    const char *name;
    std::function<void(TForm1 &, FormWorld &)> act;
    unsigned expected; // the bits of the one report; 0: no report at all
    core::PublicState after;
};

class StateChangeTest : public testing::TestWithParam<Change>
{
};

TEST_P(StateChangeTest, ReportsOnceWhatChanged)
{
    const Change &p = GetParam();
    FormWorld world;
    auto form = world.startWith(numberedEntries(3), 2);
    std::vector<std::pair<unsigned, core::PublicState>> reports;
    core::Remote remote(*form, [&reports](unsigned changes, const core::PublicState &state) {
        reports.emplace_back(changes, state);
    });
    p.act(*form, world);
    if (p.expected == 0) {
        EXPECT_TRUE(reports.empty());
    } else {
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].first, p.expected);
        EXPECT_EQ(reports[0].second, p.after);
    }
    EXPECT_EQ(remote.state(), p.after);
}

using namespace core;
const std::string P0 = "/p/0.bmp", P1 = "/p/1.bmp", P2 = "/p/2.bmp";

INSTANTIATE_TEST_SUITE_P(Events, StateChangeTest,
    testing::Values(Change {"next_wraps", [](TForm1 &f, FormWorld &) { f.buttonClick("BitBtn1"); },
                        CurrentIndexChanged | CurrentPictureChanged, {3, 0, P0}},
        Change {"timer_tick",
            [](TForm1 &f, FormWorld &) {
                f.TimedDisplay.setChecked(true);
                f.Timer2.tick();
            },
            CurrentIndexChanged | CurrentPictureChanged, {3, 0, P0}},
        Change {"load_current_of_the_same",
            [](TForm1 &f, FormWorld &) { f.buttonClick("BitBtn3"); }, 0, {3, 2, P2}},
        Change {"click_in_the_list", [](TForm1 &f, FormWorld &) { userSelects(f, {0}); }, 0,
            {3, 2, P2}},
        Change {"up_keeps_the_picture", [](TForm1 &f, FormWorld &) { f.buttonClick("BitBtn9"); },
            CurrentIndexChanged, {3, 1, P2}},
        Change {"sort", [](TForm1 &f, FormWorld &) { f.buttonClick("BitBtn6"); },
            CurrentIndexChanged | CurrentPictureChanged, {3, 0, P0}},
        Change {"remove_the_current", [](TForm1 &f, FormWorld &) { f.buttonClick("BitBtn8"); },
            CountChanged | CurrentIndexChanged | CurrentPictureChanged, {2, 1, P1}},
        Change {"add",
            [](TForm1 &f, FormWorld &w) {
                w.shell.chosen = {"/q.bmp"};
                f.buttonClick("BitBtn7");
            },
            CountChanged, {4, 2, P2}},
        Change {"clear_all_answered_no",
            [](TForm1 &f, FormWorld &w) {
                w.shell.answer = MsgAnswer::No;
                f.buttonClick("BitBtn5");
            },
            0, {3, 2, P2}},
        Change {"clear_all", [](TForm1 &f, FormWorld &) { f.buttonClick("BitBtn5"); },
            CountChanged | CurrentIndexChanged | CurrentPictureChanged, {0, -1, ""}},
        Change {"drop",
            [](TForm1 &f, FormWorld &) {
                f.filesDropped({"/d.bmp", "/e.bmp"});
            },
            CountChanged, {5, 2, P2}}),
    [](const testing::TestParamInfo<Change> &param) { return std::string(param.param.name); });

} // namespace
