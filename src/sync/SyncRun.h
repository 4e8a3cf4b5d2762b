// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "queue/CarrierQueue.h"
#include "sync/SyncItems.h"
#include "sync/SyncPlan.h"
#include "sync/SyncSession.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace qx {

// Runs the chosen actions of a plan: the folders to make first (remote ones through the
// synchronization's session), then the transfers as items of the transfer queue, then, once
// the transfers into their folder got through, the deletes. A folder is deleted only when it
// is empty by then, so that what the plan left alone (excluded names, links) stays; nothing
// follows a link.
class TSyncRun {
public:
    using QueueItems = std::function<void(std::vector<std::unique_ptr<TFTPCarryItem>> items)>;

    // The session and the queue are referenced; they outlive the run.
    TSyncRun(TSyncSession& session, TCarrierQueue& queue, QueueItems queueItems, TSyncServer server,
             TSyncFolders folders, TSyncPlan plan);
    ~TSyncRun();
    TSyncRun(const TSyncRun&) = delete;
    TSyncRun& operator=(const TSyncRun&) = delete;

    // Told what the run does now ("Making folders...", "Waiting for 3 transfers...").
    std::function<void(const std::string& stage)> OnStage;
    // Everything is done; the callback may not free the run.
    std::function<void()> OnFinished;

    void Start();

    // Relative paths of the files carried and of what was deleted.
    const std::set<std::string>& Carried() const { return m_carried; }
    const std::set<std::string>& Deleted() const { return m_deleted; }
    std::size_t Transfers() const { return m_transfers; }
    // What did not happen and why: a marked format and what fills it, one each.
    struct TProblem {
        const char* Format;
        std::vector<std::string> Args;
    };
    const std::vector<TProblem>& ProblemList() const { return m_problems; }
    // The same, one English line each.
    std::vector<std::string> Problems() const;

private:
    void MakeFolders(std::size_t from);
    void QueueTransfers();
    void ItemEnded(const TFTPCarryItem& item, TCarryEnd end);
    void Delete(std::size_t from);
    void DeleteRemote(std::size_t index);
    bool DeleteLocal(const TSyncAction& action);
    void Finish();
    void Problem(const char* format, std::vector<std::string> args);
    void Stage(const std::string& text);
    bool UnderFailedFolder(const std::string& path) const;

    TSyncSession& m_session;
    TCarrierQueue& m_queue;
    QueueItems m_queueItems;
    TSyncServer m_server;
    TSyncFolders m_folders;
    TSyncPlan m_plan;
    std::size_t m_listener = 0;
    std::map<const TFTPCarryItem*, std::string> m_waiting; // queued items, by their paths
    std::set<std::string> m_failedFolders;                 // folders that could not be made
    std::set<std::string> m_failedParents;                 // folders a transfer into failed
    std::set<std::string> m_carried;
    std::set<std::string> m_deleted;
    std::size_t m_transfers = 0;
    std::vector<TProblem> m_problems;
    bool m_finished = false;
};

// The record a two-way synchronization leaves, from the plan of the listings made after its
// run: the files found alike and the files carried are recorded as they are now, what was
// deleted is forgotten, and the rest keep what the last record held.
TSyncState StateAfterRun(TSyncState last, const TSyncPlan& relisted,
                         const std::set<std::string>& carried,
                         const std::set<std::string>& deleted);

} // namespace qx
