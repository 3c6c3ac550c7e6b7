#include "picturelist/list_file.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <new>

namespace picturelist {

namespace {
constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr char CtrlZ = '\x1a';
} // namespace

PictureEntries parseListFile(const std::string &bytes)
{
    // The file ends at its last byte or at the first Ctrl-Z, whichever comes first.
    const size_t end = std::min(bytes.find(CtrlZ), bytes.size());
    size_t pos = 0;
    auto readLine = [&] {
        const size_t cr = bytes.find(CR, pos);
        const size_t stop = std::min(cr, end);
        std::string line = bytes.substr(pos, stop - pos);
        pos = stop;
        if (pos < end && bytes[pos] == CR) {
            ++pos;
            if (pos < end && bytes[pos] == LF)
                ++pos;
        }
        return line;
    };
    PictureEntries entries;
    while (pos < end) {
        PictureEntry entry;
        entry.path = readLine();
        entry.settings = readLine();
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string formatListFile(const PictureEntries &entries)
{
    std::string out;
    size_t size = 0;
    for (const PictureEntry &entry : entries)
        size += entry.path.size() + entry.settings.size() + 4;
    out.reserve(size);
    for (const PictureEntry &entry : entries) {
        out += entry.path;
        out += "\r\n";
        out += entry.settings;
        out += "\r\n";
    }
    return out;
}

ListFileRead readListFile(const std::string &path)
{
    ListFileRead result;
    std::string bytes;
    switch (platform::readRegularFile(path, bytes)) {
    case platform::FileRead::Missing:
        result.state = ListFileState::NoFile;
        return result;
    case platform::FileRead::Unreadable:
        result.state = ListFileState::Unreadable;
        return result;
    case platform::FileRead::Read:
        break;
    }
    try {
        result.entries = parseListFile(bytes);
        result.state = ListFileState::Read;
    } catch (const std::bad_alloc &) {
        result.entries = {};
        result.state = ListFileState::Unreadable;
    }
    return result;
}

bool writeListFile(const std::string &path, const PictureEntries &entries, std::string *error)
{
    return platform::writeFileAtomically(path, formatListFile(entries), error);
}

std::string listFilePath(const std::string &executableDirectory, bool executableDirectoryWritable,
    const std::string &userDataDirectory)
{
    if (executableDirectoryWritable || userDataDirectory.empty())
        return executableDirectory + ListFileName;
    return userDataDirectory + ListFileName;
}

} // namespace picturelist
