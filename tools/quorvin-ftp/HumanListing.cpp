// SPDX-License-Identifier: GPL-3.0-or-later
#include "HumanListing.h"

#include "VisibleText.h"

#include <algorithm>
#include <array>
#include <charconv>
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

constexpr std::size_t kDateWidth = 12; // "Mar  5 14:07" or "Mar  5  2019"

bool HasDate(const TFTPListItem& item) {
    return item.Month >= 1 && item.Month <= 12 && item.Day >= 1 && item.Day <= 31;
}

void AppendDigits(std::string& out, int value, std::size_t width, char fill) {
    std::array<char, 16> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    const auto length = error == std::errc{} ? static_cast<std::size_t>(end - digits.data()) : 0;
    if (length < width) {
        out.append(width - length, fill);
    }
    out.append(digits.data(), length);
}

// "Mar  5 14:07" for an entry of the last half year, "Mar  5  2019" otherwise, "?" without a
// date.
void AppendDate(std::string& out, const TFTPListItem& item, const THumanListingStyle& style) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!HasDate(item)) {
        out += '?';
        return;
    }
    const int monthsAgo = (style.CurrentYear - item.Year) * 12 + (style.CurrentMonth - item.Month);
    const bool recent = monthsAgo >= 0 && monthsAgo < 6 && item.Hour >= 0 && item.Minute >= 0;
    out += kMonths[static_cast<std::size_t>(item.Month - 1)];
    out += ' ';
    AppendDigits(out, item.Day, 2, ' ');
    out += ' ';
    if (recent) {
        AppendDigits(out, item.Hour, 2, '0');
        out += ':';
        AppendDigits(out, item.Minute, 2, '0');
    } else {
        out += ' ';
        AppendDigits(out, item.Year, 4, ' ');
    }
}

std::size_t DecimalLength(std::int64_t value) {
    std::size_t length = 1;
    while (value >= 10) {
        value /= 10;
        ++length;
    }
    return length;
}

} // namespace

// Written straight into one buffer in two passes (widths, then lines): a listing of 100,000
// entries is printed without an allocation per entry.
void PrintHumanListing(const TFTPListItems& items, const THumanListingStyle& style,
                       std::ostream& out) {
    std::string scratch;
    const auto visible = [&scratch](const std::string& text) -> std::string_view {
        scratch.clear();
        AppendVisibleText(scratch, text);
        return scratch;
    };
    std::vector<std::string> readableSizes;
    if (style.ReadableSizes) {
        readableSizes.reserve(items.Count());
    }
    std::size_t permissionWidth = 0, sizeWidth = 0, dateWidth = 0, nameBytes = 0;
    for (const auto& item : items) {
        permissionWidth = std::max(permissionWidth, visible(item->Permission).size());
        std::size_t sizeLength = 1; // "-" of a folder
        if (style.ReadableSizes) {
            readableSizes.push_back(item->IsFile ? ReadableSize(item->Size) : std::string("-"));
            sizeLength = readableSizes.back().size();
        } else if (item->IsFile) {
            sizeLength = DecimalLength(std::max<std::int64_t>(item->Size, 0));
        }
        sizeWidth = std::max(sizeWidth, sizeLength);
        dateWidth = std::max(dateWidth, HasDate(*item) ? kDateWidth : 1);
        nameBytes += item->Name.size() + item->LinkTo.size();
    }
    std::string text;
    text.reserve(items.Count() * (permissionWidth + sizeWidth + dateWidth + 16) +
                 nameBytes * 5 / 4);
    std::size_t row = 0;
    for (const auto& item : items) {
        const std::size_t lineStart = text.size();
        AppendVisibleText(text, item->Permission);
        text.append(permissionWidth - (text.size() - lineStart) + 1, ' ');
        if (style.ReadableSizes) {
            const std::string& size = readableSizes[row];
            text.append(sizeWidth - size.size(), ' ');
            text += size;
        } else if (item->IsFile) {
            const std::int64_t size = std::max<std::int64_t>(item->Size, 0);
            text.append(sizeWidth - DecimalLength(size), ' ');
            std::array<char, 24> digits{};
            const auto [end, error] =
                std::to_chars(digits.data(), digits.data() + digits.size(), size);
            text.append(digits.data(), error == std::errc{} ? end : digits.data());
        } else {
            text.append(sizeWidth - 1, ' ');
            text += '-';
        }
        text += ' ';
        const std::size_t dateStart = text.size();
        AppendDate(text, *item, style);
        text.append(dateWidth - (text.size() - dateStart) + 1, ' ');
        // With "\" escaped too, a name that holds "\x00" is told from one that holds a NUL.
        AppendVisibleText(text, item->Name, true);
        if (item->IsLink && !item->LinkTo.empty()) {
            text += " -> ";
            AppendVisibleText(text, item->LinkTo, true);
        }
        text += '\n';
        ++row;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace qx::cli
