// The layout's control names lead to the form's models: each to a model of its own kind, no
// model under two names.
#include "form_world.h"

#include "core/layout.h"
#include "core/settings_binding.h"

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
        switch (c.kind) {
        case layout::Kind::CheckBox:
            EXPECT_NE(form.model<core::CheckBox>(c.name), nullptr);
            EXPECT_EQ(model, form.model<core::CheckBox>(c.name));
            break;
        case layout::Kind::ListBox:
            EXPECT_NE(form.model<core::ListBox>(c.name), nullptr);
            EXPECT_EQ(model, form.model<core::ListBox>(c.name));
            break;
        case layout::Kind::SpinEdit: {
            const core::SpinEdit *edit = form.model<core::SpinEdit>(c.name);
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(model, edit);
            EXPECT_EQ(edit->minValue(), c.minValue);
            EXPECT_EQ(edit->maxValue(), c.maxValue);
            break;
        }
        case layout::Kind::RadioGroup: {
            const core::RadioGroup *group = form.model<core::RadioGroup>(c.name);
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(model, group);
            EXPECT_EQ(group->count(), static_cast<int>(std::size(layout::PlacementItems)));
            break;
        }
        case layout::Kind::Panel: // a panel whose caption never changes has none
            EXPECT_EQ(model, form.model<core::Panel>(c.name));
            break;
        case layout::Kind::Picture: // the preview has one, the icon none
            if (const core::Picture *picture = form.model<core::Picture>(c.name)) {
                EXPECT_EQ(model, picture);
                EXPECT_EQ(picture->left(), c.left);
                EXPECT_EQ(picture->top(), c.top);
                EXPECT_EQ(picture->width(), c.width);
                EXPECT_EQ(picture->height(), c.height);
            } else {
                EXPECT_EQ(model, nullptr);
            }
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
