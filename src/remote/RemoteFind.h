// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Masks.h"
#include "engine/FTPListItem.h"
#include "session/RemoteNames.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// What a search of a server looks for. Every criterion given must hold; sizes hold only for
// files. Times are UTC seconds, compared with the listing's time of the entry (the start of its
// minute or day when the listing tells no more).
struct TFindCriteria {
    TMasks Names; // of the entry's name; none: every name
    std::optional<std::int64_t> NewerThan;
    std::optional<std::int64_t> OlderThan;
    std::optional<std::int64_t> LargerThan;
    std::optional<std::int64_t> SmallerThan;
    bool Subfolders = true;
    int MaxDepth = kMaxRecursionDepth; // levels below the top that are listed
    int TimeZoneOffset = 0;            // minutes the server's LIST times run ahead of UTC
};

bool FindMatches(const TFTPListItem& item, const TFindCriteria& criteria);

struct TFoundEntry {
    std::string Path; // the remote path
    TFTPListItem Item;
};

// A search of a server, folder by folder, level by level, driven by whoever lists the folders
// (at once or as listings arrive): take NextFolder, list it, hand the listing to Listed. Links
// are not followed; names that cannot be a path component are passed over.
class TRemoteFind {
public:
    TRemoteFind(std::string top, TFindCriteria criteria);

    // The next folder to list; nothing when the search is done.
    std::optional<std::string> NextFolder();
    // The listing of the folder NextFolder gave last: the entries that match, by name.
    std::vector<TFoundEntry> Listed(const TFTPListItems& items);
    // The folder NextFolder gave last could not be listed: it is passed over.
    void NotListed() { m_current.reset(); }

    std::size_t FoldersListed() const { return m_foldersListed; }
    // Folders left unlisted because they lie deeper than MaxDepth.
    std::size_t FoldersTooDeep() const { return m_tooDeep; }

private:
    struct TPending {
        std::string Path;
        int Depth = 0;
    };
    TFindCriteria m_criteria;
    std::deque<TPending> m_pending;
    std::optional<TPending> m_current;
    std::size_t m_foldersListed = 0;
    std::size_t m_tooDeep = 0;
};

} // namespace qx
