#pragma once

#include <filesystem>
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

} // namespace qx::test
