// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// One line of the kernel's mount table (/proc/self/mountinfo).
struct TMountEntry {
    std::string MountPoint; // as bytes, escapes undone
    std::string FsType;
    std::string Source;
};

// The mount table's lines, in order; malformed lines are left out.
std::vector<TMountEntry> ParseMountInfo(std::string_view text);

// The process's mount table. Reading it never touches a mounted file system, so a hung network
// mount does not hold the caller. Empty when it cannot be read.
std::vector<TMountEntry> ReadMountTable();

// True for a mount that a desktop user calls a volume: a disk, a stick or a network share, not
// one of the system's own file systems (proc, sysfs, tmpfs, cgroups, the overlay below a
// container, snap images and the like) nor a mount of the system's folders (/boot, /var, /run
// except removable media...).
bool IsUserVolume(const TMountEntry& mount);

// True for a file system reached over the network (its calls may hang).
bool IsNetworkFileSystem(std::string_view fsType);

enum class TTopFolderKind { Root, Home, Volume };

// A top-level node of the folder tree.
struct TTopFolder {
    std::string Path; // bytes, no trailing "/" except for the root
    TTopFolderKind Kind = TTopFolderKind::Root;
    bool Network = false; // a volume of a network file system
};

// The tree's top level: "/", the home folder (when it is not "/"), then the user volumes by
// path, each mount point once (the last mount over a point wins).
std::vector<TTopFolder> TopFolders(const std::vector<TMountEntry>& mounts, const std::string& home);

// The deepest top folder that holds the path (component by component); none when no top folder
// does (never for an absolute path, which "/" holds).
std::optional<std::size_t> DeepestTopFolder(const std::vector<TTopFolder>& tops,
                                            const std::string& path);

// True when the path is the folder or lies below it, component by component.
bool PathIsWithin(const std::string& path, const std::string& folder);

// The mount that holds the path (deepest mount point), none when the table is empty.
std::optional<TMountEntry> MountOf(const std::vector<TMountEntry>& mounts, const std::string& path);

} // namespace qx
