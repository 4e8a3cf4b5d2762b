// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalFolderListing.h"

#include "base/AsciiText.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <memory>
#include <sys/stat.h>

namespace qx {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The kind, size and date of the entry of that name in the folder open as dirFd.
bool StatEntry(int dirFd, TLocalFileEntry& entry) {
    struct stat info {};
    if (::fstatat(dirFd, entry.Name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    entry.IsLink = S_ISLNK(info.st_mode);
    if (entry.IsLink && ::fstatat(dirFd, entry.Name.c_str(), &info, 0) != 0) {
        info = {}; // a dangling link
    }
    entry.IsFolder = S_ISDIR(info.st_mode);
    entry.Size = entry.IsFolder ? -1 : static_cast<std::int64_t>(info.st_size);
    entry.ModifiedTime = static_cast<std::int64_t>(info.st_mtime);
    return true;
}

} // namespace

int CompareLocalNames(const std::string& a, const std::string& b) {
    // Case-insensitive for ASCII letters, then by bytes, so the order is stable.
    const int order = AsciiCompareNoCase(a, b);
    return order != 0 ? order : a.compare(b);
}

bool ReadLocalFolder(const std::string& folder, std::size_t batchSize,
                     const std::function<void(std::vector<TLocalFileEntry>&&)>& batch,
                     const std::stop_token& stop, std::string& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    std::vector<TLocalFileEntry> entries;
    entries.reserve(batchSize);
    while (!stop.stop_requested()) {
        errno = 0;
        const dirent* item = ::readdir(dir.get());
        if (item == nullptr) {
            if (errno != 0) {
                error = std::strerror(errno);
            }
            break;
        }
        const std::string name = item->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        TLocalFileEntry entry;
        entry.Name = name;
        StatEntry(::dirfd(dir.get()), entry);
        entries.push_back(std::move(entry));
        if (entries.size() >= batchSize) {
            batch(std::move(entries));
            entries.clear();
            entries.reserve(batchSize);
        }
    }
    if (!entries.empty() && !stop.stop_requested()) {
        batch(std::move(entries));
    }
    return error.empty();
}

std::vector<std::pair<std::size_t, TLocalFileEntry>>
ReadChangedEntries(const std::string& folder, const std::vector<TLocalFileEntry>& entries,
                   const std::stop_token& stop) {
    std::vector<std::pair<std::size_t, TLocalFileEntry>> changed;
    const UniqueFd dirFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirFd) {
        return changed;
    }
    for (std::size_t i = 0; i < entries.size() && !stop.stop_requested(); ++i) {
        TLocalFileEntry fresh;
        fresh.Name = entries[i].Name;
        if (StatEntry(dirFd.get(), fresh) &&
            (fresh.IsFolder != entries[i].IsFolder || fresh.IsLink != entries[i].IsLink ||
             fresh.Size != entries[i].Size || fresh.ModifiedTime != entries[i].ModifiedTime)) {
            changed.emplace_back(i, std::move(fresh));
        }
    }
    return changed;
}

bool PassesFilter(const TLocalFileEntry& entry, const std::vector<std::string>& patterns) {
    if (entry.IsFolder || patterns.empty()) {
        return true;
    }
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return ::fnmatch(pattern.c_str(), entry.Name.c_str(), FNM_PERIOD) == 0;
    });
}

std::vector<std::size_t>
LocalSortOrder(const std::vector<TLocalFileEntry>& entries, int sortColumn,
               const std::function<std::string(const TLocalFileEntry&)>& typeOf) {
    const int column = std::abs(sortColumn);
    const bool descending = sortColumn < 0;
    // The type column compares small numbers: each distinct type text gets its rank once.
    std::vector<std::uint32_t> typeRank;
    if (column == 3 && typeOf) {
        std::vector<std::string> types;
        types.reserve(entries.size());
        for (const TLocalFileEntry& entry : entries) {
            types.push_back(typeOf(entry));
        }
        std::vector<std::string> distinct = types;
        std::sort(distinct.begin(), distinct.end(), [](const std::string& a, const std::string& b) {
            return CompareLocalNames(a, b) < 0;
        });
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        typeRank.reserve(types.size());
        for (const std::string& type : types) {
            typeRank.push_back(static_cast<std::uint32_t>(
                std::lower_bound(distinct.begin(), distinct.end(), type,
                                 [](const std::string& a, const std::string& b) {
                                     return CompareLocalNames(a, b) < 0;
                                 }) -
                distinct.begin()));
        }
    }
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const TLocalFileEntry& a = entries[x];
        const TLocalFileEntry& b = entries[y];
        if (a.IsFolder != b.IsFolder) {
            return a.IsFolder;
        }
        int result = 0;
        if (column == 2 && a.Size != b.Size) {
            result = a.Size < b.Size ? -1 : 1;
        } else if (column == 3 && !typeRank.empty() && typeRank[x] != typeRank[y]) {
            result = typeRank[x] < typeRank[y] ? -1 : 1;
        } else if (column == 4 && a.ModifiedTime != b.ModifiedTime) {
            result = a.ModifiedTime > b.ModifiedTime ? -1 : 1; // newest first
        }
        if (result == 0) {
            result = CompareLocalNames(a.Name, b.Name);
        }
        return descending ? result > 0 : result < 0;
    });
    return order;
}

void SortLocalEntries(std::vector<TLocalFileEntry>& entries, int sortColumn,
                      const std::function<std::string(const TLocalFileEntry&)>& typeOf) {
    const std::vector<std::size_t> order = LocalSortOrder(entries, sortColumn, typeOf);
    std::vector<TLocalFileEntry> sorted;
    sorted.reserve(entries.size());
    for (std::size_t index : order) {
        sorted.push_back(std::move(entries[index]));
    }
    entries = std::move(sorted);
}

} // namespace qx
