#pragma once

// The main window's layout as data: every control's kind, parent, position, caption, hint,
// colours and font, and the window's own. Both shells build their windows from this table and
// nothing else; the program names the controls as this table does.

#include <cstdint>
#include <span>
#include <string_view>

namespace core::layout {

/** A colour: a fixed one, or one of the system's. */
struct Colour
{
    enum Kind : std::uint8_t {
        Default, // the control's own colour
        Rgb,
        WindowText, // the system's window-text colour
        Desktop, // the system's desktop-background colour
    };
    Kind kind = Default;
    std::uint32_t rgb = 0; // 0xRRGGBB for Rgb

    static constexpr Colour of(std::uint32_t value) { return {Rgb, value}; }
};

inline constexpr Colour Maroon = Colour::of(0x800000);
inline constexpr Colour Black = Colour::of(0x000000);
inline constexpr Colour White = Colour::of(0xFFFFFF);
/** What the shells paint for the desktop-background colour where they cannot ask the system. */
inline constexpr Colour DesktopTeal = Colour::of(0x008080);

enum class Kind : std::uint8_t {
    Panel,
    ListBox,
    Picture, // Image1 (the icon) and JPEGImage1 (the preview)
    CheckBox,
    SpinEdit,
    RadioGroup,
    Label,
    Button,
};

enum class Bevel : std::uint8_t { None, Raised, Lowered };

/** One control of the window. Positions are left, top, width, height inside the parent. */
struct ControlLayout
{
    std::string_view name;
    Kind kind;
    std::string_view parent; // "" for the window itself
    int left;
    int top;
    int width;
    int height;
    std::string_view caption = {}; // a radio group's items follow as `items`
    std::string_view hint = {};
    Colour text = {}; // the text colour
    Colour background = {}; // a panel's colour, or a spin edit's field
    bool bold = false;
    bool visible = true;
    Bevel bevel = Bevel::None;
    /** The Tab key moves the focus here. */
    bool tabStop = false;
    int minValue = 0; // a spin edit's range
    int maxValue = 0;
};

/** Every control, parents before their children, in the window's component order. */
std::span<const ControlLayout> controls();
/** The control named `name`; the program's names only (a misspelt name is a fault). */
const ControlLayout &control(std::string_view name);

/** RadioGroup1's items, item index 0 to 3. */
inline constexpr std::string_view PlacementItems[] = {"Stretch", "Center", "Tiled", "Location"};

/** A rectangle inside its parent. */
struct Bounds
{
    int left;
    int top;
    int width;
    int height;
};
/** Where a radio group's item `index` stands inside the group's frame: one under the other. */
constexpr Bounds radioItem(int index)
{
    return {8, 14 + 14 * index, 78, 14};
}

// The window.
inline constexpr std::string_view Caption = "Murelin V1.0";
inline constexpr int ClientWidth = 423;
inline constexpr int ClientHeight = 333;
inline constexpr int DesignLeft = 257;
inline constexpr int DesignTop = 133;
inline constexpr std::string_view FontName = "MS Sans Serif";
inline constexpr int FontPixels = 11;
/** FontMe's choices: the font at exactly 96 pixels per inch, and at any other resolution. */
inline constexpr std::string_view StandardFontFace = "SSERIFE.FON";
inline constexpr int StandardFontPoints = 8;
inline constexpr std::string_view OtherFontFace = "SERIFE.FON";
inline constexpr int OtherFontPoints = 6;
/** Whether FontMe sets the font of a control of `kind` (the pictures keep theirs). */
constexpr bool takesFontMe(Kind kind)
{
    return kind != Kind::Picture;
}

// The program's other fixed texts.
/** The application's title: every message box's caption. */
inline constexpr std::string_view ApplicationTitle = "Murelin";
inline constexpr std::string_view TrayTip
    = "Right button for menu, left button to load next picture";
inline constexpr std::string_view HelpTopic = "Contents";
/** The name a running copy holds so that a second copy ends at once. */
inline constexpr char InstanceName[] = "one_inst_runall_going";

} // namespace core::layout
