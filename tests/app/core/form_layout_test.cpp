// The layout's control names lead to the form's models: each to a model of its own kind, no
// model under two names.
#include "tests/support/form_world.h"

#include "app/core/layout.h"
#include "app/core/settings_binding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>

namespace {

using namespace testsupport;
namespace layout = core::layout;

TEST(FormLayoutTest, EveryControlLeadsToItsOwnModelOfItsKind)
{
    FormWorld world;
    TForm1 form(world.shell, world.environment());
    std::set<const core::Control *> seen;
    for (const layout::ControlLayout &c : layout::controls()) {
        SCOPED_TRACE(std::string(c.name));
        core::Control *model = form.controlModel(c.name);
        // The model of the control's kind; `always`: every control of the kind has one.
        const auto expect = [&](const auto *typed, bool always) {
            if (always) {
                EXPECT_NE(typed, nullptr);
            }
            EXPECT_EQ(model, typed);
        };
        switch (c.kind) {
        case layout::Kind::CheckBox:
            expect(form.model<core::CheckBox>(c.name), true);
            break;
        case layout::Kind::ListBox:
            expect(form.model<core::ListBox>(c.name), true);
            break;
        case layout::Kind::SpinEdit:
            expect(form.model<core::SpinEdit>(c.name), true);
            break;
        case layout::Kind::RadioGroup:
            expect(form.model<core::RadioGroup>(c.name), true);
            break;
        case layout::Kind::Panel: // a panel whose caption never changes has none
            expect(form.model<core::Panel>(c.name), false);
            break;
        case layout::Kind::Picture: // the preview has one, the icon none
            expect(form.model<core::Picture>(c.name), false);
            break;
        case layout::Kind::Label:
        case layout::Kind::Button:
            EXPECT_EQ(model, nullptr);
            break;
        }
        if (model) {
            EXPECT_TRUE(seen.insert(model).second) << "a second name for one model";
        }
    }
    EXPECT_THROW(form.controlModel("ListBox4"), std::logic_error);
}

// A stored option named like a check box is read into the box of that name.
TEST(FormLayoutTest, EachCheckBoxIsTheOneItsSettingIsReadInto)
{
    const auto all = layout::controls();
    for (const settings::SettingInfo &setting : settings::Settings) {
        const auto named = std::find_if(all.begin(), all.end(),
            [&](const layout::ControlLayout &c) { return c.name == setting.name; });
        if (named == all.end() || named->kind != layout::Kind::CheckBox)
            continue;
        SCOPED_TRACE(std::string(setting.name));
        FormWorld world;
        TForm1 form(world.shell, world.environment());
        core::binding(setting.id).apply(form, "true");
        EXPECT_TRUE(form.model<core::CheckBox>(setting.name)->checked());
    }
}

} // namespace
