// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/FileListContent.h"

#include "base/LocaleTextCompare.h"
#include "base/Utilities.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace qx {

TFileListContent::TFileListContent(const TLocaleTextCompare& compare) : m_compare(compare) {}

void TFileListContent::Clear() {
    m_shown.clear();
    for (auto& keys : m_keys) {
        keys.clear();
    }
    m_folders = m_files = 0;
    m_total = 0;
}

void TFileListContent::Fill(const TFTPListItems* listing, const TMasks& masks,
                            const std::function<bool(const TFTPListItem&)>& keep) {
    Clear();
    if (listing == nullptr) {
        return;
    }
    m_shown.reserve(listing->Count());
    const bool filtering = masks.Active();
    for (const auto& entry : *listing) {
        if ((entry->IsFile && filtering && !masks.Matches(entry->Name)) ||
            (keep && !keep(*entry))) {
            continue;
        }
        Count(*entry, 1);
        m_shown.push_back(entry.get());
    }
    Sort(m_sortColumn);
}

void TFileListContent::Count(const TFTPListItem& entry, int sign) {
    if (!entry.IsFile) {
        m_folders += sign;
        return;
    }
    m_files += sign;
    if (entry.Size > 0) {
        m_total += sign * entry.Size;
    }
}

std::size_t TFileListContent::Remove(const std::vector<const TFTPListItem*>& entries) {
    if (entries.empty()) {
        return 0;
    }
    const std::unordered_set<const TFTPListItem*> going(entries.begin(), entries.end());
    const std::size_t before = m_shown.size();
    std::erase_if(m_shown, [&](const TFTPListItem* entry) {
        if (!going.contains(entry)) {
            return false;
        }
        Count(*entry, -1);
        return true;
    });
    for (auto& keys : m_keys) {
        keys.clear(); // made again by the next sort
    }
    return before - m_shown.size();
}

std::size_t TFileListContent::Append(TFTPListItem* entry) {
    for (auto& keys : m_keys) {
        keys.clear();
    }
    Count(*entry, 1);
    m_shown.push_back(entry);
    return m_shown.size() - 1;
}

std::string TFileListContent::CellText(const TFTPListItem& entry, int column,
                                       std::string_view decimalPoint) {
    switch (column) {
    case 0:
        return entry.Name;
    case 1:
        return entry.IsFile && entry.Size >= 0 ? FormatFileSize(entry.Size, decimalPoint)
                                               : std::string();
    case 2:
        return entry.TypeName;
    case 3:
        return entry.DateText + " " + entry.TimeText;
    case 4:
        return entry.Permission;
    default:
        return {};
    }
}

int TFileListContent::NextSortColumn(int sortColumn, int column) {
    return std::abs(sortColumn) == column ? -sortColumn : column;
}

void TFileListContent::Sort(int sortColumn) {
    if (sortColumn == 0 || std::abs(sortColumn) > kColumns) {
        sortColumn = 1;
    }
    m_sortColumn = sortColumn;
    const int column = std::abs(sortColumn);
    const bool descending = sortColumn < 0;
    // Keys follow the entries' current positions: names (every column's tie-break) and the
    // column's texts are made now, the others dropped, as the sort below moves the entries.
    for (int other = 1; other <= kColumns; ++other) {
        if (other != 1) {
            m_keys[other].clear();
        }
    }
    if (m_keys[1].size() != m_shown.size()) {
        m_keys[1].clear();
        m_keys[1].reserve(m_shown.size());
        for (const TFTPListItem* entry : m_shown) {
            m_keys[1].push_back(m_compare.SortKey(entry->Name));
        }
    }
    if (column == 3 || column == 5) {
        std::vector<std::string>& keys = m_keys[column];
        keys.reserve(m_shown.size());
        // Types and permissions repeat a lot: each distinct text is keyed once.
        std::unordered_map<std::string_view, std::string> made;
        for (const TFTPListItem* entry : m_shown) {
            const std::string& text = column == 3 ? entry->TypeName : entry->Permission;
            auto [it, inserted] = made.try_emplace(text);
            if (inserted) {
                it->second = m_compare.SortKey(text);
            }
            keys.push_back(it->second);
        }
    }
    m_order.resize(m_shown.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        m_order[i] = i;
    }
    const auto& names = m_keys[1];
    const auto& texts = m_keys[column];
    const auto order = [](auto a, auto b) { return a < b ? -1 : b < a ? 1 : 0; };
    const auto when = [](const TFTPListItem& entry) {
        return std::tuple(entry.Year, entry.Month, entry.Day, entry.Hour, entry.Minute);
    };
    // Folders before files; within a kind by the column, ascending meaning A to Z, small to
    // large, but new to old: dates run the other way round, so that the first click on the
    // column shows the newest first. Equal values by name. Descending turns all of it round.
    const auto compare = [&](std::size_t a, std::size_t b) -> int {
        const TFTPListItem& left = *m_shown[a];
        const TFTPListItem& right = *m_shown[b];
        int result = 0;
        switch (column) {
        case 2:
            result = left.IsFile && right.IsFile ? order(left.Size, right.Size) : 0;
            break;
        case 3:
        case 5:
            result = texts[a].compare(texts[b]);
            break;
        case 4:
            result = order(when(right), when(left));
            break;
        default:
            break;
        }
        return result != 0 ? result : names[a].compare(names[b]);
    };
    std::sort(m_order.begin(), m_order.end(), [&](std::size_t a, std::size_t b) {
        const bool leftFile = m_shown[a]->IsFile;
        const int result = leftFile != m_shown[b]->IsFile ? (leftFile ? 1 : -1) : compare(a, b);
        return descending ? result > 0 : result < 0;
    });
    std::vector<TFTPListItem*> sorted(m_shown.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        sorted[i] = m_shown[m_order[i]];
    }
    m_shown.swap(sorted);
    for (int keyed : {1, column}) {
        if (m_keys[keyed].size() != m_order.size()) {
            continue;
        }
        std::vector<std::string> sortedKeys(m_order.size());
        for (std::size_t i = 0; i < m_order.size(); ++i) {
            sortedKeys[i] = std::move(m_keys[keyed][m_order[i]]);
        }
        m_keys[keyed].swap(sortedKeys);
        if (column == 1) {
            break;
        }
    }
}

std::ptrdiff_t TFileListContent::RowOf(const TFTPListItem* entry) const {
    const auto it = std::find(m_shown.begin(), m_shown.end(), entry);
    return it == m_shown.end() ? -1 : it - m_shown.begin();
}

std::string TFileListContent::CountText(std::string_view format,
                                        std::string_view decimalPoint) const {
    return FormatText(format, {std::to_string(m_folders), std::to_string(m_files),
                               FormatFileSize(m_total, decimalPoint)});
}

} // namespace qx
