// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace qx {

// One entry of a local folder as the file list shows it. Links are followed for the kind, the
// size and the date (a link to a folder is a folder); a dangling link is a file of size 0.
struct TLocalFileEntry {
    std::string Name;
    bool IsFolder = false;
    bool IsLink = false;
    std::int64_t Size = 0;         // -1 for folders
    std::int64_t ModifiedTime = 0; // seconds since the epoch
};

// Reads the entries of a folder ("." and ".." left out), handing them over in batches of at
// most batchSize; stops early when asked. False with the reason when the folder cannot be read.
bool ReadLocalFolder(const std::string& folder, std::size_t batchSize,
                     const std::function<void(std::vector<TLocalFileEntry>&&)>& batch,
                     const std::stop_token& stop, std::string& error);

// Reads the entries again, by name, from the folder: those whose kind, size or date changed,
// with their positions in entries. Entries gone from the folder are left to a reading of it.
std::vector<std::pair<std::size_t, TLocalFileEntry>>
ReadChangedEntries(const std::string& folder, const std::vector<TLocalFileEntry>& entries,
                   const std::stop_token& stop);

// True when the name passes the file filter: folders always do; an empty pattern list passes
// everything; otherwise a pattern must match the whole name (shell wildcards, case sensitive).
bool PassesFilter(const TLocalFileEntry& entry, const std::vector<std::string>& patterns);

// Compares two names as the list orders them: ASCII letters without case, then by bytes.
int CompareLocalNames(const std::string& a, const std::string& b);

// Sorts entries by the sort column (1 name, 2 size, 3 type, 4 date; negative descending) with
// folders before files; ties are broken by name. Dates run the other way round: ascending
// puts the newest first. The type of an entry comes from typeOf.
void SortLocalEntries(std::vector<TLocalFileEntry>& entries, int sortColumn,
                      const std::function<std::string(const TLocalFileEntry&)>& typeOf);
// The same order as row numbers: the entry at position i of the sorted list is
// entries[order[i]]. typeOf is asked once per entry, and only for the type column.
std::vector<std::size_t>
LocalSortOrder(const std::vector<TLocalFileEntry>& entries, int sortColumn,
               const std::function<std::string(const TLocalFileEntry&)>& typeOf);

} // namespace qx
