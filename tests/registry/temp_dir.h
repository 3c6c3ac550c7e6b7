#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

/** A fresh folder under the temporary folder, removed with everything in it at the end. */
class TempDir
{
public:
    TempDir()
    {
        std::string tmpl
            = (std::filesystem::temp_directory_path() / "murelin-test-XXXXXX").string();
        if (!::mkdtemp(tmpl.data()))
            std::abort();
        m_path = tmpl;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
