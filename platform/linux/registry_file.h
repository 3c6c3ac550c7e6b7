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
 * Lines the reader does not understand are kept as they stand and written back unchanged.
 */
class RegDocument
{
public:
    struct Line
    {
        bool isValue = false;
        std::string name; // value name, unescaped
        RegValue value;
        std::string raw; // the line as read, for lines that are not values
    };
    struct Key
    {
        std::string path; // as written between the brackets, with its root
        std::vector<Line> lines;
    };

    static RegDocument parse(const std::string &text);
    std::string serialize() const;

    /** The key whose path (with root) matches `fullPath` without regard to ASCII case. */
    Key *findKey(std::string_view fullPath);
    Key &findOrAddKey(std::string_view fullPath);
    static Line *findValue(Key &key, std::string_view name);

    /** Formats one value line ("Name"=...). */
    static std::string formatValue(const std::string &name, const RegValue &value);

    std::vector<std::string> preamble; // lines before the first key, header and blanks aside
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
