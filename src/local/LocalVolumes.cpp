// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalVolumes.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>

namespace qx {

namespace {

// "\040" and the other octal escapes of the mount table.
std::string Unescape(std::string_view field) {
    const auto octal = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i > 3 && octal(field[i + 1]) &&
            octal(field[i + 2]) && octal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') {
            ++at;
        }
        const std::size_t end = std::min(line.find(' ', at), line.size());
        if (end > at) {
            fields.push_back(line.substr(at, end - at));
        }
        at = end;
    }
    return fields;
}

bool StartsWithFolder(std::string_view path, std::string_view folder) {
    return path == folder ||
           (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

} // namespace

std::vector<TMountEntry> ParseMountInfo(std::string_view text) {
    std::vector<TMountEntry> mounts;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::vector<std::string_view> fields = Fields(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        // id parent major:minor root mount-point options [optional...] - type source options
        const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || dash == fields.end() || std::distance(dash, fields.end()) < 3 ||
            std::distance(fields.begin(), dash) < 6 || !fields[4].starts_with('/')) {
            continue;
        }
        mounts.push_back({Unescape(fields[4]), Unescape(*(dash + 1)), Unescape(*(dash + 2))});
    }
    return mounts;
}

std::vector<TMountEntry> ReadMountTable() {
    std::ifstream file("/proc/self/mountinfo");
    std::ostringstream text;
    text << file.rdbuf();
    return ParseMountInfo(text.str());
}

bool IsNetworkFileSystem(std::string_view fsType) {
    static constexpr std::array<std::string_view, 12> kNetwork = {
        "nfs", "nfs4", "cifs",       "smb3",        "smbfs", "ncpfs",
        "afs", "9p",   "fuse.sshfs", "fuse.rclone", "davfs", "fuse.gvfsd-fuse"};
    return std::find(kNetwork.begin(), kNetwork.end(), fsType) != kNetwork.end() ||
           fsType.starts_with("fuse.s3") || fsType == "ceph" || fsType == "glusterfs";
}

bool IsUserVolume(const TMountEntry& mount) {
    static constexpr std::array<std::string_view, 30> kPseudo = {
        "proc",        "sysfs",    "devtmpfs",    "devpts",          "tmpfs",      "ramfs",
        "cgroup",      "cgroup2",  "securityfs",  "pstore",          "bpf",        "debugfs",
        "tracefs",     "configfs", "fusectl",     "mqueue",          "hugetlbfs",  "autofs",
        "binfmt_misc", "overlay",  "squashfs",    "efivarfs",        "rpc_pipefs", "nsfs",
        "selinuxfs",   "nfsd",     "fuse.portal", "fuse.gvfsd-fuse", "fuse.lxcfs", "erofs"};
    // Folders of the system itself: their mounts are not the user's volumes.
    static constexpr std::array<std::string_view, 17> kSystem = {
        "/proc", "/sys", "/dev", "/run", "/snap",  "/boot", "/var",  "/tmp", "/usr",
        "/etc",  "/opt", "/srv", "/lib", "/lib64", "/bin",  "/sbin", "/nix"};
    if (std::find(kPseudo.begin(), kPseudo.end(), mount.FsType) != kPseudo.end() ||
        mount.MountPoint == "/" || mount.MountPoint == "/home") {
        return false;
    }
    const std::string_view point = mount.MountPoint;
    if (StartsWithFolder(point, "/run/media") && point != "/run/media") {
        return true; // removable media mounted for a user
    }
    return std::none_of(kSystem.begin(), kSystem.end(), [point](std::string_view folder) {
        return StartsWithFolder(point, folder);
    });
}

bool PathIsWithin(const std::string& path, const std::string& folder) {
    return folder == "/" ? path.starts_with('/') : StartsWithFolder(path, folder);
}

std::vector<TTopFolder> TopFolders(const std::vector<TMountEntry>& mounts,
                                   const std::string& home) {
    std::vector<TTopFolder> tops{{"/", TTopFolderKind::Root, false}};
    std::string homePath = home;
    while (homePath.size() > 1 && homePath.ends_with('/')) {
        homePath.pop_back();
    }
    if (homePath.starts_with('/') && homePath != "/") {
        tops.push_back({homePath, TTopFolderKind::Home, false});
    }
    std::vector<TTopFolder> volumes;
    for (const TMountEntry& mount : mounts) {
        const auto known = std::find_if(volumes.begin(), volumes.end(), [&](const TTopFolder& top) {
            return top.Path == mount.MountPoint;
        });
        if (known != volumes.end()) {
            volumes.erase(known); // mounted over: the later mount is the one seen
        }
        if (IsUserVolume(mount) && mount.MountPoint != homePath) {
            volumes.push_back(
                {mount.MountPoint, TTopFolderKind::Volume, IsNetworkFileSystem(mount.FsType)});
        }
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const TTopFolder& a, const TTopFolder& b) { return a.Path < b.Path; });
    tops.insert(tops.end(), volumes.begin(), volumes.end());
    return tops;
}

std::optional<std::size_t> DeepestTopFolder(const std::vector<TTopFolder>& tops,
                                            const std::string& path) {
    std::optional<std::size_t> best;
    for (std::size_t i = 0; i < tops.size(); ++i) {
        if (PathIsWithin(path, tops[i].Path) &&
            (!best || tops[i].Path.size() > tops[*best].Path.size())) {
            best = i;
        }
    }
    return best;
}

std::optional<TMountEntry> MountOf(const std::vector<TMountEntry>& mounts,
                                   const std::string& path) {
    std::optional<TMountEntry> best;
    for (const TMountEntry& mount : mounts) {
        if (PathIsWithin(path, mount.MountPoint) &&
            (!best || mount.MountPoint.size() >= best->MountPoint.size())) {
            best = mount;
        }
    }
    return best;
}

} // namespace qx
