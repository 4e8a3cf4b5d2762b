// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The settings file on disk: written whole through a new file that replaces it, so that a
// crash leaves the old file or the new one, never a torn one.

namespace qx {

// Creates the folder and its missing parents, each with mode 0700.
bool CreatePrivateFolders(const std::filesystem::path& folder);

// The folder of the file ("." for a bare name).
std::filesystem::path FolderOfFile(const std::filesystem::path& file);

// Everything left to read from the descriptor; nothing, with the error number, when a read
// fails.
std::optional<std::string> ReadWholeFile(int fd, int& error);

// Writes the file through a new file in the same folder, so a crash leaves either the old
// file or the new one.
bool ReplaceFileAtomically(const std::filesystem::path& file, std::string_view text);

// Renames the file to "<name>.damaged-YYYYMMDD-HHMMSS", with "-2", "-3"... when that exists.
std::optional<std::filesystem::path> MoveFileAside(const std::filesystem::path& file, int& error);

} // namespace qx
