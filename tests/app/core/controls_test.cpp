// The controls' own semantics: when events run, what values the models can hold.
#include "app/core/controls.h"

#include <gtest/gtest.h>

namespace {

struct Counted
{
    int runs = 0;
    std::function<void()> handler()
    {
        return [this] { ++runs; };
    }
};

TEST(CheckBoxTest, ClickRunsOnlyOnARealChange)
{
    core::CheckBox box;
    Counted clicks;
    box.onClick = clicks.handler();
    box.setChecked(false);
    EXPECT_EQ(clicks.runs, 0);
    box.setChecked(true);
    box.setChecked(true);
    EXPECT_EQ(clicks.runs, 1);
    box.setChecked(false);
    EXPECT_EQ(clicks.runs, 2);
}

TEST(SpinEditTest, ProgramSetValuesAreClampedAndChangeOnlyOnARealChange)
{
    core::SpinEdit edit(0, 32000);
    Counted changes;
    edit.onChange = changes.handler();
    edit.setValue(-5);
    EXPECT_EQ(edit.value(), 0);
    EXPECT_EQ(changes.runs, 0); // 0 to 0 is no change
    edit.setValue(40000);
    EXPECT_EQ(edit.value(), 32000);
    EXPECT_EQ(edit.text(), "32000");
    EXPECT_EQ(changes.runs, 1);
    edit.setValue(32000);
    EXPECT_EQ(changes.runs, 1);
}

struct Typed
{
    const char *text;
    int value; // as read while typed, in a range of 1 to 604800
    const char *afterLeaving;
};

class SpinEditTypingTest : public testing::TestWithParam<Typed>
{
};

// Whatever is typed, the value stays within the range; leaving the field writes it back.
TEST_P(SpinEditTypingTest, TypedTextReadsAsAValueInTheRange)
{
    core::SpinEdit edit(1, 604800);
    edit.setValue(360);
    edit.setText(GetParam().text);
    EXPECT_EQ(edit.text(), GetParam().text); // held as typed
    EXPECT_EQ(edit.value(), GetParam().value);
    edit.leave();
    EXPECT_EQ(edit.text(), GetParam().afterLeaving);
    EXPECT_EQ(edit.value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, SpinEditTypingTest,
    testing::Values(Typed {"75", 75, "75"}, Typed {"0", 1, "1"}, Typed {"", 1, "1"},
        Typed {"x", 1, "1"}, Typed {"-3", 1, "1"}, Typed {"700000", 604800, "604800"},
        Typed {"99999999999", 1, "1"}, Typed {"$10", 16, "16"}));

TEST(SpinEditTest, TypingRunsTheChangeOncePerNewValue)
{
    core::SpinEdit edit(1, 604800);
    Counted changes;
    edit.onChange = changes.handler();
    // "1", "10", "100" typed one key at a time from 1: two changes, and none for the keys
    // that keep the value (a leading zero, a text that reads as the lowest value).
    for (const char *text : {"1", "10", "100", "0100", "", "0"})
        edit.setText(text);
    EXPECT_EQ(changes.runs, 3); // 10, 100, then 1 for ""
    EXPECT_EQ(edit.value(), 1);
}

TEST(SpinEditTest, ButtonsStopAtTheEnds)
{
    core::SpinEdit edit(0, 32000);
    edit.stepBy(-1);
    EXPECT_EQ(edit.value(), 0);
    edit.setValue(31999);
    edit.stepBy(5);
    EXPECT_EQ(edit.value(), 32000);
}

TEST(RadioGroupTest, IndexIsClampedAndClickRunsOnlyOnARealChange)
{
    core::RadioGroup group(4);
    Counted clicks;
    group.onClick = clicks.handler();
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(-7);
    EXPECT_EQ(clicks.runs, 0);
    group.setItemIndex(12);
    EXPECT_EQ(group.itemIndex(), 3);
    group.setItemIndex(3);
    EXPECT_EQ(clicks.runs, 1);
}

struct Clicks
{
    const char *name;
    std::vector<std::pair<int, core::ClickModifiers>> clicks;
    std::vector<int> selected;
    int current;
};

class ListBoxClickTest : public testing::TestWithParam<Clicks>
{
};

TEST_P(ListBoxClickTest, ExtendedSelection)
{
    core::ListBox list;
    list.setItems({"a", "b", "c", "d", "e", "f"});
    for (const auto &[row, modifiers] : GetParam().clicks)
        list.click(row, modifiers);
    EXPECT_EQ(list.selectedRows(), GetParam().selected);
    EXPECT_EQ(list.itemIndex(), GetParam().current);
}

constexpr core::ClickModifiers Plain {};
constexpr core::ClickModifiers Shift {true, false};
constexpr core::ClickModifiers Ctrl {false, true};
constexpr core::ClickModifiers CtrlShift {true, true};

INSTANTIATE_TEST_SUITE_P(Clicks, ListBoxClickTest,
    testing::Values(Clicks {"one", {{2, Plain}}, {2}, 2},
        Clicks {"another", {{2, Plain}, {4, Plain}}, {4}, 4},
        Clicks {"range", {{1, Plain}, {4, Shift}}, {1, 2, 3, 4}, 4},
        Clicks {"range upwards", {{4, Plain}, {2, Shift}}, {2, 3, 4}, 2},
        Clicks {"toggle", {{1, Plain}, {3, Ctrl}, {1, Ctrl}}, {3}, 1},
        Clicks {"range from the last toggled", {{0, Plain}, {3, Ctrl}, {5, Shift}}, {3, 4, 5}, 5},
        Clicks {"added range", {{0, Plain}, {3, Ctrl}, {5, CtrlShift}}, {0, 3, 4, 5}, 5}),
    [](const testing::TestParamInfo<Clicks> &param) {
        std::string name = param.param.name;
        for (char &c : name)
            c = c == ' ' ? '_' : c;
        return name;
    });

TEST(ListBoxTest, TheUsersChangesRunTheClickTheProgramsDoNot)
{
    core::ListBox list;
    Counted clicks;
    list.onClick = clicks.handler();
    list.setItems({"a", "b", "c"});
    list.selectOnly(1);
    list.setSelected(2, true);
    list.append({"d"});
    list.setItem(0, "z");
    EXPECT_EQ(clicks.runs, 0);
    list.userSelected({1, 2}, 1); // what is already there
    EXPECT_EQ(clicks.runs, 0);
    list.userSelected({0}, 0);
    EXPECT_EQ(clicks.runs, 1);
    list.click(0);
    EXPECT_EQ(clicks.runs, 1);
    EXPECT_EQ(list.items(), (std::vector<std::string> {"z", "b", "c", "d"}));
}

TEST(TimerTest, RestartRules)
{
    core::Timer timer(1000);
    EXPECT_FALSE(timer.running());
    timer.setInterval(10000); // a new interval does not start it
    EXPECT_FALSE(timer.running());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.running());
    const auto started = timer.starts();
    timer.setEnabled(true); // enabled again: the count goes on
    timer.setInterval(10000); // the same interval: the count goes on
    EXPECT_EQ(timer.starts(), started);
    timer.setInterval(20000); // a different one restarts it
    EXPECT_EQ(timer.starts(), started + 1);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(timer.interval(), 20000);
    timer.setEnabled(true);
    EXPECT_EQ(timer.starts(), started + 2);
    timer.setInterval(0); // no interval: it does not count
    EXPECT_FALSE(timer.running());
}

TEST(TimerTest, TicksRunTheEventOnlyWhileRunning)
{
    core::Timer timer(1000);
    Counted ticks;
    timer.onTimer = ticks.handler();
    timer.tick();
    timer.setEnabled(true);
    timer.tick();
    EXPECT_EQ(ticks.runs, 1);
}

} // namespace
