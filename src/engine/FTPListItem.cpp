// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FTPListItem.h"

#include "base/ShellIcons.h"

#include <algorithm>

namespace qx {

void SetEntryKind(TFTPListItem& item, bool isFile, const TShellIcons& icons) {
    item.IsFile = isFile;
    if (isFile) {
        item.ImageIndex = icons.GetIconIndex(item.Name);
        item.TypeName = icons.GetTypeName(item.Name);
    } else {
        item.Size = -1;
        item.ImageIndex = icons.FolderIconIndex;
        item.TypeName = icons.FolderTypeName;
    }
}

void TFTPListItems::Add(std::unique_ptr<TFTPListItem> item) {
    m_items.push_back(std::move(item));
}

void TFTPListItems::Append(TFTPListItems&& other) {
    m_items.reserve(m_items.size() + other.m_items.size());
    for (auto& item : other.m_items) {
        m_items.push_back(std::move(item));
    }
    other.m_items.clear();
    HasLinks = HasLinks || other.HasLinks;
}

std::ptrdiff_t TFTPListItems::IndexOf(const TFTPListItem* item) const {
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [item](const auto& entry) { return entry.get() == item; });
    return found == m_items.end() ? -1 : found - m_items.begin();
}

std::unique_ptr<TFTPListItem> TFTPListItems::Delete(std::size_t i) {
    auto item = std::move(m_items.at(i));
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(i));
    return item;
}

void TFTPListItems::Clear() {
    m_items.clear();
}

} // namespace qx
