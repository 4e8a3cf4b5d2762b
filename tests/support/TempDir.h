// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace qx::test {

// A fresh folder under the system temporary folder, removed with everything in it when the
// object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(std::string_view name) const { return (m_path / name).string(); }

    // Writes bytes to a file below the folder (creating parent folders) and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

// Reads a whole file; an empty string when it cannot be read.
std::string readFile(const std::filesystem::path& path);

// Bytes of every value, the same for the same seed.
std::string randomBytes(std::size_t size, unsigned seed);

// Everything below the folder by relative path: a file's bytes, "<folder>" for a folder.
std::map<std::string, std::string> treeContents(const std::filesystem::path& folder);

} // namespace qx::test
