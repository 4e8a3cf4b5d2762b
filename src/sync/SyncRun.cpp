// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncRun.h"

#include "base/Translatable.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

namespace {

bool IsDelete(const TSyncAction& action) {
    return action.Chosen && (action.Kind == TSyncActionKind::DeleteRemote ||
                             action.Kind == TSyncActionKind::DeleteLocal);
}

bool IsMakeFolder(const TSyncAction& action) {
    return action.Chosen && (action.Kind == TSyncActionKind::MakeRemoteFolder ||
                             action.Kind == TSyncActionKind::MakeLocalFolder);
}

} // namespace

TSyncRun::TSyncRun(TSyncSession& session, TCarrierQueue& queue, QueueItems queueItems,
                   TSyncServer server, TSyncFolders folders, TSyncPlan plan)
    : m_session(session), m_queue(queue), m_queueItems(std::move(queueItems)),
      m_server(std::move(server)), m_folders(std::move(folders)), m_plan(std::move(plan)) {}

TSyncRun::~TSyncRun() {
    if (m_listener != 0) {
        m_queue.RemoveItemEndListener(m_listener);
    }
    m_session.Cancel();
}

void TSyncRun::Start() {
    Stage("Making folders...");
    MakeFolders(0);
}

void TSyncRun::Problem(const char* format, std::vector<std::string> args) {
    m_problems.push_back({format, std::move(args)});
}

std::vector<std::string> TSyncRun::Problems() const {
    std::vector<std::string> lines;
    for (const TProblem& problem : m_problems) {
        lines.push_back(FormatText(problem.Format, problem.Args));
    }
    return lines;
}

void TSyncRun::Stage(const std::string& text) {
    if (OnStage) {
        OnStage(text);
    }
}

bool TSyncRun::UnderFailedFolder(const std::string& path) const {
    for (std::string folder = SyncParent(path);; folder = SyncParent(folder)) {
        if (m_failedFolders.contains(folder)) {
            return true;
        }
        if (folder.empty()) {
            return false;
        }
    }
}

// Local folders are made at once; a remote one ends the step and its end goes on.
void TSyncRun::MakeFolders(std::size_t from) {
    for (std::size_t index = from; index < m_plan.Actions.size(); ++index) {
        const TSyncAction& action = m_plan.Actions[index];
        if (!IsMakeFolder(action)) {
            continue;
        }
        if (UnderFailedFolder(action.Path)) {
            m_failedFolders.insert(action.Path);
            continue;
        }
        if (action.Kind == TSyncActionKind::MakeLocalFolder) {
            const std::string path = m_folders.LocalPath(action.Path);
            if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
                m_failedFolders.insert(action.Path);
                Problem(QX_TRANSLATE_NOOP("qx::Core", "The folder [%1] could not be made: %2"),
                        {path, std::strerror(errno)});
            }
            continue;
        }
        m_session.MakeFolder(
            m_folders.RemotePath(action.Path), [this, index](bool made, const std::string& error) {
                const std::string& path = m_plan.Actions[index].Path;
                if (!made) {
                    m_failedFolders.insert(path);
                    Problem(QX_TRANSLATE_NOOP("qx::Core", "The folder [%1] could not be made: %2"),
                            {m_folders.RemotePath(path), error});
                }
                MakeFolders(index + 1);
            });
        return;
    }
    QueueTransfers();
}

void TSyncRun::QueueTransfers() {
    std::vector<std::unique_ptr<TFTPCarryItem>> items;
    for (const TSyncAction& action : m_plan.Actions) {
        if (!IsSyncTransfer(action)) {
            continue;
        }
        if (UnderFailedFolder(action.Path)) {
            m_failedParents.insert(SyncParent(action.Path));
            Problem(QX_TRANSLATE_NOOP("qx::Core",
                                      "[%1] was not transferred: its folder could not be made"),
                    {action.Path});
            continue;
        }
        items.push_back(MakeSyncItem(action, m_server, m_folders));
        m_waiting.emplace(items.back().get(), action.Path);
    }
    if (items.empty()) {
        Delete(0);
        return;
    }
    m_transfers = items.size();
    Stage("Waiting for " + std::to_string(items.size()) + " transfers in the queue...");
    m_listener = m_queue.AddItemEndListener(
        [this](const TFTPCarryItem& item, TCarryEnd end) { ItemEnded(item, end); });
    m_queueItems(std::move(items));
}

void TSyncRun::ItemEnded(const TFTPCarryItem& item, TCarryEnd end) {
    const auto found = m_waiting.find(&item);
    if (found == m_waiting.end()) {
        return;
    }
    const std::string path = found->second;
    m_waiting.erase(found);
    if (end == TCarryEnd::Done) {
        m_carried.insert(path);
    } else {
        m_failedParents.insert(SyncParent(path));
        Problem(end == TCarryEnd::Failed
                    ? QX_TRANSLATE_NOOP("qx::Core",
                                        "[%1] was not transferred: see the queue's fail list")
                    : QX_TRANSLATE_NOOP("qx::Core",
                                        "[%1] was not transferred: it was deleted from the queue"),
                {path});
    }
    if (m_waiting.empty()) {
        m_queue.RemoveItemEndListener(m_listener);
        m_listener = 0;
        Delete(0);
    } else {
        Stage("Waiting for " + std::to_string(m_waiting.size()) + " transfers in the queue...");
    }
}

// Local deletes happen at once; a remote one ends the step and its end goes on.
void TSyncRun::Delete(std::size_t from) {
    if (from == 0) {
        Stage("Deleting...");
    }
    for (std::size_t index = from; index < m_plan.Actions.size(); ++index) {
        const TSyncAction& action = m_plan.Actions[index];
        if (!IsDelete(action)) {
            continue;
        }
        if (m_failedParents.contains(SyncParent(action.Path))) {
            Problem(QX_TRANSLATE_NOOP("qx::Core",
                                      "[%1] was not deleted: a transfer into its folder failed"),
                    {action.Path});
            continue;
        }
        if (action.Kind == TSyncActionKind::DeleteRemote) {
            DeleteRemote(index);
            return;
        }
        if (DeleteLocal(action)) {
            m_deleted.insert(action.Path);
        }
    }
    Finish();
}

void TSyncRun::DeleteRemote(std::size_t index) {
    const TSyncAction& action = m_plan.Actions[index];
    const std::string parent = m_folders.RemotePath(SyncParent(action.Path));
    const std::string name = SyncName(action.Path);
    const auto removed = [this, index](bool ok, const std::string& error) {
        const std::string& path = m_plan.Actions[index].Path;
        if (ok) {
            m_deleted.insert(path);
        } else {
            Problem(QX_TRANSLATE_NOOP("qx::Core", "[%1] could not be deleted: %2"),
                    {m_folders.RemotePath(path), error});
        }
        Delete(index + 1);
    };
    if (!action.IsFolder) {
        m_session.Remove(parent, name, false, removed);
        return;
    }
    // A folder goes only when nothing is left in it.
    m_session.List(m_folders.RemotePath(action.Path), [this, index, parent, name,
                                                       removed](const TFTPListItems* items,
                                                                const std::string& error) {
        const std::string& path = m_plan.Actions[index].Path;
        if (items == nullptr || items->Count() > 0) {
            if (items == nullptr) {
                Problem(QX_TRANSLATE_NOOP("qx::Core", "The folder [%1] was left: %2"),
                        {m_folders.RemotePath(path), error});
            } else {
                Problem(QX_TRANSLATE_NOOP("qx::Core", "The folder [%1] was left: it is not empty"),
                        {m_folders.RemotePath(path)});
            }
            Delete(index + 1);
            return;
        }
        m_session.Remove(parent, name, true, removed);
    });
}

bool TSyncRun::DeleteLocal(const TSyncAction& action) {
    const std::string path = m_folders.LocalPath(action.Path);
    // Neither call follows a link at the end of the path; rmdir takes only an empty folder.
    if ((action.IsFolder ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) != 0) {
        Problem(QX_TRANSLATE_NOOP("qx::Core", "[%1] could not be deleted: %2"),
                {path, std::strerror(errno)});
        return false;
    }
    return true;
}

void TSyncRun::Finish() {
    if (!m_finished) {
        m_finished = true;
        if (OnFinished) {
            OnFinished();
        }
    }
}

TSyncState StateAfterRun(TSyncState last, const TSyncPlan& relisted,
                         const std::set<std::string>& carried,
                         const std::set<std::string>& deleted) {
    for (const std::string& path : deleted) {
        last.Forget(path);
    }
    const auto record = [&last](const TSyncAction& action) {
        if (action.Local && action.Remote && !action.IsFolder) {
            last.Record(action.Path, *action.Local, *action.Remote);
        }
    };
    std::ranges::for_each(relisted.InSync, record);
    for (const TSyncAction& action : relisted.Actions) {
        if (carried.contains(action.Path)) {
            record(action);
        }
    }
    return last;
}

} // namespace qx
