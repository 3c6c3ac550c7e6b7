#include "picturelist/list_commands.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace picturelist {

namespace {

unsigned char foldCase(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

std::string foldedKey(const PictureEntry &entry)
{
    std::string key = sortKey(entry);
    for (char &c : key)
        c = static_cast<char>(foldCase(c));
    return key;
}

} // namespace

std::int32_t indexAfterAppend(std::int32_t index, std::int32_t count)
{
    return count > 0 && index == -1 ? 0 : index;
}

void eraseRows(PictureEntries &entries, const std::vector<int> &rows)
{
    if (rows.empty())
        return;
    std::vector<bool> doomed(entries.size(), false);
    for (int row : rows) {
        if (row >= 0 && static_cast<size_t>(row) < entries.size())
            doomed[static_cast<size_t>(row)] = true;
    }
    size_t kept = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (doomed[i])
            continue;
        if (kept != i)
            entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.resize(kept);
}

std::int32_t indexAfterRemove(std::int32_t index, std::int32_t count)
{
    if (count <= 0)
        return -1;
    const std::int32_t back = index <= 0 ? 0 : index - 1;
    return std::min(back, count - 1);
}

std::string sortKey(const PictureEntry &entry)
{
    std::string key;
    key.reserve(entry.path.size() + 1 + entry.settings.size());
    key += entry.path;
    key += '}';
    key += entry.settings;
    return key;
}

void sortEntries(PictureEntries &entries)
{
    // The keys are folded once; the sort then compares plain bytes and moves row numbers.
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const PictureEntry &entry : entries)
        keys.push_back(foldedKey(entry));
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t {0});
    std::stable_sort(order.begin(), order.end(), [&keys](size_t a, size_t b) {
        // Folded keys: a byte comparison is the case-blind one.
        return std::string_view(keys[a]) < std::string_view(keys[b]);
    });
    PictureEntries sorted;
    sorted.reserve(entries.size());
    for (size_t i : order)
        sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

std::optional<RowMove> moveUp(std::int32_t index, std::int32_t count)
{
    if (index <= 0 || index >= count)
        return std::nullopt;
    return RowMove {index, index - 1};
}

std::optional<RowMove> moveDown(std::int32_t index, std::int32_t count)
{
    if (index < 0 || index >= count - 1)
        return std::nullopt;
    return RowMove {index, index + 1};
}

void applyMove(PictureEntries &entries, const RowMove &move)
{
    std::swap(entries[static_cast<size_t>(move.from)], entries[static_cast<size_t>(move.to)]);
}

bool hasBmpEnding(std::string_view name)
{
    if (name.size() < 3)
        return false;
    const std::string_view end = name.substr(name.size() - 3);
    return foldCase(end[0]) == 'b' && foldCase(end[1]) == 'm' && foldCase(end[2]) == 'p';
}

bool fitsListFile(std::string_view name)
{
    return name.find_first_of(std::string_view("\r\n\x1a", 3)) == std::string_view::npos;
}

PictureEntries addedEntries(const std::vector<std::string> &names, const std::string &settings,
    std::vector<std::string> *refused)
{
    PictureEntries entries;
    entries.reserve(names.size());
    for (const std::string &name : names) {
        if (fitsListFile(name))
            entries.push_back(PictureEntry {name, settings});
        else if (refused)
            refused->push_back(name);
    }
    return entries;
}

PictureEntries droppedEntries(const std::vector<std::string> &names, const std::string &settings,
    std::vector<std::string> *refused)
{
    std::vector<std::string> bitmaps;
    for (const std::string &name : names) {
        if (hasBmpEnding(name))
            bitmaps.push_back(name);
    }
    return addedEntries(bitmaps, settings, refused);
}

} // namespace picturelist
