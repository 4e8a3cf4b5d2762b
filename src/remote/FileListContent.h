// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Masks.h"
#include "base/Translatable.h"
#include "engine/FTPListItem.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class TLocaleTextCompare;

// The file list of a remote explorer without its widget: the entries of the shown folder that
// pass the filter, in the order of the sort column, with the counters of the status bar.
// Sorting 100,000 entries stays fast: texts are compared by sort keys made once per column.
class TFileListContent {
public:
    // Column numbers of the sort: 1 Name, 2 Size, 3 Type, 4 Date, 5 Permission; a negative
    // number sorts the other way round.
    static constexpr int kColumns = 5;

    explicit TFileListContent(const TLocaleTextCompare& compare);

    // Shows the entries of a listing (not owned; it must outlive the content or be replaced):
    // every folder, and the files the masks let through, of those keep lets through (none:
    // all); then sorts by the sort column.
    void Fill(const TFTPListItems* listing, const TMasks& masks,
              const std::function<bool(const TFTPListItem&)>& keep = {});
    void Clear();
    // Takes the entries out of the list (not out of the listing); returns how many went.
    std::size_t Remove(const std::vector<const TFTPListItem*>& entries);
    // Shows one more entry at the end, where a new folder appears until the next sort; returns
    // its row.
    std::size_t Append(TFTPListItem* entry);

    // Sets the sort column and sorts.
    void Sort(int sortColumn);
    // The sort column a click on a column (1 to 5) asks for: the same column flips the
    // direction, another one sorts ascending.
    static int NextSortColumn(int sortColumn, int column);
    int SortColumn() const { return m_sortColumn; }

    std::size_t Count() const { return m_shown.size(); }
    // The entries belong to the listing; the content only shows them.
    TFTPListItem& At(std::size_t row) const { return *m_shown[row]; }
    // The row of an entry, or -1.
    std::ptrdiff_t RowOf(const TFTPListItem* entry) const;

    int Folders() const { return m_folders; }
    int Files() const { return m_files; }
    std::int64_t TotalSize() const { return m_total; }
    // The first panel of the file status bar: the counts and the size in the format's %1, %2
    // and %3 (a window passes the format in the user's language, and its decimal point).
    static constexpr const char* kCountFormat =
        QX_TRANSLATE_NOOP("qx::Core", "%1 Folders, %2 Files, %3");
    std::string CountText(std::string_view format = kCountFormat,
                          std::string_view decimalPoint = ".") const;

    // The texts of a list cell: 0 Name, 1 Size (files of a known size only), 2 Type, 3 Date and
    // time, 4 Permission.
    static std::string CellText(const TFTPListItem& entry, int column,
                                std::string_view decimalPoint = ".");

private:
    void Count(const TFTPListItem& entry, int sign);

    const TLocaleTextCompare& m_compare;
    std::vector<TFTPListItem*> m_shown;
    // Sort keys of the sort column, by row.
    std::vector<std::string> m_keys[kColumns + 1];
    std::vector<std::size_t> m_order; // scratch: positions being sorted
    int m_sortColumn = 1;
    int m_folders = 0;
    int m_files = 0;
    std::int64_t m_total = 0;
};

} // namespace qx
