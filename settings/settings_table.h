#pragma once

#include <array>
#include <string_view>

namespace settings {

/** The key every option of the program lives under, below the current user's root. */
inline constexpr std::string_view SettingsKey = "Software\\Tovrane\\Murelin";

/** The 13 stored values. */
enum class Setting {
    IconClick,
    RandomPick,
    LoadStart,
    AutoQuit,
    TimedDisplay,
    PreviewOn,
    X1,
    Y1,
    Timer,
    Option,
    FLeft,
    FTop,
    Index,
};

struct SettingInfo
{
    Setting id;
    std::string_view name;
    /** What a read supplies when the value is missing; FLeft and FTop are worked out at start. */
    std::string_view defaultText;
};

inline constexpr std::array<SettingInfo, 13> Settings {{
    {Setting::IconClick, "IconClick", "false"},
    {Setting::RandomPick, "RandomPick", "false"},
    {Setting::LoadStart, "LoadStart", "false"},
    {Setting::AutoQuit, "AutoQuit", "false"},
    {Setting::TimedDisplay, "TimedDisplay", "false"},
    {Setting::PreviewOn, "PreviewOn", "false"},
    {Setting::X1, "X1", "0"},
    {Setting::Y1, "Y1", "0"},
    {Setting::Timer, "Timer", "360"},
    {Setting::Option, "Option", "3"},
    {Setting::FLeft, "FLeft", ""},
    {Setting::FTop, "FTop", ""},
    {Setting::Index, "Index", "-1"},
}};

constexpr const SettingInfo &info(Setting id)
{
    return Settings[static_cast<std::size_t>(id)];
}

/** The order start-up reads them in ("Index" comes after the list file). */
inline constexpr std::array<Setting, 13> ReadOrder {
    Setting::IconClick,
    Setting::RandomPick,
    Setting::LoadStart,
    Setting::AutoQuit,
    Setting::TimedDisplay,
    Setting::PreviewOn,
    Setting::X1,
    Setting::Y1,
    Setting::Timer,
    Setting::Option,
    Setting::FLeft,
    Setting::FTop,
    Setting::Index,
};

/** The order shutdown writes them in. */
inline constexpr std::array<Setting, 13> WriteOrder {
    Setting::Index,
    Setting::Timer,
    Setting::X1,
    Setting::Y1,
    Setting::Option,
    Setting::FLeft,
    Setting::FTop,
    Setting::AutoQuit,
    Setting::RandomPick,
    Setting::IconClick,
    Setting::LoadStart,
    Setting::TimedDisplay,
    Setting::PreviewOn,
};

/** Booleans are stored as "true" and "false"; only "true", exactly, reads as true. */
constexpr std::string_view boolText(bool value)
{
    return value ? "true" : "false";
}
constexpr bool textIsTrue(std::string_view text)
{
    return text == "true";
}

} // namespace settings
