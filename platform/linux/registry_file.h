#pragma once

#include "platform/registry.h"

#include <string>
#include <vector>

namespace platform {

/**
 * A registry kept as a REGEDIT4 text file: the line "REGEDIT4", a blank line, then each key
 * as "[HKEY_CURRENT_USER\path]" followed by its values one a line and a blank line.
 *
 *   "Name"="text"        REG_SZ: the text and one zero byte (\\ and \" escaped)
 *   "Name"=dword:0000002a REG_DWORD
 *   "Name"=hex:41,42     REG_BINARY;  "Name"=hex(N):..  a value of type N
 *
 * A hex value may go on over several lines, each but the last ending in ",\".
 *
 * The file may be shared with other programs, so the document keeps every line's bytes as
 * read, its line end included: a line the reader does not understand (an unknown escape, a
 * line ending in CR CR, a comment), a blank line, a key or value of someone else's is written
 * back exactly as it came. Only a value the program sets is written anew, in the form above;
 * so serialize(parse(text)) == text, and parsing is linear in the text's length.
 */
class RegDocument
{
public:
    struct Line
    {
        bool isValue = false;
        std::string name; // value name, unescaped
        RegValue value;
        std::string raw; // the line's bytes as read, line ends included; empty once changed
    };
    struct Key
    {
        std::string path; // as written between the brackets, with its root
        std::string raw; // the key's line as read; empty for a key the program added
        std::vector<Line> lines; // values, blank and other lines, in the file's order
    };

    static RegDocument parse(const std::string &text);
    std::string serialize() const;

    /** The key whose path (with root) matches `fullPath` without regard to ASCII case. */
    Key *findKey(std::string_view fullPath);
    Key &findOrAddKey(std::string_view fullPath);
    static Line *findValue(Key &key, std::string_view name);
    /** Sets `name` in `key`: a value of that name is replaced in place, else one is added. */
    static void setValue(Key &key, std::string_view name, const RegValue &value);

    /** Formats one value line ("Name"=...), without a line end. */
    static std::string formatValue(const std::string &name, const RegValue &value);

    std::string preamble; // everything before the first key, as read (the header included)
    std::vector<Key> keys;
};

/** The Registry on a REGEDIT4 file; every access reads the file afresh under a lock. */
class FileRegistry : public Registry
{
public:
    explicit FileRegistry(std::string filePath);

    RegRead read(std::string_view keyPath, std::string_view name) override;
    bool write(std::string_view keyPath, std::string_view name, const RegValue &value) override;

    const std::string &filePath() const { return m_path; }

    /** ${XDG_CONFIG_HOME:-$HOME/.config}/murelin/HKEY_CURRENT_USER.reg */
    static std::string defaultFilePath();

private:
    std::string m_path;
};

/** The root every key path of ours lives under. */
inline constexpr std::string_view CurrentUserRoot = "HKEY_CURRENT_USER";

} // namespace platform
