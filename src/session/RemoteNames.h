// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AsciiText.h"
#include "base/EntryNames.h"

#include <string>
#include <string_view>

namespace qx {

// How deep recursive downloads, uploads and removals go below the folder they start in.
constexpr int kMaxRecursionDepth = 32;

// The path with "." and empty components removed and ".." applied; a leading "/" stays. A ".."
// above the top of a relative path is kept.
std::string NormalizeRemotePath(std::string_view path);

// True when a folder link listed in the folder points at that folder or one of the folders
// above it, so that following it would never end. The target is taken as the listing shows
// it, relative to the folder unless it starts with "/"; an unknown target (empty) is not
// judged here (the depth limit stops such loops).
bool LinkLoopsBack(std::string_view listedFolder, std::string_view linkTarget);

// The extension of a path's last component, from its last "." on, in lower case ("" when
// there is none).
std::string LowerCaseExtension(std::string_view path);

} // namespace qx
