#include "app/core/layout.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace core::layout {

namespace {

// clang-format off
constexpr ControlLayout Controls[] = {
    // name, kind, parent, left, top, width, height, caption, hint, text, background, bold,
    // visible, bevel, tab stop, range
    {"Panel1", Kind::Panel, "", 0, 0, ClientWidth, ClientHeight, {}, {}, {}, Maroon, false, true, Bevel::Raised},
    {"ListBox1", Kind::ListBox, "Panel1", 8, 8, 309, 249},
    {"ListBox2", Kind::ListBox, "Panel1", 16, 48, 29, 29, {}, {}, {}, {}, false, false},
    {"ListBox3", Kind::ListBox, "Panel1", 48, 48, 29, 29, {}, {}, {}, {}, false, false},
    {"Image1", Kind::Picture, "Panel1", 152, 16, 33, 33, {}, {}, {}, {}, false, false},
    {"Panel4", Kind::Panel, "Panel1", 324, 8, 90, 49, {}, {}, {}, {}, false, true, Bevel::Lowered},
    {"TimedDisplay", Kind::CheckBox, "Panel4", 4, 4, 80, 17, "Timer On", {}, White},
    {"Label3", Kind::Label, "Panel4", 3, 27, 19, 13, "Sec", {}, White},
    {"SpinEdit3", Kind::SpinEdit, "Panel4", 25, 23, 60, 22, {}, "Number of seconds between loadingthe next picture", White, Black, false, true, Bevel::None, false, 1, 604800},
    {"RadioGroup1", Kind::RadioGroup, "Panel1", 324, 64, 90, 73, " Placement ", {}, White, {}, false, true, Bevel::None, true},
    {"Label1", Kind::Label, "Panel1", 324, 150, 9, 13, "X", {}, White, {}, true},
    {"SpinEdit1", Kind::SpinEdit, "Panel1", 336, 146, 77, 22, {}, "How far to the right will the picture will appear", White, Black, false, true, Bevel::None, false, 0, 32000},
    {"Label2", Kind::Label, "Panel1", 324, 173, 9, 13, "Y", {}, White, {}, true},
    {"SpinEdit2", Kind::SpinEdit, "Panel1", 336, 170, 77, 22, {}, "How far down from the top will the picture will appear", White, Black, false, true, Bevel::None, false, 0, 32000},
    {"PreviewOn", Kind::CheckBox, "Panel1", 324, 204, 90, 17, "Preview On", {}, White},
    {"Panel2", Kind::Panel, "Panel1", 324, 221, 90, 67, {}, {}, {}, {Colour::Desktop, 0}, false, true, Bevel::Lowered},
    {"JPEGImage1", Kind::Picture, "Panel2", 2, 2, 85, 63},
    {"Panel3", Kind::Panel, "Panel1", 8, 258, 309, 25, {}, {}, {}, Black, false, true, Bevel::Lowered},
    {"BitBtn2", Kind::Button, "Panel1", 8, 288, 44, 17, "< Prev", {}, Black, {}, true},
    {"BitBtn1", Kind::Button, "Panel1", 54, 288, 44, 17, "Next >", {}, Black, {}, true},
    {"BitBtn3", Kind::Button, "Panel1", 8, 308, 90, 17, "Load Current", {}, Black, {}, true},
    {"AutoQuit", Kind::CheckBox, "Panel1", 116, 288, 90, 17, "Automatic Exit", {}, White},
    {"LoadStart", Kind::CheckBox, "Panel1", 116, 306, 90, 17, "Load on Start", {}, White},
    {"IconClick", Kind::CheckBox, "Panel1", 220, 288, 90, 17, "Icon Click Next", {}, White},
    {"RandomPick", Kind::CheckBox, "Panel1", 220, 306, 90, 17, "Random Pick", {}, White},
    {"Panel6", Kind::Panel, "Panel1", 324, 288, 90, 15, {}, {}, White, Black, false, true, Bevel::Lowered},
    {"BitBtn4", Kind::Button, "Panel1", 324, 307, 90, 17, "Help"},
    {"BitBtn5", Kind::Button, "Panel3", 4, 4, 49, 17, "Clear All"},
    {"BitBtn6", Kind::Button, "Panel3", 56, 4, 33, 17, "Sort"},
    {"BitBtn7", Kind::Button, "Panel3", 92, 4, 33, 17, "Add"},
    {"BitBtn8", Kind::Button, "Panel3", 128, 4, 49, 17, "Remove"},
    {"BitBtn9", Kind::Button, "Panel3", 180, 4, 22, 17, "Up"},
    {"BitBtn10", Kind::Button, "Panel3", 205, 4, 41, 17, "Down"},
    {"Panel5", Kind::Panel, "Panel3", 248, 4, 57, 17, {}, {}, White, Black, false, true, Bevel::Lowered},
};
// clang-format on

} // namespace

std::span<const ControlLayout> controls()
{
    return Controls;
}

const ControlLayout &control(std::string_view name)
{
    const auto found = std::find_if(std::begin(Controls), std::end(Controls),
        [name](const ControlLayout &c) { return c.name == name; });
    if (found == std::end(Controls))
        throw std::logic_error("no control " + std::string(name) + " in the layout");
    return *found;
}

} // namespace core::layout
