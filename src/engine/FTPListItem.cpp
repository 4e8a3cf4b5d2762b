// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FTPListItem.h"

#include "base/ShellIcons.h"

#include <algorithm>
#include <ctime>

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

std::optional<std::int64_t> EntryUtcTime(const TFTPListItem& item, int offsetMinutes) {
    if (item.TimePrecision == TTimePrecision::Unknown || item.Year <= 0 || item.Month < 1 ||
        item.Month > 12 || item.Day < 1 || item.Day > 31) {
        return std::nullopt;
    }
    std::tm fields{};
    fields.tm_year = item.Year - 1900;
    fields.tm_mon = item.Month - 1;
    fields.tm_mday = item.Day;
    if (item.TimePrecision != TTimePrecision::Day) {
        fields.tm_hour = item.Hour;
        fields.tm_min = item.Minute;
        fields.tm_sec = item.TimePrecision == TTimePrecision::Second ? item.Second : 0;
    }
    if (item.TimePrecision == TTimePrecision::Second) {
        fields.tm_isdst = -1;
        const std::time_t local = std::mktime(&fields);
        return local == static_cast<std::time_t>(-1) ? std::nullopt
                                                     : std::optional<std::int64_t>(local);
    }
    return static_cast<std::int64_t>(::timegm(&fields)) - std::int64_t{offsetMinutes} * 60;
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
