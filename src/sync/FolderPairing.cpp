// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/FolderPairing.h"

#include <algorithm>
#include <ranges>
#include <utility>

namespace qx {

namespace {

std::string Trimmed(std::string folder) {
    while (folder.size() > 1 && folder.ends_with('/')) {
        folder.pop_back();
    }
    return folder;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

// The folder levels up from folder; nothing past the root (or the start of a relative path).
std::optional<std::string> Up(std::string folder, std::size_t levels) {
    for (; levels > 0; --levels) {
        const auto slash = folder.rfind('/');
        if (slash == std::string::npos || folder == "/") {
            return std::nullopt;
        }
        folder.erase(slash == 0 ? 1 : slash);
    }
    return folder;
}

bool SameEntries(const std::vector<TSyncEntry>& a, const std::vector<TSyncEntry>& b) {
    return std::ranges::equal(a, b, [](const TSyncEntry& x, const TSyncEntry& y) {
        return x.Name == y.Name && x.IsFolder == y.IsFolder && x.Size == y.Size &&
               x.Time == y.Time && x.Precision == y.Precision;
    });
}

} // namespace

std::optional<std::string> PathBelow(const std::string& folder, const std::string& base) {
    if (folder == base) {
        return std::string();
    }
    const std::string prefix = base.ends_with('/') ? base : base + '/';
    if (!folder.starts_with(prefix)) {
        return std::nullopt;
    }
    return folder.substr(prefix.size());
}

void TFolderPairing::Start(const void* remoteOwner, TSide remote, std::string remoteFolder,
                           std::vector<TSyncEntry> remoteEntries, std::string localFolder,
                           std::vector<TSyncEntry> localEntries) {
    if (Active() && m_owner != remoteOwner) {
        Stop();
    }
    m_owner = remoteOwner;
    m_remote.Side = std::move(remote);
    m_remote.Folder = m_remote.Anchor = Trimmed(std::move(remoteFolder));
    m_remote.Entries = std::move(remoteEntries);
    m_local.Folder = m_local.Anchor = Trimmed(std::move(localFolder));
    m_local.Entries = std::move(localEntries);
    Recompute();
    Notify();
}

void TFolderPairing::Stop() {
    if (!Active()) {
        return;
    }
    m_owner = nullptr;
    m_pairs.clear();
    m_onlyDifferences = false;
    m_local.Entries.clear();
    m_remote.Entries.clear();
    Notify();
    m_remote.Side = {};
}

void TFolderPairing::Leave(const void* remoteOwner) {
    if (ActiveFor(remoteOwner)) {
        m_remote.Side = {};
        Stop();
    }
}

void TFolderPairing::Open(TSideId side, const std::string& folder) const {
    if (const TSide& target = Of(side).Side; target.Open) {
        target.Open(folder);
    }
}

bool TFolderPairing::Corresponding() const {
    const auto local = PathBelow(m_local.Folder, m_local.Anchor);
    return local.has_value() && local == PathBelow(m_remote.Folder, m_remote.Anchor);
}

std::optional<std::string> TFolderPairing::FollowTarget(const std::string& from,
                                                        const std::string& to,
                                                        const TState& other) const {
    if (const auto below = PathBelow(to, from); below && !below->empty()) {
        // One folder down: the other side opens the folder of that name if it has one.
        if (below->find('/') != std::string::npos) {
            return std::nullopt;
        }
        const bool there = std::ranges::any_of(other.Entries, [&](const TSyncEntry& entry) {
            return entry.IsFolder && entry.Name == *below;
        });
        return there ? std::optional(Joined(other.Folder, *below)) : std::nullopt;
    }
    if (const auto above = PathBelow(from, to); above && !above->empty()) {
        // Up some levels: the other side goes up as many.
        const auto levels = static_cast<std::size_t>(std::ranges::count(*above, '/')) + 1;
        return Up(other.Folder, levels);
    }
    return std::nullopt;
}

void TFolderPairing::Shown(TSideId side, const std::string& folder,
                           std::vector<TSyncEntry> entries) {
    if (!Active()) {
        return;
    }
    TState& moved = Of(side);
    TState& other = Of(side == TSideId::Local ? TSideId::Remote : TSideId::Local);
    const std::string to = Trimmed(folder);
    const std::string from = std::exchange(moved.Folder, to);
    if (from == to && SameEntries(moved.Entries, entries)) {
        return;
    }
    std::optional<std::string> follow;
    if (from != to) {
        // Whether the folder left corresponded with the other side's decides the following.
        const auto movedBelow = PathBelow(from, moved.Anchor);
        if (movedBelow.has_value() && movedBelow == PathBelow(other.Folder, other.Anchor)) {
            follow = FollowTarget(from, to, other);
        }
        if (follow && *follow != other.Folder) {
            moved.Anchor = to;
            other.Anchor = *follow;
        } else {
            follow.reset();
        }
    }
    moved.Entries = std::move(entries);
    Recompute();
    Notify();
    if (follow) {
        if (other.Side.Open) {
            other.Side.Open(*follow);
        }
    }
}

void TFolderPairing::SetOnlyDifferences(bool only) {
    if (only != m_onlyDifferences && Active()) {
        m_onlyDifferences = only;
        Notify();
    }
}

void TFolderPairing::Recompute() {
    if (Corresponding()) {
        m_pairs = CompareFolders(m_local.Entries, m_remote.Entries);
        return;
    }
    m_pairs = CompareFolders(m_local.Entries, {});
    std::ranges::move(CompareFolders({}, m_remote.Entries), std::back_inserter(m_pairs));
}

void TFolderPairing::Notify() const {
    // Copies: a side's answer may start or stop a comparison.
    const TSide local = m_local.Side;
    const TSide remote = m_remote.Side;
    for (const TSide* side : {&local, &remote}) {
        if (side->Changed) {
            side->Changed();
        }
    }
}

} // namespace qx
