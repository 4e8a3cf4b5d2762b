// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Masks.h"
#include "sync/FolderComparison.h"
#include "sync/SyncState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qx {

enum class TSyncDirection : std::uint8_t { Upload, Download, Both };

// What makes two files of one name differ.
enum class TSyncCriteria : std::uint8_t {
    Time,        // the source is newer
    Size,        // the sizes differ
    TimeAndSize, // the source is newer, or the times agree and the sizes differ
    Presence,    // the target has no file of that name
};

struct TSyncOptions {
    TSyncDirection Direction = TSyncDirection::Upload;
    TSyncCriteria Criteria = TSyncCriteria::TimeAndSize;
    bool Subfolders = true;
    TMasks Include; // of file names; none: every file
    TMasks Exclude; // of file and folder names
    // One-way only: files and folders of the target that the source does not have.
    bool DeleteOrphans = false;
};

enum class TSyncActionKind : std::uint8_t {
    Upload,
    Download,
    MakeRemoteFolder,
    MakeLocalFolder,
    DeleteRemote,
    DeleteLocal,
    Skip,     // listed for its reason, nothing done unless the user picks it
    Conflict, // changed on both sides, or the sides cannot be ordered: the user decides
};

struct TSyncAction {
    std::string Path; // relative to the synchronized folders, "/" between names
    TSyncActionKind Kind = TSyncActionKind::Skip;
    bool IsFolder = false;
    std::int64_t Bytes = 0; // of a transfer
    std::string Reason;
    bool Chosen = true;     // what the preview's check box starts with
    bool Uncertain = false; // the times agree only within a listing's precision, or are unknown
    // Of a Skip or a Conflict: the transfer that picking it runs.
    std::optional<TSyncActionKind> Alternative;
    std::optional<TSyncEntry> Local;
    std::optional<TSyncEntry> Remote;
};

struct TSyncSummary {
    std::size_t Uploads = 0;
    std::size_t Downloads = 0;
    std::size_t Folders = 0; // to make
    std::size_t Deletes = 0;
    std::size_t Skipped = 0;
    std::size_t Conflicts = 0;
    std::size_t Same = 0;
    std::size_t Uncertain = 0; // of Same: alike only within a listing's precision
    std::int64_t Bytes = 0;    // of the chosen transfers
};

struct TSyncPlan {
    std::vector<TSyncAction>
        Actions; // in walk order: a folder before its content, its deletes after
    std::vector<TSyncAction> InSync;   // the files already alike (a two-way state records them)
    std::vector<std::string> Unlisted; // folders a side could not list: left alone
    TSyncSummary Summary() const;
};

// Lists one side's folder by its relative path ("" the top); nothing when it cannot.
class TSyncLister {
public:
    virtual ~TSyncLister() = default;
    virtual std::optional<std::vector<TSyncEntry>> ListLocal(const std::string& folder) = 0;
    virtual std::optional<std::vector<TSyncEntry>> ListRemote(const std::string& folder) = 0;
    // True once the user stopped the planning.
    virtual bool Stopped() { return false; }
};

// Plans one folder whose two listings are known (a side that does not exist is empty);
// appends its actions and returns the subfolders to walk next.
struct TSubfolder {
    std::string Name;
    bool OnLocal = false;
    bool OnRemote = false;
    bool DeleteAfter = false; // an orphan of the target: removed once its content is
};
std::vector<TSubfolder> PlanFolder(const std::string& folder, const std::vector<TSyncEntry>& local,
                                   const std::vector<TSyncEntry>& remote,
                                   const TSyncOptions& options, const TSyncState* last,
                                   TSyncPlan& plan);

// The walk over both trees, one folder at a time in the order of a plan: the owner lists the
// folder Next() names on the sides it exists on (a side it does not exist on is empty) and
// hands both listings to Listed (nothing for a side that could not be listed), until Next()
// gives nothing. Listing may take its time: nothing waits for it.
class TSyncWalk {
public:
    TSyncWalk(TSyncOptions options, const TSyncState* last);

    struct TFolder {
        std::string Path; // relative, "" the top
        bool OnLocal = false;
        bool OnRemote = false;
    };
    std::optional<TFolder> Next();
    void Listed(const std::optional<std::vector<TSyncEntry>>& local,
                const std::optional<std::vector<TSyncEntry>>& remote);
    const TSyncPlan& Plan() const { return m_plan; }
    TSyncPlan TakePlan() { return std::move(m_plan); }

private:
    struct Step {
        std::string Path;
        bool OnLocal = false;
        bool OnRemote = false;
        int Depth = 0;
        bool DeleteAfter = false; // the folder's delete, planned once its content is
    };

    TSyncOptions m_options;
    const TSyncState* m_last;
    TSyncPlan m_plan;
    std::vector<Step> m_steps; // the last one is next
};

// Walks both trees from their tops and plans every folder.
TSyncPlan PlanSynchronization(TSyncLister& lister, const TSyncOptions& options,
                              const TSyncState* last);

const char* SyncActionCaption(TSyncActionKind kind);

} // namespace qx
