#include "app/core/settings_binding.h"

#include "app/core/Murelin1.h"
#include "settings/numtext.h"

#include <array>

namespace core {

namespace {

using settings::Setting;

template <CheckBox TForm1::*box> SettingBinding checkBox(Setting id)
{
    return {id, [](TForm1 &f, std::string_view t) { (f.*box).setChecked(settings::textIsTrue(t)); },
        [](const TForm1 &f) { return std::string(settings::boolText((f.*box).checked())); }};
}

template <SpinEdit TForm1::*edit> SettingBinding spinEdit(Setting id)
{
    return {id, [](TForm1 &f, std::string_view t) { (f.*edit).setValue(settings::StrToInt(t)); },
        [](const TForm1 &f) { return settings::IntToStr((f.*edit).value()); }};
}

// One row per setting, in the order of settings::Setting.
const std::array<SettingBinding, 13> &table()
{
    static const std::array<SettingBinding, 13> rows {{
        checkBox<&TForm1::IconClick>(Setting::IconClick),
        checkBox<&TForm1::RandomPick>(Setting::RandomPick),
        checkBox<&TForm1::LoadStart>(Setting::LoadStart),
        checkBox<&TForm1::AutoQuit>(Setting::AutoQuit),
        checkBox<&TForm1::TimedDisplay>(Setting::TimedDisplay),
        checkBox<&TForm1::PreviewOn>(Setting::PreviewOn),
        spinEdit<&TForm1::SpinEdit1>(Setting::X1),
        spinEdit<&TForm1::SpinEdit2>(Setting::Y1),
        // Read into the seconds field; stored from the change timer's interval.
        {Setting::Timer,
            [](TForm1 &f, std::string_view t) { f.SpinEdit3.setValue(settings::StrToInt(t)); },
            [](const TForm1 &f) {
                return settings::IntToStr(static_cast<std::uint32_t>(f.Timer2.interval()) / 1000u);
            }},
        {Setting::Option,
            [](TForm1 &f, std::string_view t) {
                f.RadioGroup1.setItemIndex(settings::StrToInt(t));
            },
            [](const TForm1 &f) { return settings::IntToStr(f.RadioGroup1.itemIndex()); }},
        {Setting::FLeft,
            [](TForm1 &f, std::string_view t) { f.Form1.setLeft(settings::StrToInt(t)); },
            [](const TForm1 &f) { return settings::IntToStr(f.Form1.left()); }},
        {Setting::FTop,
            [](TForm1 &f, std::string_view t) { f.Form1.setTop(settings::StrToInt(t)); },
            [](const TForm1 &f) { return settings::IntToStr(f.Form1.top()); }},
        {Setting::Index,
            [](TForm1 &f, std::string_view t) { f.PictureIndex = settings::StrToInt(t); },
            [](const TForm1 &f) { return settings::IntToStr(f.PictureIndex); }, true},
    }};
    return rows;
}

} // namespace

const SettingBinding &binding(settings::Setting id)
{
    return table()[static_cast<std::size_t>(id)];
}

} // namespace core
