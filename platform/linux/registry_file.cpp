#include "platform/linux/registry_file.h"

#include "platform/atomic_file.h"
#include "platform/common/xdg_folders.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool readQuoted(const std::string &text, size_t &pos, std::string &out)
{
    if (pos >= text.size() || text[pos] != '"')
        return false;
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '"')
            return true;
        if (c == '\\') {
            if (pos >= text.size())
                return false;
            // Only \\ and \" are escapes; any other backslash is a character of the text.
            if (text[pos] != '\\' && text[pos] != '"')
                out += c;
            out += text[pos++];
        } else {
            out += c;
        }
    }
    return false;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = asciiLower(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool parseHexBytes(std::string_view text, std::string &out)
{
    out.clear();
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipSpace();
    if (i == text.size())
        return true;
    for (;;) {
        skipSpace();
        const int hi = i < text.size() ? hexDigit(text[i]) : -1;
        const int lo = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        skipSpace();
        if (i == text.size())
            return true;
        if (text[i] != ',')
            return false;
        ++i;
    }
}

bool parseValueLine(const std::string &line, RegDocument::Line &out)
{
    size_t pos = 0;
    std::string name;
    if (!line.empty() && line[0] == '@') {
        pos = 1;
    } else if (!readQuoted(line, pos, name)) {
        return false;
    }
    if (pos >= line.size() || line[pos] != '=')
        return false;
    ++pos;
    const std::string_view rest = std::string_view(line).substr(pos);
    RegValue value;
    if (!rest.empty() && rest[0] == '"') {
        std::string text;
        size_t p = pos;
        if (!readQuoted(line, p, text) || p != line.size())
            return false;
        value.type = RegSz;
        value.data = text;
        value.data += '\0';
    } else if (rest.starts_with("dword:")) {
        const std::string_view digits = rest.substr(6);
        if (digits.size() != 8)
            return false;
        std::uint32_t v = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return false;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = RegDword;
        for (int i = 0; i < 4; ++i)
            value.data += static_cast<char>((v >> (8 * i)) & 0xff);
    } else if (rest.starts_with("hex:")) {
        value.type = RegBinary;
        if (!parseHexBytes(rest.substr(4), value.data))
            return false;
    } else if (rest.starts_with("hex(")) {
        const auto close = rest.find("):");
        if (close == std::string_view::npos || close <= 4)
            return false;
        std::uint32_t type = 0;
        for (char c : rest.substr(4, close - 4)) {
            const int d = hexDigit(c);
            if (d < 0)
                return false;
            type = type * 16 + static_cast<std::uint32_t>(d);
        }
        value.type = type;
        if (!parseHexBytes(rest.substr(close + 2), value.data))
            return false;
    } else {
        return false;
    }
    out.isValue = true;
    out.name = name;
    out.value = std::move(value);
    return true;
}

std::string quote(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

std::string hexList(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (i)
            out += ',';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// One line of the file: its bytes with the line end (LF, or the text's end), and what it
// says, which is those bytes without the LF and one CR before it.
struct PhysicalLine
{
    std::string_view raw;
    std::string_view content;
};

std::vector<PhysicalLine> splitLines(const std::string &text)
{
    std::vector<PhysicalLine> lines;
    const std::string_view all(text);
    size_t start = 0;
    while (start < all.size()) {
        const size_t lf = all.find('\n', start);
        const size_t end = lf == std::string_view::npos ? all.size() : lf + 1;
        PhysicalLine line {all.substr(start, end - start), all.substr(start, end - start)};
        if (!line.content.empty() && line.content.back() == '\n')
            line.content.remove_suffix(1);
        if (!line.content.empty() && line.content.back() == '\r')
            line.content.remove_suffix(1);
        lines.push_back(line);
        start = end;
    }
    return lines;
}

bool isKeyLine(std::string_view content)
{
    return content.size() >= 2 && content.front() == '[' && content.back() == ']';
}

// A value line whose data is a hex list ("Name"=hex...), which may be continued.
bool isHexValue(std::string_view content)
{
    size_t pos = 0;
    if (!content.empty() && content[0] == '@') {
        pos = 1;
    } else {
        std::string name;
        const std::string line(content.substr(0, std::min(content.size(), size_t {4096})));
        if (!readQuoted(line, pos, name))
            return false;
    }
    return content.substr(pos).starts_with("=hex");
}

bool endsContinued(std::string_view content)
{
    return content.size() >= 2 && content.back() == '\\' && content[content.size() - 2] == ',';
}

std::string_view trimLeft(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return s.substr(i);
}

} // namespace

RegDocument RegDocument::parse(const std::string &text)
{
    RegDocument doc;
    const std::vector<PhysicalLine> lines = splitLines(text);
    size_t i = 0;
    for (; i < lines.size() && !isKeyLine(lines[i].content); ++i)
        doc.preamble += lines[i].raw;
    Key *key = nullptr;
    while (i < lines.size()) {
        const PhysicalLine &line = lines[i++];
        if (isKeyLine(line.content)) {
            const std::string_view path = line.content.substr(1, line.content.size() - 2);
            doc.keys.push_back(Key {std::string(path), std::string(line.raw), {}});
            key = &doc.keys.back();
            continue;
        }
        Line parsed;
        parsed.raw = line.raw;
        std::string joined(line.content);
        // A continued hex list takes the next lines up to one that does not end in ",\"; a
        // blank line or a key line is never taken. Each line is looked at once.
        if (endsContinued(line.content) && isHexValue(line.content)) {
            while (endsContinued(joined) && i < lines.size() && !lines[i].content.empty()
                && !isKeyLine(lines[i].content)) {
                joined.pop_back();
                joined += trimLeft(lines[i].content);
                parsed.raw += lines[i].raw;
                ++i;
            }
        }
        Line value;
        if (!line.content.empty() && parseValueLine(joined, value)) {
            parsed.isValue = true;
            parsed.name = std::move(value.name);
            parsed.value = std::move(value.value);
        }
        key->lines.push_back(std::move(parsed));
    }
    return doc;
}

std::string RegDocument::formatValue(const std::string &name, const RegValue &value)
{
    std::string out = name.empty() ? std::string("@") : quote(name);
    out += '=';
    const std::string &d = value.data;
    const bool plainText = value.type == RegSz && !d.empty() && d.back() == '\0'
        && d.find_first_of(std::string_view("\r\n\0", 3)) == d.size() - 1;
    if (plainText) {
        out += quote(d.substr(0, d.size() - 1));
    } else if (value.type == RegDword && d.size() == 4) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(d[static_cast<size_t>(i)]);
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", v);
        out += buf;
    } else if (value.type == RegBinary) {
        out += "hex:" + hexList(d);
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", value.type);
        out += buf + hexList(d);
    }
    return out;
}

std::string RegDocument::serialize() const
{
    // A file of our own making starts with the header; one that was read keeps its start.
    const bool read = !preamble.empty() || (!keys.empty() && !keys.front().raw.empty());
    std::string out = read ? preamble : std::string("REGEDIT4\n\n");
    // What the program adds starts on a line of its own, even after a last line without end.
    auto newLine = [&out] {
        if (!out.empty() && out.back() != '\n')
            out += '\n';
    };
    for (const Key &key : keys) {
        if (key.raw.empty()) {
            newLine();
            out += "[" + key.path + "]\n";
        } else {
            out += key.raw;
        }
        for (const Line &line : key.lines) {
            if (!line.raw.empty()) {
                out += line.raw;
            } else {
                newLine();
                out += formatValue(line.name, line.value) + "\n";
            }
        }
    }
    return out;
}

RegDocument::Key *RegDocument::findKey(std::string_view fullPath)
{
    for (Key &key : keys) {
        if (equalsNoCase(key.path, fullPath))
            return &key;
    }
    return nullptr;
}

RegDocument::Key &RegDocument::findOrAddKey(std::string_view fullPath)
{
    if (Key *key = findKey(fullPath))
        return *key;
    Key added {std::string(fullPath), {}, {}};
    added.lines.push_back(Line {false, {}, {}, "\n"}); // the blank line that ends a key
    keys.push_back(std::move(added));
    return keys.back();
}

RegDocument::Line *RegDocument::findValue(Key &key, std::string_view name)
{
    for (Line &line : key.lines) {
        if (line.isValue && equalsNoCase(line.name, name))
            return &line;
    }
    return nullptr;
}

void RegDocument::setValue(Key &key, std::string_view name, const RegValue &value)
{
    if (Line *existing = findValue(key, name)) {
        existing->value = value; // the name keeps the case it was created with
        existing->raw.clear();
        return;
    }
    // A new value goes after the key's last value, or right after the key's line: never
    // after a line that might be continued, and before the blank line that ends the key.
    auto at = key.lines.begin();
    for (auto it = key.lines.begin(); it != key.lines.end(); ++it) {
        if (it->isValue)
            at = std::next(it);
    }
    Line added;
    added.isValue = true;
    added.name = std::string(name);
    added.value = value;
    key.lines.insert(at, std::move(added));
}

namespace {

std::string fullKeyPath(std::string_view keyPath)
{
    std::string full(CurrentUserRoot);
    if (!keyPath.empty()) {
        full += '\\';
        full += keyPath;
    }
    return full;
}

// Creates every missing folder of `path` (mode 0700, as configuration folders are).
bool makeFolders(const std::string &path)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            const std::string part = path.substr(0, i);
            if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// Holds an advisory lock on the registry's lock file beside it while alive. The data file
// itself is replaced by rename, so the lock lives on a file of its own that never moves.
// The registry's folders are made the first time the lock file finds them missing.
class FileLock
{
public:
    explicit FileLock(const std::string &dataPath)
    {
        const std::string lockPath = dataPath + ".lock";
        m_fd = open(lockPath);
        if (m_fd < 0 && errno == ENOENT) {
            const std::string folder = folderOf(dataPath);
            if (!folder.empty() && !makeFolders(folder)) {
                m_folderMissing = true;
                return;
            }
            m_fd = open(lockPath);
        }
        if (m_fd >= 0) {
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) { }
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    /** True when the registry's folder neither exists nor can be made. */
    bool folderMissing() const { return m_folderMissing; }

private:
    static int open(const std::string &path)
    {
        return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }

    int m_fd = -1;
    bool m_folderMissing = false;
};

} // namespace

FileRegistry::FileRegistry(std::string filePath)
    : m_path(std::move(filePath))
{
}

std::string FileRegistry::defaultFilePath()
{
    const char *home = std::getenv("HOME");
    std::string base = xdgBaseFolder(std::getenv("XDG_CONFIG_HOME"), home, "/.config");
    if (base.empty()) // no absolute home either: the folder as HOME spells it
        base = std::string(home ? home : "") + "/.config";
    return base + "/murelin/HKEY_CURRENT_USER.reg";
}

RegRead FileRegistry::read(std::string_view keyPath, std::string_view name)
{
    RegRead result;
    const FileLock lock(m_path);
    if (lock.folderMissing())
        return result;
    std::string text;
    if (readRegularFile(m_path, text) == FileRead::Unreadable)
        return result;
    RegDocument doc = RegDocument::parse(text);
    const std::string full = fullKeyPath(keyPath);
    RegDocument::Key *key = doc.findKey(full);
    if (!key) {
        // Opening a key for full access creates it, as the registry does.
        doc.findOrAddKey(full);
        if (!writeFileAtomically(m_path, doc.serialize()))
            return result;
        result.keyOpened = true;
        return result;
    }
    result.keyOpened = true;
    if (RegDocument::Line *line = RegDocument::findValue(*key, name))
        result.value = line->value;
    return result;
}

bool FileRegistry::write(std::string_view keyPath, std::string_view name, const RegValue &value)
{
    const FileLock lock(m_path);
    if (lock.folderMissing())
        return false;
    std::string text;
    if (readRegularFile(m_path, text) == FileRead::Unreadable)
        return false; // whatever is there is not ours to replace
    RegDocument doc = RegDocument::parse(text);
    RegDocument::setValue(doc.findOrAddKey(fullKeyPath(keyPath)), name, value);
    std::string serialized = doc.serialize();
    // A value set to what it holds already leaves the file as it is: Next sets the same four
    // desktop values picture after picture, and each replacement waits for the disk. A file
    // that could not be written is still refused, as a replacement would be.
    struct stat st
    {
    };
    if (serialized == text && ::stat(m_path.c_str(), &st) == 0 && S_ISREG(st.st_mode)
        && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(m_path.c_str(), W_OK) == 0)
        return true;
    return writeFileAtomically(m_path, serialized);
}

} // namespace platform
