// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UniqueFd.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace qx {

// The user's private temporary folder: "quorvin-explorer-<uid>" under $TMPDIR (or /tmp), mode
// 0700, created when missing. Throws std::system_error when it cannot be created, or when
// something else already sits there that is not a folder of this user closed to others.
std::filesystem::path PrivateTempFolder();

struct TempFile {
    std::string Path;
    UniqueFd Fd; // open for reading and writing
};

// Creates a new file in the folder, exclusively (never opens a file that already exists, never
// follows a link), named with eight random lower-case letters and the suffix.
TempFile CreateTempFile(const std::filesystem::path& folder, std::string_view suffix = ".tmp");

} // namespace qx
