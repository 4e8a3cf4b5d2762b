// SPDX-License-Identifier: GPL-3.0-or-later
#include "HumanListing.h"

#include "VisibleText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace qx::cli {

std::string ReadableSize(std::int64_t bytes) {
    if (bytes < 0) {
        return "-";
    }
    if (bytes < 1024) {
        return std::to_string(bytes);
    }
    static constexpr std::array<char, 6> kUnits = {'K', 'M', 'G', 'T', 'P', 'E'};
    double value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < kUnits.size()) {
        value /= 1024;
        ++unit;
    }
    // Rounded up, as ls does, so that a size never reads smaller than it is.
    std::array<char, 32> text{};
    const double tenths = std::ceil(value * 10);
    if (tenths < 100) {
        std::snprintf(text.data(), text.size(), "%.1f%c", tenths / 10, kUnits[unit]);
        return text.data();
    }
    const double whole = std::ceil(value);
    if (whole >= 1024 && unit + 1 < kUnits.size()) {
        std::snprintf(text.data(), text.size(), "1.0%c", kUnits[unit + 1]);
    } else {
        std::snprintf(text.data(), text.size(), "%.0f%c", whole, kUnits[unit]);
    }
    return text.data();
}

namespace {

std::string DateColumn(const TFTPListItem& item, const THumanListingStyle& style) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (item.Month < 1 || item.Month > 12 || item.Day < 1 || item.Day > 31) {
        return "?";
    }
    const int monthsAgo = (style.CurrentYear - item.Year) * 12 + (style.CurrentMonth - item.Month);
    const bool recent = monthsAgo >= 0 && monthsAgo < 6 && item.Hour >= 0 && item.Minute >= 0;
    std::array<char, 32> text{};
    if (recent) {
        std::snprintf(text.data(), text.size(), "%s %2d %02d:%02d",
                      kMonths[static_cast<std::size_t>(item.Month - 1)], item.Day, item.Hour,
                      item.Minute);
    } else {
        std::snprintf(text.data(), text.size(), "%s %2d  %4d",
                      kMonths[static_cast<std::size_t>(item.Month - 1)], item.Day, item.Year);
    }
    return text.data();
}

} // namespace

void PrintHumanListing(const TFTPListItems& items, const THumanListingStyle& style,
                       std::ostream& out) {
    struct Row {
        std::string Permission, Size, Date;
        const TFTPListItem* Item;
    };
    std::vector<Row> rows;
    rows.reserve(items.Count());
    std::size_t permissionWidth = 0, sizeWidth = 0, dateWidth = 0;
    for (const auto& item : items) {
        Row row{VisibleText(item->Permission),
                item->IsFile
                    ? (style.ReadableSizes ? ReadableSize(item->Size)
                                           : std::to_string(std::max<std::int64_t>(item->Size, 0)))
                    : std::string("-"),
                DateColumn(*item, style), item.get()};
        permissionWidth = std::max(permissionWidth, row.Permission.size());
        sizeWidth = std::max(sizeWidth, row.Size.size());
        dateWidth = std::max(dateWidth, row.Date.size());
        rows.push_back(std::move(row));
    }
    std::string text;
    text.reserve(rows.size() * (permissionWidth + sizeWidth + dateWidth + 32));
    for (const Row& row : rows) {
        text += row.Permission;
        text.append(permissionWidth - row.Permission.size() + 1, ' ');
        text.append(sizeWidth - row.Size.size(), ' ');
        text += row.Size;
        text += ' ';
        text += row.Date;
        text.append(dateWidth - row.Date.size() + 1, ' ');
        // With "\" escaped too, a name that holds "\x00" is told from one that holds a NUL.
        AppendVisibleText(text, row.Item->Name, true);
        if (row.Item->IsLink && !row.Item->LinkTo.empty()) {
            text += " -> ";
            AppendVisibleText(text, row.Item->LinkTo, true);
        }
        text += '\n';
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace qx::cli
