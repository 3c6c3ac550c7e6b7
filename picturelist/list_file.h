#pragma once

#include "picturelist/picture_entry.h"

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

/** What reading the list file found. */
enum class ListFileState {
    NoFile, ///< there is no list file: the list is empty, as on a first start
    Read, ///< the file was read; its entries are the list
    /**
     * A file is there but could not be read: access denied, not a regular file (a folder, a
     * FIFO, a device), larger than any real list (platform::MaxReadBytes), or no memory for
     * it. The list is empty, but the file still holds the user's list: it must not be
     * written over (see writeListFile).
     */
    Unreadable,
};

struct ListFileRead
{
    ListFileState state = ListFileState::NoFile;
    PictureEntries entries; ///< empty unless `state` is Read
};

/** Reads and parses the list file at `path`. Nothing here waits on a FIFO or a device. */
ListFileRead readListFile(const std::string &path);

/**
 * Replaces the list file at `path` with `entries`, atomically (see
 * platform::writeFileAtomically); false, with `error` saying why, when it could not be
 * replaced, and the old file is then kept. The caller must not write a list whose read was
 * Unreadable: it would replace the user's list with what the program never read.
 */
bool writeListFile(
    const std::string &path, const PictureEntries &entries, std::string *error = nullptr);

/**
 * Where the list file lives: beside the executable when its folder can be written, otherwise
 * in the user's data folder (an installed copy in a folder the user cannot write would
 * otherwise lose the list at every exit). Both folders end in a separator.
 */
std::string listFilePath(const std::string &executableDirectory, bool executableDirectoryWritable,
    const std::string &userDataDirectory);

} // namespace picturelist
