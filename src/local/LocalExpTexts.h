// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Translatable.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// The new sort column after ArrangeBy(column): the same column turns the direction round,
// another one sorts by it ascending. Columns: 1 Name, 2 Size, 3 Type, 4 Date; negative is
// descending.
int NextSortColumn(int sortColumn, int column);

// The selected folders and files of the list and the bytes of the selected files.
struct TSelectionCounters {
    int Folders = 0;
    int Files = 0;
    std::int64_t Bytes = 0;

    void Reset() { *this = {}; }
    // One item's selection changed; sizes below 1 count nothing.
    void Change(bool folder, std::int64_t size, bool selected);
};

// The counts and the size of a filled folder in the format's %1, %2 and %3 (a window passes the
// format in the user's language, and its decimal point).
inline constexpr const char* kFolderStatusFormat =
    QX_TRANSLATE_NOOP("qx::Core", "%1 Folders, %2 Files, %3");
std::string FolderStatusText(int folders, int files, std::int64_t bytes,
                             std::string_view format = kFolderStatusFormat,
                             std::string_view decimalPoint = ".");
// The same of the selection; empty when nothing is selected.
inline constexpr const char* kSelectionStatusFormat =
    QX_TRANSLATE_NOOP("qx::Core", "%1 Folders, %2 Files Selected, %3");
std::string SelectionStatusText(const TSelectionCounters& counters,
                                std::string_view format = kSelectionStatusFormat,
                                std::string_view decimalPoint = ".");
// "File List [%s][%s]" with the folder and the filter.
std::string FileListCaption(const std::string& folder, const std::string& filter);

// The name patterns of a file filter ("*.txt;*.htm"): empty when there is no filtering ("*",
// "*.*" or nothing at all among them).
std::vector<std::string> FilterPatterns(const std::string& filter);

} // namespace qx
