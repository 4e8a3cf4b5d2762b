// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/RemoteFind.h"

#include <algorithm>

namespace qx {

bool FindMatches(const TFTPListItem& item, const TFindCriteria& criteria) {
    if (criteria.Names.Count() > 0 && !criteria.Names.Matches(item.Name)) {
        return false;
    }
    if (criteria.LargerThan || criteria.SmallerThan) {
        if (!item.IsFile || (criteria.LargerThan && item.Size <= *criteria.LargerThan) ||
            (criteria.SmallerThan && item.Size >= *criteria.SmallerThan)) {
            return false;
        }
    }
    if (criteria.NewerThan || criteria.OlderThan) {
        const auto time = EntryUtcTime(item, criteria.TimeZoneOffset);
        if (!time || (criteria.NewerThan && *time <= *criteria.NewerThan) ||
            (criteria.OlderThan && *time >= *criteria.OlderThan)) {
            return false;
        }
    }
    return true;
}

TRemoteFind::TRemoteFind(std::string top, TFindCriteria criteria)
    : m_criteria(std::move(criteria)) {
    m_pending.push_back({std::move(top), 0});
}

std::optional<std::string> TRemoteFind::NextFolder() {
    if (m_pending.empty()) {
        m_current.reset();
        return std::nullopt;
    }
    m_current = std::move(m_pending.front());
    m_pending.pop_front();
    return m_current->Path;
}

std::vector<TFoundEntry> TRemoteFind::Listed(const TFTPListItems& items) {
    std::vector<TFoundEntry> found;
    if (!m_current) {
        return found;
    }
    const TPending folder = std::move(*m_current);
    m_current.reset();
    ++m_foldersListed;
    for (const auto& entry : items) {
        const TFTPListItem& item = *entry;
        if (!IsSafeEntryName(item.Name)) {
            continue;
        }
        const std::string path = JoinRemotePath(folder.Path, item.Name);
        if (FindMatches(item, m_criteria)) {
            found.push_back({path, item});
        }
        if (!item.IsFile && !item.IsLink && m_criteria.Subfolders) {
            if (folder.Depth + 1 > m_criteria.MaxDepth) {
                ++m_tooDeep;
            } else {
                m_pending.push_back({path, folder.Depth + 1});
            }
        }
    }
    std::ranges::sort(found, {}, &TFoundEntry::Path);
    return found;
}

} // namespace qx
