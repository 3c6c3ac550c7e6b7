#pragma once

// The list editing commands over the entries and the current row, without any window: what
// Add, Remove, Sort, Up, Down and a drop do to the list and to the current picture's row. The
// window runs these and then shows the result.

#include "picturelist/picture_entry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace picturelist {

/**
 * The current row after entries were appended to a list that now holds `count` rows: no
 * current row (-1) becomes the first row once there are rows; any other row stays.
 */
std::int32_t indexAfterAppend(std::int32_t index, std::int32_t count);

/**
 * Removes the entries at `rows` (any order; duplicates and rows outside the list are ignored)
 * in one pass; the others keep their order.
 */
void eraseRows(PictureEntries &entries, const std::vector<int> &rows);

/**
 * The current row after a Remove left `count` rows: -1 for an empty list, else one row back
 * (not below the first row). A Remove of several rows can step it back by less than it
 * removed, so a row past the end is brought back to the last row.
 */
std::int32_t indexAfterRemove(std::int32_t index, std::int32_t count);

/** The text Sort orders an entry by: its path, "}", its settings string. */
std::string sortKey(const PictureEntry &entry);

/**
 * Sorts the entries by their sort keys, alphabetically without regard to case: ASCII letters
 * compare as their lower-case forms, every other byte by its value, and a key that is a
 * prefix of the other comes first. Each entry moves whole, path and settings together,
 * whatever either text holds; entries whose keys compare equal keep their order.
 */
void sortEntries(PictureEntries &entries);

/** One move of Up or Down: the two rows exchanged and where the moved entry ends up. */
struct RowMove
{
    std::int32_t from = 0;
    std::int32_t to = 0;

    friend bool operator==(const RowMove &, const RowMove &) = default;
};

/** Up for the entry at `index` of `count`: none for the first row or a row outside the list. */
std::optional<RowMove> moveUp(std::int32_t index, std::int32_t count);
/** Down for the entry at `index` of `count`: none for the last row or a row outside the list. */
std::optional<RowMove> moveDown(std::int32_t index, std::int32_t count);
/** Exchanges the two entries of `move`. */
void applyMove(PictureEntries &entries, const RowMove &move);

/**
 * Whether a name is taken for a bitmap: its last three characters are "BMP" with ASCII
 * letters in any case. No dot is needed, and a name shorter than three characters never
 * passes.
 */
bool hasBmpEnding(std::string_view name);

/**
 * Whether the list file can hold `name` as one of its lines: it holds no CR, LF or Ctrl-Z
 * (a CR or LF would split the entry at the next start, a Ctrl-Z would end the file there and
 * lose every later entry). Any other byte, and any length, is kept.
 */
bool fitsListFile(std::string_view name);

/**
 * The entries an Add makes of the names chosen in the file dialog: every name the list file
 * can hold, whole and in the order given, each with `settings`. The names it cannot hold are
 * left out and, when `refused` is given, appended to it in the order given, so that the caller
 * can name them to the user; the other names still go in.
 */
PictureEntries addedEntries(const std::vector<std::string> &names, const std::string &settings,
    std::vector<std::string> *refused = nullptr);

/**
 * The entries a drop adds: every name with a bitmap ending, whole and in the order given,
 * each with `settings`. A name with a bitmap ending that the list file cannot hold is left out
 * and, when `refused` is given, appended to it; names without a bitmap ending are skipped
 * silently and never reported.
 */
PictureEntries droppedEntries(const std::vector<std::string> &names, const std::string &settings,
    std::vector<std::string> *refused = nullptr);

} // namespace picturelist
