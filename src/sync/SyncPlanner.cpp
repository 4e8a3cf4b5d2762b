// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncPlanner.h"

#include "sync/SyncListings.h"

namespace qx {

TSyncPlanner::TSyncPlanner(TSyncSession& session, TSyncFolders folders, TSyncOptions options,
                           const TSyncState* last, int timeZoneOffset)
    : m_session(session), m_folders(std::move(folders)), m_timeZoneOffset(timeZoneOffset),
      m_walk(std::move(options), last) {}

TSyncPlanner::~TSyncPlanner() {
    Stop();
}

void TSyncPlanner::Start() {
    m_stopped = false;
    Step();
}

void TSyncPlanner::Stop() {
    if (!m_stopped) {
        m_stopped = true;
        m_session.Cancel();
    }
}

// Folders that exist only here are read one after another; a remote listing ends the step,
// and its end starts the next one.
void TSyncPlanner::Step() {
    while (!m_stopped) {
        const auto folder = m_walk.Next();
        if (!folder) {
            m_stopped = true;
            if (OnDone) {
                OnDone(m_walk.TakePlan());
            }
            return;
        }
        m_local = folder->OnLocal ? LocalSyncEntries(m_folders.LocalPath(folder->Path))
                                  : std::optional(std::vector<TSyncEntry>());
        if (!folder->OnRemote) {
            m_walk.Listed(m_local, std::vector<TSyncEntry>());
            continue;
        }
        const std::string remote = m_folders.RemotePath(folder->Path);
        if (OnListing) {
            OnListing(remote);
        }
        m_session.List(remote, [this](const TFTPListItems* items, const std::string& error) {
            if (items == nullptr) {
                m_failure = error;
            }
            m_walk.Listed(m_local, items != nullptr
                                       ? std::optional(RemoteSyncEntries(*items, m_timeZoneOffset))
                                       : std::nullopt);
            Step();
        });
        return;
    }
}

} // namespace qx
