// SPDX-License-Identifier: GPL-3.0-or-later
#include "local/LocalExpTexts.h"

#include "base/Utilities.h"

#include <cstdlib>

namespace qx {

int NextSortColumn(int sortColumn, int column) {
    return std::abs(sortColumn) == column ? -sortColumn : column;
}

void TSelectionCounters::Change(bool folder, std::int64_t size, bool selected) {
    const int step = selected ? 1 : -1;
    if (folder) {
        Folders += step;
        return;
    }
    Files += step;
    if (size > 0) {
        Bytes += selected ? size : -size;
    }
}

std::string FolderStatusText(int folders, int files, std::int64_t bytes, std::string_view format,
                             std::string_view decimalPoint) {
    return FormatText(format, {std::to_string(folders), std::to_string(files),
                               FormatFileSize(bytes, decimalPoint)});
}

std::string SelectionStatusText(const TSelectionCounters& counters, std::string_view format,
                                std::string_view decimalPoint) {
    if (counters.Folders <= 0 && counters.Files <= 0) {
        return {};
    }
    return FormatText(format, {std::to_string(counters.Folders), std::to_string(counters.Files),
                               FormatFileSize(counters.Bytes, decimalPoint)});
}

std::string FileListCaption(const std::string& folder, const std::string& filter) {
    return "File List [" + folder + "][" + filter + "]";
}

std::vector<std::string> FilterPatterns(const std::string& filter) {
    std::vector<std::string> parts;
    SplitString(filter, ";", parts);
    std::vector<std::string> patterns;
    for (std::string& part : parts) {
        const auto first = part.find_first_not_of(' ');
        const auto last = part.find_last_not_of(' ');
        if (first == std::string::npos) {
            continue;
        }
        std::string pattern = part.substr(first, last - first + 1);
        if (pattern == "*" || pattern == "*.*") {
            return {};
        }
        patterns.push_back(std::move(pattern));
    }
    return patterns;
}

} // namespace qx
