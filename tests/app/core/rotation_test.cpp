// Next, Prev, Load Current, the random pick, the change timer, the notification icon's clicks,
// the window's visibility and help, with the wallpaper call recorded together with the desktop
// values it would read.
#include "tests/support/form_world.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;

struct Step
{
    const char *name;
    int rows;
    std::vector<int> selected;
    bool forward;
    int expected;
};

class NextPrevTest : public testing::TestWithParam<Step>
{
};

TEST_P(NextPrevTest, MovesOneRowFromTheFirstSelectedAndLaysItsPlacement)
{
    const Step &p = GetParam();
    FormWorld world;
    // Each row has its own placement, so the values show which row's placement was read.
    world.list(p.rows, {"0", "1", "2", "3100|50", "3"});
    auto form = world.start();
    userSelects(*form, p.selected);
    form->buttonClick(p.forward ? "BitBtn1" : "BitBtn2");
    EXPECT_EQ(form->PictureIndex, p.expected);
    EXPECT_EQ(form->ListBox1.selectedRows(), std::vector<int> {p.expected});
    EXPECT_EQ(form->ListBox1.itemIndex(), p.expected);
    const std::string path = pathOf(p.expected);
    const std::vector<std::vector<Applied>> byRow = {
        {{path, "0", "2", "0", "0"}},
        {{path, "0", "0", "0", "0"}},
        {{path, "1", "0", "0", "0"}},
        {{path, "0", "2", "0", "0"}, {path, "0", "0", "100", "50"}},
        {{path, "0", "2", "0", "0"}, {path, "0", "0", "0", "0"}},
    };
    EXPECT_EQ(world.calls, byRow[static_cast<size_t>(p.expected)]) << describe(world.calls);
    EXPECT_TRUE(world.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, NextPrevTest,
    testing::Values(Step {"next_from_the_last_wraps", 3, {2}, true, 0},
        Step {"prev_from_the_first_wraps", 3, {0}, false, 2},
        Step {"next_in_the_middle", 3, {1}, true, 2}, Step {"one_next", 1, {0}, true, 0},
        Step {"one_prev", 1, {0}, false, 0}, Step {"rows_1_and_3_next", 5, {1, 3}, true, 2},
        Step {"rows_1_and_3_prev", 5, {1, 3}, false, 0},
        Step {"nothing_selected_next", 4, {}, true, 1},
        Step {"nothing_selected_prev", 4, {}, false, 3}),
    [](const testing::TestParamInfo<Step> &param) { return std::string(param.param.name); });

TEST(RotationTest, NextAgainAndAgainGoesRoundTheList)
{
    FormWorld world;
    world.list(3);
    auto form = world.start({{"Index", "0"}});
    for (int i = 0; i < 4; ++i)
        form->B1Click();
    std::vector<std::string> paths;
    for (const Applied &a : world.calls)
        paths.push_back(a.path);
    EXPECT_EQ(paths, (std::vector<std::string> {pathOf(1), pathOf(2), pathOf(0), pathOf(1)}));
}

TEST(RotationTest, EmptyListTouchesNeitherRegistryNorDesktop)
{
    FormWorld world;
    auto form = world.start({{"TimedDisplay", "true"}, {"Timer", "1"}});
    form->B1Click();
    form->B5Click();
    form->B7Click();
    form->Timer2.tick();
    EXPECT_TRUE(form->Timer2.running());
    EXPECT_EQ(form->PictureIndex, -1);
    EXPECT_TRUE(world.calls.empty());
    EXPECT_EQ(world.desk("TileWallpaper"), "<missing>");
    EXPECT_TRUE(world.messages().empty());
}

TEST(RotationTest, ClickInTheListMovesNothing)
{
    FormWorld world;
    world.list(4, {"1", "1", "2", "1"});
    auto form = world.start();
    userSelects(*form, {2});
    EXPECT_EQ(form->PictureIndex, 0);
    EXPECT_TRUE(world.calls.empty());
    EXPECT_EQ(form->RadioGroup1.itemIndex(), 2); // the clicked row's placement shows
    form->B1Click();
    EXPECT_EQ(form->PictureIndex, 3); // Next goes on from the clicked row
}

struct Current
{
    std::vector<int> selected;
    int expected;
};

class LoadCurrentTest : public testing::TestWithParam<Current>
{
};

TEST_P(LoadCurrentTest, LaysTheFirstSelectedRow)
{
    FormWorld world;
    world.list(6, {"2", "0", "3100|50", "1", "1", "0"});
    auto form = world.start({{"Index", "4"}});
    userSelects(*form, GetParam().selected);
    form->buttonClick("BitBtn3");
    const int expected = GetParam().expected;
    EXPECT_EQ(form->PictureIndex, expected);
    EXPECT_EQ(form->ListBox1.selectedRows(), std::vector<int> {expected});
    EXPECT_EQ(form->ListBox1.itemIndex(), expected);
    const std::string p = pathOf(expected);
    std::vector<Applied> want {{p, "1", "0", "0", "0"}};
    if (expected == 2)
        want = {{p, "0", "2", "0", "0"}, {p, "0", "0", "100", "50"}};
    EXPECT_EQ(world.calls, want) << describe(world.calls);
    EXPECT_EQ(world.stored("Index"), "4"); // nothing of the program's own is written
}

INSTANTIATE_TEST_SUITE_P(Selections, LoadCurrentTest,
    testing::Values(Current {{2, 5}, 2}, Current {{5, 2}, 2}, Current {{}, 0}));

TEST(RotationTest, LoadCurrentOnAnEmptyList)
{
    FormWorld world;
    auto form = world.start();
    form->B7Click();
    EXPECT_TRUE(world.calls.empty());
    EXPECT_EQ(form->PictureIndex, -1);
}

TEST(RotationTest, FailedDesktopWriteIsShownAndEndsTheCommand)
{
    FormWorld world;
    world.list(2);
    auto form = world.start();
    world.registry.failingWrites = {"*"};
    form->buttonClick("BitBtn1");
    EXPECT_TRUE(world.calls.empty());
    EXPECT_EQ(
        world.messages(), std::vector<std::string> {"Failed to set data for 'TileWallpaper'"});
    EXPECT_EQ(form->PictureIndex, 1); // the list moved before the desktop was written
}

struct Pick
{
    int rows;
    std::uint32_t clock;
    bool forward;
    int expected;
};

class RandomPickTest : public testing::TestWithParam<Pick>
{
};

TEST_P(RandomPickTest, DrawsFromTheClockThenSteps)
{
    const Pick &p = GetParam();
    FormWorld world;
    world.list(p.rows);
    auto form = world.start({{"RandomPick", "true"}, {"Index", std::to_string(p.rows - 1)}});
    world.clock = p.clock;
    if (p.forward)
        form->B1Click();
    else
        form->B5Click();
    EXPECT_EQ(form->PictureIndex, p.expected);
    EXPECT_EQ(form->ListBox1.selectedRows(), std::vector<int> {p.expected});
    ASSERT_EQ(world.calls.size(), 1u);
    EXPECT_EQ(world.calls.front().path, pathOf(p.expected));
}

// Drawn rows worked out by hand: 1000 ms gives 1 of 5, the last millisecond of the day 3 of 5.
INSTANTIATE_TEST_SUITE_P(Readings, RandomPickTest,
    testing::Values(Pick {5, 1000u, true, 2}, Pick {5, 1000u, false, 0},
        Pick {5, 86399999u, true, 4}, Pick {5, 86399999u, false, 2}, Pick {5, 0u, false, 4},
        Pick {1, 86399999u, true, 0}, Pick {5, 1000u, true, 2}));

// ---------------------------------------------------------------- the change timer

TEST(ChangeTimerTest, IntervalFollowsTheSeconds)
{
    for (const auto &[seconds, interval] :
        {std::pair {1, 1000}, std::pair {360, 360000}, std::pair {604800, 604800000}}) {
        FormWorld world;
        auto form = world.start({{"Timer", std::to_string(seconds)}, {"TimedDisplay", "true"}});
        EXPECT_TRUE(form->Timer2.running());
        EXPECT_EQ(form->Timer2.interval(), interval);
    }
}

TEST(ChangeTimerTest, RestartRules)
{
    FormWorld world;
    world.list(3);
    auto form = world.start();
    form->SpinEdit3.setValue(10);
    EXPECT_FALSE(form->Timer2.running()); // a new interval does not start the timer
    EXPECT_EQ(form->Timer2.interval(), 10000);
    form->TimedDisplay.setChecked(true);
    EXPECT_TRUE(form->Timer2.running());
    const auto started = form->Timer2.starts();
    form->SpinEdit3Change(); // the same interval: the count goes on
    EXPECT_EQ(form->Timer2.starts(), started);
    form->SpinEdit3.setValue(20); // a different one restarts it
    EXPECT_EQ(form->Timer2.starts(), started + 1);
    form->TimedDisplay.setChecked(false);
    EXPECT_FALSE(form->Timer2.running());
    EXPECT_EQ(form->Timer2.interval(), 20000);
    form->TimedDisplay.setChecked(true);
    EXPECT_EQ(form->Timer2.starts(), started + 2);
    EXPECT_TRUE(world.calls.empty());
}

TEST(ChangeTimerTest, WhateverIsTypedTheIntervalStaysWithinOneSecondAndSevenDays)
{
    FormWorld world;
    auto form = world.start({{"TimedDisplay", "true"}});
    for (const auto &[typed, interval] : {std::pair {"0", 1000}, std::pair {"abc", 1000},
             std::pair {"", 1000}, std::pair {"-5", 1000}, std::pair {"9999999", 604800000},
             std::pair {"2147484", 604800000}, std::pair {"42", 42000}}) {
        form->SpinEdit3.setText(typed);
        EXPECT_EQ(form->Timer2.interval(), interval) << typed;
        EXPECT_TRUE(form->Timer2.running()) << typed;
    }
    EXPECT_TRUE(world.messages().empty()); // no box for any keystroke
    form->SpinEdit3.setText("0");
    form->WMEndSession();
    EXPECT_EQ(world.stored("Timer"), "1");
}

TEST(ChangeTimerTest, EveryTickRunsNext)
{
    FormWorld world;
    world.list(3);
    auto form = world.start({{"Index", "0"}, {"Timer", "1"}, {"TimedDisplay", "true"}});
    form->Timer2.tick();
    form->Timer2.tick();
    ASSERT_EQ(world.calls.size(), 2u);
    EXPECT_EQ(world.calls[0].path, pathOf(1));
    EXPECT_EQ(world.calls[1].path, pathOf(2));
}

TEST(ChangeTimerTest, TicksWhileABoxWaitsAreDropped)
{
    // A missing picture with the preview on gives a box on every Next; the running timer ticks
    // into the box's own wait.
    FormWorld world;
    world.list(3);
    auto form = world.start({{"Index", "0"}, {"PreviewOn", "true"}, {"TimedDisplay", "true"}});
    world.shell.requests.clear();
    size_t callsWhileOpen = 0;
    world.shell.whileBoxOpen = [&](const core::MessageRequest &) {
        for (int i = 0; i < 3; ++i)
            form->Timer2.tick();
        callsWhileOpen = world.calls.size();
    };
    form->B1Click();
    EXPECT_EQ(world.shell.requests.size(), 1u);
    EXPECT_EQ(callsWhileOpen, 1u); // only the Next that opened the box
    world.shell.whileBoxOpen = {};
    form->Timer2.tick(); // after the answer, the next tick moves
    EXPECT_EQ(world.calls.size(), 2u);
}

TEST(RotationTest, LoadOnStartLaysTheNextPicture)
{
    for (const auto &[loadStart, calls] :
        {std::pair {"true", 1u}, std::pair {"false", 0u}, std::pair {"True", 0u}}) {
        FormWorld world;
        world.list(3, {"1", "2", "1"});
        auto form = world.start({{"Index", "0"}, {"LoadStart", loadStart}});
        ASSERT_EQ(world.calls.size(), calls) << loadStart;
        if (calls == 1) {
            EXPECT_EQ(world.calls.front(), (Applied {pathOf(1), "1", "0", "0", "0"}));
            EXPECT_EQ(form->PictureIndex, 1);
        }
        EXPECT_FALSE(world.shell.visible);
    }
}

// ---------------------------------------------------------------- the icon and the window

TEST(TrayTest, RightClickShowsTheWindowAndCancelsTheAutomaticExit)
{
    FormWorld world;
    world.list(2, {"1", "1"});
    world.store("AutoQuit", "true");
    world.store("PreviewOn", "true"); // the pictures are missing: each preview says so
    auto form = world.start();
    EXPECT_FALSE(world.shell.visible);
    EXPECT_TRUE(form->Timer1.running());
    EXPECT_TRUE(world.shell.trayShown);
    form->TrayIconMessage(core::TrayRightButtonDown);
    EXPECT_TRUE(world.shell.visible);
    EXPECT_FALSE(form->Timer1.running());
    EXPECT_EQ(world.messages().size(), 1u); // the preview was drawn
    // Shown already: only the preview is drawn again; FormShow does not run again.
    form->Timer1.setEnabled(true);
    form->TrayIconMessage(core::TrayRightButtonDown);
    EXPECT_TRUE(form->Timer1.running());
    EXPECT_EQ(world.messages().size(), 2u);
    EXPECT_TRUE(world.calls.empty());
}

TEST(TrayTest, LeftClickRunsNextOnlyWithIconClickNext)
{
    for (bool iconClick : {true, false}) {
        for (bool shown : {true, false}) {
            FormWorld world;
            world.list(3);
            auto form = world.start({{"Index", "1"}, {"IconClick", iconClick ? "true" : "false"}});
            if (shown)
                form->TrayIconMessage(core::TrayRightButtonDown);
            form->TrayIconMessage(core::TrayLeftButtonDown);
            EXPECT_EQ(world.shell.visible, shown);
            if (iconClick) {
                ASSERT_EQ(world.calls.size(), 1u);
                EXPECT_EQ(world.calls.front().path, pathOf(2));
            } else {
                EXPECT_TRUE(world.calls.empty());
                EXPECT_EQ(form->PictureIndex, 1);
            }
        }
    }
}

TEST(TrayTest, OtherMouseMessagesDoNothing)
{
    FormWorld world;
    world.list(3);
    auto form = world.start({{"IconClick", "true"}, {"AutoQuit", "true"}});
    for (std::uint32_t message :
        {core::TrayMouseMove, core::TrayLeftButtonUp, core::TrayLeftButtonDoubleClick,
            core::TrayRightButtonUp, core::TrayRightButtonDoubleClick, core::TrayMiddleButtonDown})
        form->TrayIconMessage(message);
    EXPECT_TRUE(world.calls.empty());
    EXPECT_FALSE(world.shell.visible);
    EXPECT_TRUE(form->Timer1.running());
}

TEST(TrayTest, MinimisingHidesTheWindowAndKeepsTheIcon)
{
    FormWorld world;
    auto form = world.start({{"AutoQuit", "true"}});
    form->TrayIconMessage(core::TrayRightButtonDown);
    form->AppOnMinimize();
    EXPECT_FALSE(world.shell.visible);
    EXPECT_TRUE(world.shell.trayShown);
    EXPECT_FALSE(form->Timer1.running()); // hiding does not re-arm the automatic exit
    form->TrayIconMessage(core::TrayRightButtonDown);
    EXPECT_TRUE(world.shell.visible);
    EXPECT_EQ(world.endProcessCalls, 0);
}

struct NoArea
{
    bool area;
    bool loadStart;
    bool autoQuit;
    bool visible;
    bool exitPending;
};

class NotificationAreaTest : public testing::TestWithParam<NoArea>
{
};

TEST_P(NotificationAreaTest, WithoutOneTheWindowIsShownExceptInTheLogInUse)
{
    const NoArea &p = GetParam();
    FormWorld world;
    world.shell.notificationArea = p.area;
    world.list(2);
    auto form = world.start({{"LoadStart", p.loadStart ? "true" : "false"},
        {"AutoQuit", p.autoQuit ? "true" : "false"}});
    EXPECT_EQ(world.shell.visible, p.visible);
    EXPECT_EQ(form->Timer1.running(), p.exitPending);
    EXPECT_EQ(world.calls.size(), p.loadStart ? 1u : 0u);
    if (!p.area) {
        // Minimising keeps the taskbar entry: nothing else could bring the window back.
        form->AppOnMinimize();
        EXPECT_EQ(world.shell.visible, p.visible);
    }
}

// Shown without a notification area, so the automatic exit is cancelled as when the user
// shows it.
INSTANTIATE_TEST_SUITE_P(Starts, NotificationAreaTest,
    testing::Values(NoArea {true, false, false, false, false},
        NoArea {true, true, true, false, true}, NoArea {false, false, false, true, false},
        NoArea {false, true, false, true, false}, NoArea {false, false, true, true, false},
        NoArea {false, true, true, false, true}));

TEST(NotificationAreaTest, AnIconTheAreaNeverTookShowsTheWindowUntilItIsBack)
{
    for (const bool logInUse : {false, true}) {
        SCOPED_TRACE(logInUse ? "log-in use" : "plain start");
        FormWorld world;
        world.list(2);
        const char *flag = logInUse ? "true" : "false";
        auto form = world.start({{"LoadStart", flag}, {"AutoQuit", flag}});
        ASSERT_FALSE(world.shell.visible);
        // The shell's tries ran out: the window is the only way in, except for the log-in use,
        // which ends by itself.
        form->trayIconAvailable(false);
        EXPECT_EQ(world.shell.visible, !logInUse);
        EXPECT_EQ(form->Timer1.running(), logInUse);
        form->AppOnMinimize();
        EXPECT_EQ(world.shell.visible, !logInUse);
        // Back in the area: minimising hides the window again.
        form->trayIconAvailable(true);
        form->AppOnMinimize();
        EXPECT_FALSE(world.shell.visible);
    }
}

TEST(HelpTest, OpensTheApplicationsHelpFileAtItsContents)
{
    FormWorld world;
    auto form = world.start();
    form->buttonClick("BitBtn4");
    ASSERT_EQ(world.shell.helpOpened.size(), 1u);
    EXPECT_EQ(world.shell.helpOpened.front(),
        (std::pair<std::string, std::string> {"/program/Murelin.hlp", "Contents"}));
    EXPECT_TRUE(world.messages().empty());
}

} // namespace
