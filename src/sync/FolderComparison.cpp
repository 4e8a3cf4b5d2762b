// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/FolderComparison.h"

#include <algorithm>

namespace qx {

namespace {

std::vector<const TSyncEntry*> SortedByName(const std::vector<TSyncEntry>& entries) {
    std::vector<const TSyncEntry*> sorted;
    sorted.reserve(entries.size());
    for (const TSyncEntry& entry : entries) {
        sorted.push_back(&entry);
    }
    std::ranges::stable_sort(sorted, {}, &TSyncEntry::Name);
    // A listing that names an entry twice gets its first one: one name, one action.
    sorted.erase(
        std::unique(sorted.begin(), sorted.end(),
                    [](const TSyncEntry* a, const TSyncEntry* b) { return a->Name == b->Name; }),
        sorted.end());
    return sorted;
}

TComparePair OneSide(const TSyncEntry& entry, bool local) {
    TComparePair pair;
    pair.Name = entry.Name;
    (local ? pair.Local : pair.Remote) = entry;
    pair.Mark = local ? TCompareMark::OnlyLocal : TCompareMark::OnlyRemote;
    return pair;
}

TComparePair BothSides(const TSyncEntry& local, const TSyncEntry& remote) {
    if (local.IsFolder != remote.IsFolder) {
        TComparePair pair{local.Name, local, remote, TCompareMark::KindDiffers};
        return pair;
    }
    if (local.IsFolder) {
        return TComparePair{local.Name, local, remote, TCompareMark::Same};
    }
    return CompareFiles(local, remote);
}

} // namespace

TComparePair CompareFiles(const TSyncEntry& local, const TSyncEntry& remote) {
    TComparePair pair{local.Name, local, remote};
    pair.LocalAgainstRemote = CompareTimes(local, remote);
    const bool sameSize = local.Size == remote.Size;
    switch (pair.LocalAgainstRemote) {
    case TTimeOrder::Newer:
        pair.Mark = TCompareMark::NewerLocal;
        break;
    case TTimeOrder::Older:
        pair.Mark = TCompareMark::NewerRemote;
        break;
    case TTimeOrder::Equal:
        pair.Mark = sameSize ? TCompareMark::Same : TCompareMark::SizeDiffers;
        break;
    case TTimeOrder::EqualWithinPrecision:
    case TTimeOrder::Unknown:
        pair.Mark = sameSize ? TCompareMark::Same : TCompareMark::SizeDiffers;
        pair.Uncertain = true;
        break;
    }
    return pair;
}

std::vector<TComparePair> CompareFolders(const std::vector<TSyncEntry>& local,
                                         const std::vector<TSyncEntry>& remote) {
    const auto locals = SortedByName(local);
    const auto remotes = SortedByName(remote);
    std::vector<TComparePair> pairs;
    pairs.reserve(std::max(locals.size(), remotes.size()));
    std::size_t l = 0;
    std::size_t r = 0;
    while (l < locals.size() || r < remotes.size()) {
        if (r == remotes.size() || (l < locals.size() && locals[l]->Name < remotes[r]->Name)) {
            pairs.push_back(OneSide(*locals[l++], true));
        } else if (l == locals.size() || remotes[r]->Name < locals[l]->Name) {
            pairs.push_back(OneSide(*remotes[r++], false));
        } else {
            pairs.push_back(BothSides(*locals[l++], *remotes[r++]));
        }
    }
    return pairs;
}

} // namespace qx
