#include "remote/FileListContent.h"

#include "base/LocaleTextCompare.h"
#include "base/Utilities.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unordered_map>

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

void TFileListContent::Fill(const TFTPListItems* listing, const TMasks& masks) {
    Clear();
    if (listing == nullptr) {
        return;
    }
    m_shown.reserve(listing->Count());
    const bool filtering = masks.Active();
    for (const auto& entry : *listing) {
        if (!entry->IsFile) {
            ++m_folders;
        } else if (!filtering || masks.Matches(entry->Name)) {
            ++m_files;
            m_total += entry->Size;
        } else {
            continue;
        }
        m_shown.push_back(entry.get());
    }
    Sort(m_sortColumn);
}

std::string TFileListContent::CellText(const TFTPListItem& entry, int column) {
    switch (column) {
    case 0:
        return entry.Name;
    case 1:
        return entry.IsFile ? FormatFileSize(entry.Size) : std::string();
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
    // The keys follow the entries' current positions: rebuilt for this column now, and
    // dropped for the others, whose positions the sort below changes.
    for (int other = 1; other <= kColumns; ++other) {
        m_keys[other].clear();
    }
    if (column != 2) {
        std::vector<std::string>& keys = m_keys[column];
        keys.reserve(m_shown.size());
        // Types, dates and permissions repeat a lot: each distinct text is keyed once.
        std::unordered_map<std::string_view, std::string> made;
        for (const TFTPListItem* entry : m_shown) {
            const std::string& text = column == 1   ? entry->Name
                                      : column == 3 ? entry->TypeName
                                      : column == 5 ? entry->Permission
                                                    : entry->DateText;
            if (column == 1) {
                keys.push_back(m_compare.SortKey(text));
                continue;
            }
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
    const auto& keys = m_keys[column];
    // Folders before files; within a kind by the column. Dates compare the other way round.
    const auto compare = [&](std::size_t a, std::size_t b) -> int {
        const TFTPListItem& left = *m_shown[a];
        const TFTPListItem& right = *m_shown[b];
        if (!left.IsFile && right.IsFile) {
            return -1;
        }
        if (left.IsFile && !right.IsFile) {
            return 1;
        }
        if (column == 2) {
            if (!left.IsFile) {
                return 0; // folders have no size: no order among them
            }
            return left.Size < right.Size ? -1 : left.Size > right.Size ? 1 : 0;
        }
        const int texts = keys[a].compare(keys[b]);
        return column == 4 ? -texts : texts;
    };
    std::sort(m_order.begin(), m_order.end(), [&](std::size_t a, std::size_t b) {
        const int result = compare(a, b);
        return descending ? result > 0 : result < 0;
    });
    std::vector<const TFTPListItem*> sorted(m_shown.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        sorted[i] = m_shown[m_order[i]];
    }
    m_shown.swap(sorted);
    if (column != 2) {
        std::vector<std::string> sortedKeys(m_order.size());
        for (std::size_t i = 0; i < m_order.size(); ++i) {
            sortedKeys[i] = std::move(m_keys[column][m_order[i]]);
        }
        m_keys[column].swap(sortedKeys);
    }
}

std::ptrdiff_t TFileListContent::RowOf(const TFTPListItem* entry) const {
    const auto it = std::find(m_shown.begin(), m_shown.end(), entry);
    return it == m_shown.end() ? -1 : it - m_shown.begin();
}

std::string TFileListContent::CountText() const {
    return std::to_string(m_folders) + " Folders, " + std::to_string(m_files) + " Files, " +
           FormatFileSize(m_total);
}

} // namespace qx
