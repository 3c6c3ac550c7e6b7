#pragma once

#include "picture_entry.h"

#include <string>

namespace picturelist {

/** The list file's name. */
inline constexpr const char *ListFileName = "MurelinAll.txt";

/**
 * Reads the list file's bytes: two lines per entry (the path, then the settings string).
 * A line ends at CR, and one LF right after it is skipped; a lone LF is an ordinary
 * character; a Ctrl-Z ends the file; a line read at the end of the file is empty.
 */
PictureEntries parseListFile(const std::string &bytes);

/** The list file's bytes: each entry's path and settings, every line ended by CR LF. */
std::string formatListFile(const PictureEntries &entries);

/**
 * Where the list file lives: beside the executable when its folder can be written, otherwise
 * in the user's data folder (an installed copy in a folder the user cannot write would
 * otherwise lose the list at every exit). Both folders end in a separator.
 */
std::string listFilePath(const std::string &executableDirectory, bool executableDirectoryWritable,
    const std::string &userDataDirectory);

} // namespace picturelist
