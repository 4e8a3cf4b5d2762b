// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/SyncItems.h"
#include "sync/SyncPlan.h"
#include "sync/SyncSession.h"

#include <functional>
#include <optional>
#include <string>

namespace qx {

// Plans a synchronization without waiting on anything: folder by folder, the remote side listed
// through the synchronization's session, the local side read in between.
class TSyncPlanner {
public:
    // The session and the state are referenced, not owned; they outlive the planner.
    TSyncPlanner(TSyncSession& session, TSyncFolders folders, TSyncOptions options,
                 const TSyncState* last, int timeZoneOffset);
    ~TSyncPlanner();
    TSyncPlanner(const TSyncPlanner&) = delete;
    TSyncPlanner& operator=(const TSyncPlanner&) = delete;

    // Told of each remote folder as its listing starts.
    std::function<void(const std::string& remoteFolder)> OnListing;
    // The plan, once every folder is planned (those that could not be listed are in Unlisted).
    std::function<void(TSyncPlan plan)> OnDone;

    void Start();
    // Nothing more is listed and OnDone is not called.
    void Stop();
    // Why the last remote folder that could not be listed was not.
    const std::string& Failure() const { return m_failure; }

private:
    void Step();

    TSyncSession& m_session;
    TSyncFolders m_folders;
    int m_timeZoneOffset;
    TSyncWalk m_walk;
    std::optional<std::vector<TSyncEntry>> m_local; // of the folder being listed
    bool m_stopped = false;
    std::string m_failure;
};

} // namespace qx
