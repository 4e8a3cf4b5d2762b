// SPDX-License-Identifier: GPL-3.0-or-later
// mirror: a local folder made like a remote one, or the other way round.

#include "Handlers.h"

#include "CliOutput.h"
#include "QueueCommand.h"
#include "RemoteSession.h"
#include "VisibleText.h"
#include "session/RemoteNames.h"
#include "sync/SyncItems.h"
#include "sync/SyncListings.h"
#include "sync/SyncPlan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <set>

namespace fs = std::filesystem;

namespace qx::cli {

namespace {

std::string LocalJoin(const std::string& top, const std::string& relative) {
    return TSyncFolders{{}, top}.LocalPath(relative);
}

std::string RemoteJoin(const std::string& top, const std::string& relative) {
    return TSyncFolders{top, {}}.RemotePath(relative);
}

// Both sides' folders for the planner, relative paths under the two tops. A top that does
// not exist yet lists as empty (it is made before anything is carried).
class MirrorLister final : public TSyncLister {
public:
    MirrorLister(CliSession& session, std::string remoteTop, std::string localTop,
                 const std::atomic<bool>& interrupted)
        : m_session(session), m_remoteTop(std::move(remoteTop)), m_localTop(std::move(localTop)),
          m_interrupted(interrupted) {}

    bool RemoteTopMissing = false;
    bool LocalTopMissing = false;
    int TimeZoneOffset = 0; // minutes the server's LIST times run ahead of UTC

    std::optional<std::vector<TSyncEntry>> ListLocal(const std::string& folder) override {
        if (folder.empty() && LocalTopMissing) {
            return std::vector<TSyncEntry>();
        }
        auto entries = LocalSyncEntries(LocalJoin(m_localTop, folder));
        if (!entries) {
            std::cerr << "quorvin-ftp: [" << VisibleText(LocalJoin(m_localTop, folder))
                      << "] could not be listed: " << std::strerror(errno) << '\n';
        }
        return entries;
    }

    std::optional<std::vector<TSyncEntry>> ListRemote(const std::string& folder) override {
        if (folder.empty() && RemoteTopMissing) {
            return std::vector<TSyncEntry>();
        }
        TFTPListItems items;
        if (!m_session.List(RemoteJoin(m_remoteTop, folder), items)) {
            std::cerr << "quorvin-ftp: [" << VisibleText(RemoteJoin(m_remoteTop, folder))
                      << "] could not be listed: " << VisibleText(m_session.Failure()) << '\n';
            return std::nullopt;
        }
        return RemoteSyncEntries(items, TimeZoneOffset);
    }

    bool Stopped() override { return m_interrupted.load(); }

private:
    CliSession& m_session;
    std::string m_remoteTop;
    std::string m_localTop;
    const std::atomic<bool>& m_interrupted;
};

TSyncOptions MirrorOptions(const CliOptions& options) {
    TSyncOptions sync;
    sync.Direction = options.reverse ? TSyncDirection::Upload : TSyncDirection::Download;
    sync.Criteria = options.sizeOnly ? TSyncCriteria::Size : TSyncCriteria::TimeAndSize;
    sync.DeleteOrphans = options.deleteOrphans;
    sync.Include.SetMasks(options.include); // checked when the options were read
    sync.Exclude.SetMasks(options.exclude);
    return sync;
}

class MirrorRun {
public:
    MirrorRun(RemoteWork& work, const CommandCall& call, std::string localTop)
        : m_work(work), m_call(call), m_options(call.options),
          m_remoteTop(work.session.Absolute(work.paths[0])), m_localTop(std::move(localTop)),
          m_lister(work.session, m_remoteTop, m_localTop, call.interrupted) {
        m_lister.TimeZoneOffset = work.target.TimeZoneOffset;
    }

    bool Run() {
        FindTops();
        const TSyncPlan plan = PlanSynchronization(m_lister, MirrorOptions(m_options), nullptr);
        m_failures += plan.Unlisted.size(); // told by the lister
        for (const TSyncAction& action : plan.Actions) {
            if (m_options.dryRun || !action.Chosen) {
                std::cout << Lowered(SyncActionCaption(action.Kind)) << ' '
                          << VisibleText(action.Path) << "  (" << action.Reason << ")\n";
            }
        }
        if (!m_options.dryRun && !m_call.interrupted.load() && MakeTop(plan)) {
            MakeFolders(plan);
            Carry(plan);
            Delete(plan);
        }
        const TSyncSummary summary = plan.Summary();
        if (m_options.dryRun) {
            std::cout << "mirror (dry run): " << summary.Uploads + summary.Downloads
                      << " files to transfer, " << summary.Deletes << " to delete, "
                      << summary.Skipped + summary.Conflicts << " skipped, " << summary.Bytes
                      << " bytes";
        } else {
            std::cout << "mirror: " << m_transferred << " files transferred, " << m_deleted
                      << " deleted, " << summary.Skipped + summary.Conflicts << " skipped, "
                      << m_bytes << " bytes";
        }
        if (m_failures > 0) {
            std::cout << ", " << m_failures << " failed";
        }
        std::cout << '\n' << std::flush;
        return m_failures == 0 && !m_call.interrupted.load();
    }

private:
    static std::string Lowered(std::string text) {
        if (!text.empty()) {
            text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        }
        return text;
    }

    bool Uploads() const { return m_options.reverse; }

    void Problem(const std::string& text) {
        ++m_failures;
        std::cerr << "quorvin-ftp: " << VisibleText(text) << '\n';
    }

    // A target's top folder that is missing lists as empty; it is made before anything is
    // carried into it (a dry run leaves it missing).
    void FindTops() {
        std::error_code error;
        if (Uploads()) {
            m_lister.RemoteTopMissing = !m_work.session.IsFolder(m_remoteTop);
        } else {
            m_lister.LocalTopMissing = !fs::exists(m_localTop, error);
        }
    }

    bool MakeTop(const TSyncPlan& plan) {
        if (!plan.Unlisted.empty() && plan.Unlisted.front().empty()) {
            return false; // the source's top itself could not be listed
        }
        std::error_code error;
        if (m_lister.RemoteTopMissing && !m_work.session.MakeFolder(m_remoteTop)) {
            Problem("the folder [" + m_remoteTop +
                    "] could not be made: " + m_work.session.Failure());
            return false;
        }
        if (m_lister.LocalTopMissing && !fs::create_directories(m_localTop, error)) {
            Problem(m_localTop + " could not be made: " + error.message());
            return false;
        }
        return true;
    }

    void MakeFolders(const TSyncPlan& plan) {
        for (const TSyncAction& action : plan.Actions) {
            if (!action.Chosen || (action.Kind != TSyncActionKind::MakeRemoteFolder &&
                                   action.Kind != TSyncActionKind::MakeLocalFolder)) {
                continue;
            }
            bool made = false;
            if (action.Kind == TSyncActionKind::MakeRemoteFolder) {
                made = m_work.session.MakeFolder(RemoteJoin(m_remoteTop, action.Path));
            } else {
                made = ::mkdir(LocalJoin(m_localTop, action.Path).c_str(), 0777) == 0 ||
                       errno == EEXIST;
            }
            if (!made) {
                m_failedFolders.insert(action.Path);
                Problem("the folder [" + action.Path + "] could not be made" +
                        (action.Kind == TSyncActionKind::MakeRemoteFolder
                             ? ": " + m_work.session.Failure()
                             : ": " + std::string(std::strerror(errno))));
            }
        }
    }

    std::unique_ptr<TFTPCarryItem> Item(const TSyncAction& action) const {
        TSyncServer server;
        server.HostName = m_work.target.Host;
        server.Port = m_work.target.Port;
        server.UserName = CliSession::LoginName(m_work.target);
        server.Password = CliSession::LoginPassword(m_work.target);
        server.Encryption = m_work.target.Encryption;
        server.Protocol = m_work.target.Protocol;
        server.Ssh = m_work.target.Ssh;
        server.Proxy = m_work.target.Proxy;
        server.TimeZoneOffset = m_work.target.TimeZoneOffset;
        server.NameCharset = m_work.target.NameCharset;
        server.PassiveMode = m_options.passive.value_or(true);
        server.ResumeTransfer = m_options.resume;
        server.UploadToTemporaryName = !m_options.inplace;
        server.TransferType = m_options.type.value_or(TFTPTransferType::ftpTypeBinary);
        return MakeSyncItem(action, server, TSyncFolders{m_remoteTop, m_localTop});
    }

    void Carry(const TSyncPlan& plan) {
        std::vector<std::unique_ptr<TFTPCarryItem>> items;
        for (const TSyncAction& action : plan.Actions) {
            if (!IsSyncTransfer(action)) {
                continue;
            }
            if (m_failedFolders.contains(SyncParent(action.Path))) {
                Problem("[" + action.Path + "] was not carried: its folder could not be made");
                m_failedParents.insert(SyncParent(action.Path));
                continue;
            }
            items.push_back(Item(action));
        }
        if (items.empty()) {
            return;
        }
        QueueRunReport report;
        RunQueueItems(std::move(items), QueueOptionsOf(m_options, m_call.interrupted), std::cout,
                      std::cerr, false, &report);
        m_transferred = report.succeeded;
        const std::set<std::string> failed(report.failedSources.begin(),
                                           report.failedSources.end());
        m_failures += failed.size();
        for (const TSyncAction& action : plan.Actions) {
            if (!IsSyncTransfer(action)) {
                continue;
            }
            const std::string folder = SyncParent(action.Path);
            if (failed.contains(Item(action)->SrcPath + SyncName(action.Path))) {
                m_failedParents.insert(folder);
            } else if (!m_failedFolders.contains(folder)) {
                m_bytes += action.Bytes;
            }
        }
    }

    // Deletes run once the transfers into their folder succeeded; a folder goes only when it
    // is empty, so that nothing the mirror left alone (excluded names, links) goes with it.
    void Delete(const TSyncPlan& plan) {
        for (const TSyncAction& action : plan.Actions) {
            const bool remote = action.Kind == TSyncActionKind::DeleteRemote;
            if (!action.Chosen || (!remote && action.Kind != TSyncActionKind::DeleteLocal) ||
                m_call.interrupted.load()) {
                continue;
            }
            if (m_failedParents.contains(SyncParent(action.Path))) {
                Problem("[" + action.Path + "] was not deleted: a transfer into its folder failed");
                continue;
            }
            const bool deleted = remote ? DeleteRemote(action) : DeleteLocal(action);
            m_deleted += deleted ? 1 : 0;
        }
    }

    bool DeleteRemote(const TSyncAction& action) {
        const std::string path = RemoteJoin(m_remoteTop, action.Path);
        if (action.IsFolder) {
            TFTPListItems left;
            if (!m_work.session.List(path, left) || left.Count() > 0) {
                Problem("the folder [" + action.Path + "] was left: it is not empty");
                return false;
            }
        }
        if (!m_work.session.Remove({path}, action.IsFolder)) {
            Problem("[" + action.Path + "] could not be deleted: " + m_work.session.Failure());
            return false;
        }
        return true;
    }

    bool DeleteLocal(const TSyncAction& action) {
        const std::string path = LocalJoin(m_localTop, action.Path);
        if ((action.IsFolder ? ::rmdir(path.c_str()) : ::unlink(path.c_str())) != 0) {
            Problem("[" + path + "] could not be deleted: " + std::strerror(errno));
            return false;
        }
        return true;
    }

    RemoteWork& m_work;
    const CommandCall& m_call;
    const CliOptions& m_options;
    std::string m_remoteTop;
    std::string m_localTop;
    MirrorLister m_lister;
    std::set<std::string> m_failedFolders; // folders that could not be made
    std::set<std::string> m_failedParents; // folders a transfer into failed
    std::size_t m_transferred = 0;
    std::size_t m_deleted = 0;
    std::size_t m_failures = 0;
    std::int64_t m_bytes = 0;
};

} // namespace

int RunMirror(const CommandCall& call) {
    // The URL comes first for the session, whichever way the files go.
    std::vector<std::string> arguments = call.arguments;
    if (call.options.reverse) {
        std::swap(arguments[0], arguments[1]);
    }
    if (arguments[1].empty()) {
        return Usage("mirror needs a local folder, not an empty name", "mirror");
    }
    std::error_code error;
    const std::string localTop = fs::absolute(arguments[1], error).lexically_normal().string();
    // Local mistakes are told before anything connects.
    const bool exists = fs::exists(localTop, error);
    if (exists ? !fs::is_directory(localTop, error) : call.options.reverse) {
        return Fail(arguments[1] + (exists ? " is not a folder" : ": no such folder"));
    }
    const CommandCall remoteCall{call.command, arguments, call.options, call.interrupted};
    return RunOnSession(remoteCall, [&](RemoteWork& work) {
        work.failuresTold = true;
        MirrorRun run(work, call,
                      localTop.size() > 1 && localTop.back() == '/'
                          ? localTop.substr(0, localTop.size() - 1)
                          : localTop);
        return run.Run();
    });
}

} // namespace qx::cli
