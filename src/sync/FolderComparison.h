// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncEntry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// How one name of a local folder stands against the same name of a remote folder.
enum class TCompareMark : std::uint8_t {
    Same,
    OnlyLocal,
    OnlyRemote,
    NewerLocal,
    NewerRemote,
    SizeDiffers, // the times do not tell which is newer, the sizes differ
    KindDiffers, // a file on one side, a folder on the other
};

struct TComparePair {
    std::string Name;
    std::optional<TSyncEntry> Local;
    std::optional<TSyncEntry> Remote;
    TCompareMark Mark = TCompareMark::Same;
    TTimeOrder LocalAgainstRemote = TTimeOrder::Unknown; // of two files
    // True when the mark rests on less than both times to the second: the times agree only
    // within a listing's precision, or a side has no time.
    bool Uncertain = false;
};

// Pairs the entries of two folders by exact name (names are bytes; both sides tell case
// apart) and marks each pair. Folders present on both sides are Same: only files compare
// by time and size. The pairs come in the order of their names' bytes.
std::vector<TComparePair> CompareFolders(const std::vector<TSyncEntry>& local,
                                         const std::vector<TSyncEntry>& remote);

// The mark of two files of one name.
TComparePair CompareFiles(const TSyncEntry& local, const TSyncEntry& remote);

} // namespace qx
