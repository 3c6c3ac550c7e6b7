#include "picturelist/settings_string.h"

#include "settings/numtext.h"

namespace picturelist {

ParsedSettings parseSettingsString(std::string_view s)
{
    ParsedSettings parsed;
    if (!s.empty() && s[0] >= '0' && s[0] <= '3')
        parsed.mode = s[0] - '0';
    const size_t bar = s.find('|');
    std::string_view xText;
    std::string_view yText = s;
    if (bar != std::string_view::npos) {
        xText = bar >= 1 ? s.substr(1, bar - 1) : std::string_view();
        yText = s.substr(bar + 1);
    }
    parsed.x = settings::StrToIntDef(xText, 0);
    parsed.y = settings::StrToIntDef(yText, 0);
    return parsed;
}

std::string makeSettingsString(std::int32_t mode, std::int32_t x, std::int32_t y)
{
    if (mode < Stretch || mode > Location)
        mode = Location;
    return std::to_string(mode) + std::to_string(x) + "|" + std::to_string(y);
}

} // namespace picturelist
