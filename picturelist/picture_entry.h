#pragma once

#include <string>
#include <vector>

namespace picturelist {

/** One picture of the list: its file path and its placement as a settings string. */
struct PictureEntry
{
    std::string path;
    std::string settings;

    friend bool operator==(const PictureEntry &, const PictureEntry &) = default;
};

using PictureEntries = std::vector<PictureEntry>;

} // namespace picturelist
