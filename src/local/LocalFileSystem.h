// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace qx {

// True for the root of a mounted volume: "/" and every mount point (the path is on another
// device than its parent, or is its own parent).
bool IsMountRoot(const std::string& path);

// A name that does not exist yet in the folder: the base name itself, else "base (2)",
// "base (3)" and so on; an extension stays at the end ("a (2).txt").
std::string UniqueName(const std::string& folder, const std::string& baseName,
                       bool keepExtension = false);

// Makes "New Folder" (numbered when taken) in the folder; the new path, or none with the
// reason in error.
std::optional<std::string> MakeNewFolder(const std::string& folder, std::string& error);

// Makes a symbolic link "Link to <name>" (numbered when taken) to the target in the folder;
// the link's path, or none with the reason in error.
std::optional<std::string> MakeLinkTo(const std::string& target, const std::string& folder,
                                      std::string& error);

// Renames a file or folder within its folder. The new name may not contain "/" nor be empty,
// "." or ".."; an existing name is never replaced. False with the reason in error.
bool RenameLocal(const std::string& path, const std::string& newName, std::string& error);

} // namespace qx
