// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncListings.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace qx {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

std::optional<TSyncEntry> RemoteSyncEntry(const TFTPListItem& item, int offsetMinutes) {
    if (item.IsLink) {
        return std::nullopt;
    }
    TSyncEntry entry;
    entry.Name = item.Name;
    entry.IsFolder = !item.IsFile;
    entry.Size = item.IsFile ? item.Size : 0;
    entry.Precision = item.TimePrecision;
    entry.Time = EntryUtcTime(item, offsetMinutes);
    if (!entry.Time) {
        entry.Precision = TTimePrecision::Unknown;
    }
    return entry;
}

std::vector<TSyncEntry> RemoteSyncEntries(const TFTPListItems& items, int offsetMinutes) {
    std::vector<TSyncEntry> entries;
    entries.reserve(items.Count());
    for (const auto& item : items) {
        if (auto entry = RemoteSyncEntry(*item, offsetMinutes)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

std::optional<std::vector<TSyncEntry>> LocalSyncEntries(const std::string& folder,
                                                        const std::stop_token& stop) {
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    const int fd = ::dirfd(dir.get());
    std::vector<TSyncEntry> entries;
    errno = 0;
    while (const dirent* found = ::readdir(dir.get())) {
        if (stop.stop_requested()) {
            return std::nullopt;
        }
        const std::string name = found->d_name;
        struct stat info {};
        if (name == "." || name == ".." ||
            ::fstatat(fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))) {
            errno = 0;
            continue;
        }
        entries.push_back(TSyncEntry{name, S_ISDIR(info.st_mode),
                                     S_ISREG(info.st_mode) ? std::int64_t{info.st_size} : 0,
                                     std::int64_t{info.st_mtime}, TTimePrecision::Second});
    }
    if (errno != 0) {
        return std::nullopt;
    }
    return entries;
}

} // namespace qx
