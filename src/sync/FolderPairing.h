// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/FolderComparison.h"
#include "sync/SyncEntry.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// A comparison of the folder a remote explorer shows with the folder the local explorer shows,
// kept while both explorers move. Opening a subfolder or going up on one side moves the other
// side to the same-named folder when it has one; otherwise the other side stays, and the two
// folders no longer correspond: every entry of each side is then only on that side until they
// correspond again. Both sides tell it what they show; it tells them when to move and when
// their marks changed. Folders are paths with "/" between names, the bytes of the names kept.
class TFolderPairing {
public:
    enum class TSideId : std::uint8_t { Local, Remote };

    // What the pairing asks of one explorer.
    struct TSide {
        // Show this folder; the side tells what it shows through Shown once it does.
        std::function<void(const std::string& folder)> Open;
        // The marks changed, or the comparison started or stopped.
        std::function<void()> Changed;
    };

    // The local explorer, for every comparison to come.
    void SetLocalSide(TSide side) { m_local.Side = std::move(side); }

    // Starts comparing the folders the two sides show now, for the remote explorer owner (a
    // comparison of another owner ends first).
    void Start(const void* remoteOwner, TSide remote, std::string remoteFolder,
               std::vector<TSyncEntry> remoteEntries, std::string localFolder,
               std::vector<TSyncEntry> localEntries);
    // Ends the comparison; both sides hear of it.
    void Stop();
    // The remote explorer owner goes: a comparison of its ends without asking it anything.
    void Leave(const void* remoteOwner);
    // Asks a side to show a folder.
    void Open(TSideId side, const std::string& folder) const;
    bool Active() const { return m_owner != nullptr; }
    bool ActiveFor(const void* remoteOwner) const { return Active() && m_owner == remoteOwner; }

    // A side shows a folder: another one (the other side may follow), or the same one listed
    // anew. Marks are made again only when the folder or an entry changed.
    void Shown(TSideId side, const std::string& folder, std::vector<TSyncEntry> entries);

    // Whether the two folders shown correspond.
    bool Corresponding() const;
    // The pairs of both folders; when they do not correspond, each entry is only on its side.
    const std::vector<TComparePair>& Pairs() const { return m_pairs; }
    const std::string& Folder(TSideId side) const { return Of(side).Folder; }

    // Whether the lists show only the names that differ; both sides hear of a change.
    bool OnlyDifferences() const { return m_onlyDifferences; }
    void SetOnlyDifferences(bool only);

private:
    struct TState {
        TSide Side;
        std::string Folder;
        std::vector<TSyncEntry> Entries;
        std::string Anchor; // the folder of this side in the last pair known to correspond
    };
    TState& Of(TSideId side) { return side == TSideId::Local ? m_local : m_remote; }
    const TState& Of(TSideId side) const { return side == TSideId::Local ? m_local : m_remote; }
    std::optional<std::string> FollowTarget(const std::string& from, const std::string& to,
                                            const TState& other) const;
    void Recompute();
    void Notify() const;

    const void* m_owner = nullptr;
    TState m_local;
    TState m_remote;
    std::vector<TComparePair> m_pairs;
    bool m_onlyDifferences = false;
};

// The part of folder below base ("" for base itself); nothing when folder is not inside base.
std::optional<std::string> PathBelow(const std::string& folder, const std::string& base);

} // namespace qx
