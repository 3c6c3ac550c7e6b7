#include "app/win32/window_common.h"

namespace win32shell {

namespace layout = core::layout;

COLORREF colourOf(const layout::Colour &colour)
{
    switch (colour.kind) {
    case layout::Colour::Desktop:
        return GetSysColor(COLOR_DESKTOP);
    case layout::Colour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case layout::Colour::Rgb:
    case layout::Colour::Default:
        break;
    }
    return RGB((colour.rgb >> 16) & 0xFF, (colour.rgb >> 8) & 0xFF, colour.rgb & 0xFF);
}

HFONT makeFont(std::string_view face, int height, bool bold)
{
    const std::string name(face);
    return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        DEFAULT_PITCH | FF_DONTCARE, name.c_str());
}

std::string windowText(HWND window)
{
    std::string value(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    const int length = GetWindowTextA(window, value.data(), static_cast<int>(value.size()));
    value.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return value;
}

} // namespace win32shell
