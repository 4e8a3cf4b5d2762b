// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncPlan.h"

#include "base/Translatable.h"

#include <algorithm>

namespace qx {

namespace {

// Deeper trees are left unlisted rather than walked without end.
constexpr int kMaxDepth = 256;

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

// A name that is no single entry of its folder ("..", "a/b") would lead a transfer or a
// delete out of the folders synchronized: a listing that holds one is not believed there.
bool UnsafeName(const std::string& name) {
    return name.empty() || name == "." || name == ".." ||
           name.find_first_of(std::string_view("/\0", 2)) != std::string::npos;
}

bool Excluded(const TSyncEntry& entry, const TSyncOptions& options) {
    if (UnsafeName(entry.Name)) {
        return true;
    }
    if (options.Exclude.Count() > 0 &&
        (!options.Exclude.Active() || options.Exclude.Matches(entry.Name))) {
        return true;
    }
    return !entry.IsFolder && options.Include.Count() > 0 && options.Include.Active() &&
           !options.Include.Matches(entry.Name);
}

std::vector<TSyncEntry> Kept(const std::vector<TSyncEntry>& entries, const TSyncOptions& options) {
    std::vector<TSyncEntry> kept;
    kept.reserve(entries.size());
    std::ranges::copy_if(entries, std::back_inserter(kept),
                         [&](const TSyncEntry& entry) { return !Excluded(entry, options); });
    return kept;
}

// Why sizes that differ decide nothing: the times of the two sides, compared at the coarser
// side's precision, agree. One whole text for a skip and one for a conflict.
const char* SizesDifferReason(const TSyncEntry& a, const TSyncEntry& b, bool conflict) {
    const TTimePrecision coarser =
        PrecisionSpan(a.Precision) > PrecisionSpan(b.Precision) ? a.Precision : b.Precision;
    switch (coarser) {
    case TTimePrecision::Day:
        return conflict ? QX_TRANSLATE_NOOP("qx::Core",
                                            "the sizes differ and the times agree only to the day")
                        : QX_TRANSLATE_NOOP("qx::Core",
                                            "the sizes differ; the times agree only to the day");
    case TTimePrecision::Minute:
        return conflict ? QX_TRANSLATE_NOOP(
                              "qx::Core", "the sizes differ and the times agree only to the minute")
                        : QX_TRANSLATE_NOOP("qx::Core",
                                            "the sizes differ; the times agree only to the minute");
    default:
        return conflict ? QX_TRANSLATE_NOOP("qx::Core", "the sizes differ and a side tells no time")
                        : QX_TRANSLATE_NOOP("qx::Core", "the sizes differ; a side tells no time");
    }
}

class TFolderPlanner {
public:
    TFolderPlanner(const std::string& folder, const TSyncOptions& options, const TSyncState* last,
                   TSyncPlan& plan)
        : m_folder(folder), m_options(options), m_last(last), m_plan(plan) {}

    void Pair(const TComparePair& pair) {
        if (pair.Mark == TCompareMark::KindDiffers) {
            Add(pair, TSyncActionKind::Conflict,
                QX_TRANSLATE_NOOP("qx::Core", "a file on one side, a folder on the other"), false);
        } else if (pair.Local && pair.Remote) {
            if (pair.Local->IsFolder) {
                Descend(pair.Name, true, true, false);
            } else if (m_options.Direction == TSyncDirection::Both) {
                TwoWayFiles(pair);
            } else {
                OneWayFiles(pair);
            }
        } else {
            OneSided(pair);
        }
    }

    std::vector<TSubfolder> TakeSubfolders() { return std::move(m_subfolders); }

private:
    bool Uploads() const { return m_options.Direction == TSyncDirection::Upload; }

    void Add(const TComparePair& pair, TSyncActionKind kind, std::string reason, bool chosen = true,
             std::optional<TSyncActionKind> alternative = std::nullopt) {
        TSyncAction action;
        action.Path = Join(m_folder, pair.Name);
        action.Kind = kind;
        action.IsFolder = (pair.Local ? *pair.Local : *pair.Remote).IsFolder;
        action.Reason = std::move(reason);
        action.Chosen = chosen;
        action.Alternative = alternative;
        action.Uncertain = pair.Uncertain;
        action.Local = pair.Local;
        action.Remote = pair.Remote;
        const TSyncActionKind transfer = alternative.value_or(kind);
        if (transfer == TSyncActionKind::Upload && pair.Local) {
            action.Bytes = pair.Local->Size;
        } else if (transfer == TSyncActionKind::Download && pair.Remote) {
            action.Bytes = pair.Remote->Size;
        }
        m_plan.Actions.push_back(std::move(action));
    }

    void InSync(const TComparePair& pair) {
        TSyncAction action;
        action.Path = Join(m_folder, pair.Name);
        action.Uncertain = pair.Uncertain;
        action.Local = pair.Local;
        action.Remote = pair.Remote;
        m_plan.InSync.push_back(std::move(action));
    }

    void Descend(const std::string& name, bool onLocal, bool onRemote, bool deleteAfter) {
        if (m_options.Subfolders) {
            m_subfolders.push_back(TSubfolder{name, onLocal, onRemote, deleteAfter});
        }
    }

    void OneSided(const TComparePair& pair) {
        const bool local = pair.Local.has_value();
        const TSyncEntry& entry = local ? *pair.Local : *pair.Remote;
        if (entry.IsFolder && !m_options.Subfolders) {
            return;
        }
        const bool isSource = m_options.Direction == TSyncDirection::Both || local == Uploads();
        if (isSource) {
            if (entry.IsFolder) {
                Add(pair,
                    local ? TSyncActionKind::MakeRemoteFolder : TSyncActionKind::MakeLocalFolder,
                    local ? QX_TRANSLATE_NOOP("qx::Core", "only here")
                          : QX_TRANSLATE_NOOP("qx::Core", "only there"));
                Descend(entry.Name, local, !local, false);
            } else {
                Add(pair, local ? TSyncActionKind::Upload : TSyncActionKind::Download,
                    local ? QX_TRANSLATE_NOOP("qx::Core", "only here")
                          : QX_TRANSLATE_NOOP("qx::Core", "only there"));
            }
        } else if (m_options.DeleteOrphans) {
            if (entry.IsFolder) {
                Descend(entry.Name, local, !local, true);
            } else {
                Add(pair, local ? TSyncActionKind::DeleteLocal : TSyncActionKind::DeleteRemote,
                    QX_TRANSLATE_NOOP("qx::Core", "not in the source"));
            }
        }
    }

    void OneWayFiles(const TComparePair& pair) {
        const TSyncEntry& source = Uploads() ? *pair.Local : *pair.Remote;
        const TSyncEntry& target = Uploads() ? *pair.Remote : *pair.Local;
        const TSyncActionKind transfer =
            Uploads() ? TSyncActionKind::Upload : TSyncActionKind::Download;
        const bool sizeDiffers = source.Size != target.Size;
        const TTimeOrder order = CompareTimes(source, target);
        switch (m_options.Criteria) {
        case TSyncCriteria::Presence:
            return InSync(pair);
        case TSyncCriteria::Size:
            return sizeDiffers
                       ? Add(pair, transfer, QX_TRANSLATE_NOOP("qx::Core", "the sizes differ"))
                       : InSync(pair);
        case TSyncCriteria::Time:
        case TSyncCriteria::TimeAndSize:
            break;
        }
        const bool bySize = m_options.Criteria == TSyncCriteria::TimeAndSize;
        switch (order) {
        case TTimeOrder::Newer:
            return Add(pair, transfer, QX_TRANSLATE_NOOP("qx::Core", "the source is newer"));
        case TTimeOrder::Older:
            return Add(pair, TSyncActionKind::Skip,
                       QX_TRANSLATE_NOOP("qx::Core", "the target is newer"), false, transfer);
        case TTimeOrder::Equal:
            return bySize && sizeDiffers
                       ? Add(pair, transfer, QX_TRANSLATE_NOOP("qx::Core", "the sizes differ"))
                       : InSync(pair);
        case TTimeOrder::EqualWithinPrecision:
        case TTimeOrder::Unknown:
            break;
        }
        if (!sizeDiffers) {
            return InSync(pair);
        }
        const std::string reason = SizesDifferReason(source, target, false);
        if (bySize) {
            Add(pair, transfer, reason);
        } else {
            Add(pair, TSyncActionKind::Skip, reason, false, transfer);
        }
    }

    void TwoWayFiles(const TComparePair& pair) {
        const TTimeOrder order = pair.LocalAgainstRemote;
        const bool sizeDiffers = pair.Local->Size != pair.Remote->Size;
        const bool newerSide = order == TTimeOrder::Newer || order == TTimeOrder::Older;
        bool differs = false;
        switch (m_options.Criteria) {
        case TSyncCriteria::Presence:
            break;
        case TSyncCriteria::Size:
            differs = sizeDiffers;
            break;
        case TSyncCriteria::Time:
            differs = newerSide;
            break;
        case TSyncCriteria::TimeAndSize:
            differs = newerSide || sizeDiffers;
            break;
        }
        if (!differs) {
            return InSync(pair);
        }
        const std::optional<TSyncActionKind> newer =
            order == TTimeOrder::Newer   ? std::optional(TSyncActionKind::Upload)
            : order == TTimeOrder::Older ? std::optional(TSyncActionKind::Download)
                                         : std::nullopt;
        const TSyncRecord* record = m_last ? m_last->Find(Join(m_folder, pair.Name)) : nullptr;
        if (record != nullptr) {
            const bool localChanged = TSyncState::LocalChanged(*record, *pair.Local);
            const bool remoteChanged = TSyncState::RemoteChanged(*record, *pair.Remote);
            if (localChanged && remoteChanged) {
                return Add(pair, TSyncActionKind::Conflict,
                           QX_TRANSLATE_NOOP(
                               "qx::Core", "changed on both sides since the last synchronization"),
                           false, newer);
            }
            if (localChanged || remoteChanged) {
                return Add(pair, localChanged ? TSyncActionKind::Upload : TSyncActionKind::Download,
                           localChanged
                               ? QX_TRANSLATE_NOOP("qx::Core",
                                                   "changed here since the last synchronization")
                               : QX_TRANSLATE_NOOP("qx::Core",
                                                   "changed there since the last synchronization"));
            }
        }
        if (!newer) {
            return Add(pair, TSyncActionKind::Conflict,
                       SizesDifferReason(*pair.Local, *pair.Remote, true), false);
        }
        const bool here = *newer == TSyncActionKind::Upload;
        if (record != nullptr) {
            Add(pair, *newer,
                here ? QX_TRANSLATE_NOOP("qx::Core", "newer here")
                     : QX_TRANSLATE_NOOP("qx::Core", "newer there"));
        } else {
            Add(pair, *newer,
                here ? QX_TRANSLATE_NOOP("qx::Core",
                                         "newer here; no earlier synchronization is known")
                     : QX_TRANSLATE_NOOP("qx::Core",
                                         "newer there; no earlier synchronization is known"));
        }
    }

    const std::string& m_folder;
    const TSyncOptions& m_options;
    const TSyncState* m_last;
    TSyncPlan& m_plan;
    std::vector<TSubfolder> m_subfolders;
};

} // namespace

std::vector<TSubfolder> PlanFolder(const std::string& folder, const std::vector<TSyncEntry>& local,
                                   const std::vector<TSyncEntry>& remote,
                                   const TSyncOptions& options, const TSyncState* last,
                                   TSyncPlan& plan) {
    TFolderPlanner planner(folder, options, last, plan);
    for (const TComparePair& pair : CompareFolders(Kept(local, options), Kept(remote, options))) {
        planner.Pair(pair);
    }
    return planner.TakeSubfolders();
}

TSyncWalk::TSyncWalk(TSyncOptions options, const TSyncState* last)
    : m_options(std::move(options)), m_last(last) {
    m_steps.push_back(Step{"", true, true, 0, false});
}

// Folder deletes wait on the stack below their folder's content; they are planned once that
// content is, unless a part of it could not be listed.
std::optional<TSyncWalk::TFolder> TSyncWalk::Next() {
    while (!m_steps.empty() && m_steps.back().DeleteAfter) {
        const Step step = std::move(m_steps.back());
        m_steps.pop_back();
        const bool walked = std::ranges::none_of(m_plan.Unlisted, [&](const std::string& folder) {
            return folder == step.Path || folder.starts_with(step.Path + "/");
        });
        if (walked) {
            TSyncAction remove;
            remove.Path = step.Path;
            remove.Kind =
                step.OnLocal ? TSyncActionKind::DeleteLocal : TSyncActionKind::DeleteRemote;
            remove.IsFolder = true;
            remove.Reason = QX_TRANSLATE_NOOP("qx::Core", "not in the source");
            m_plan.Actions.push_back(std::move(remove));
        }
    }
    if (m_steps.empty()) {
        return std::nullopt;
    }
    const Step& step = m_steps.back();
    return TFolder{step.Path, step.OnLocal, step.OnRemote};
}

void TSyncWalk::Listed(const std::optional<std::vector<TSyncEntry>>& local,
                       const std::optional<std::vector<TSyncEntry>>& remote) {
    if (m_steps.empty() || m_steps.back().DeleteAfter) {
        return;
    }
    const Step step = std::move(m_steps.back());
    m_steps.pop_back();
    if (!local || !remote || step.Depth > kMaxDepth) {
        m_plan.Unlisted.push_back(step.Path);
        return;
    }
    const std::vector<TSubfolder> subfolders =
        PlanFolder(step.Path, *local, *remote, m_options, m_last, m_plan);
    // Pushed last first, so that the first subfolder is walked first.
    for (auto sub = subfolders.rbegin(); sub != subfolders.rend(); ++sub) {
        const std::string path = Join(step.Path, sub->Name);
        if (sub->DeleteAfter) {
            m_steps.push_back(Step{path, sub->OnLocal, sub->OnRemote, step.Depth + 1, true});
        }
        m_steps.push_back(Step{path, sub->OnLocal, sub->OnRemote, step.Depth + 1, false});
    }
}

TSyncPlan PlanSynchronization(TSyncLister& lister, const TSyncOptions& options,
                              const TSyncState* last) {
    TSyncWalk walk(options, last);
    while (const auto folder = walk.Next()) {
        if (lister.Stopped()) {
            break;
        }
        const auto local = folder->OnLocal ? lister.ListLocal(folder->Path)
                                           : std::optional(std::vector<TSyncEntry>());
        const auto remote = folder->OnRemote ? lister.ListRemote(folder->Path)
                                             : std::optional(std::vector<TSyncEntry>());
        walk.Listed(local, remote);
    }
    return walk.TakePlan();
}

TSyncSummary TSyncPlan::Summary() const {
    TSyncSummary summary;
    for (const TSyncAction& action : Actions) {
        const bool chosen = action.Chosen;
        switch (action.Kind) {
        case TSyncActionKind::Upload:
        case TSyncActionKind::Download:
            (action.Kind == TSyncActionKind::Upload ? summary.Uploads : summary.Downloads) +=
                chosen ? 1 : 0;
            summary.Bytes += chosen ? action.Bytes : 0;
            break;
        case TSyncActionKind::MakeRemoteFolder:
        case TSyncActionKind::MakeLocalFolder:
            summary.Folders += chosen ? 1 : 0;
            break;
        case TSyncActionKind::DeleteRemote:
        case TSyncActionKind::DeleteLocal:
            summary.Deletes += chosen ? 1 : 0;
            break;
        case TSyncActionKind::Skip:
            ++summary.Skipped;
            break;
        case TSyncActionKind::Conflict:
            ++summary.Conflicts;
            break;
        }
    }
    summary.Same = InSync.size();
    summary.Uncertain = static_cast<std::size_t>(
        std::ranges::count_if(InSync, [](const TSyncAction& action) { return action.Uncertain; }));
    return summary;
}

const char* SyncActionCaption(TSyncActionKind kind) {
    switch (kind) {
    case TSyncActionKind::Upload:
        return QX_TRANSLATE_NOOP("qx::Core", "Upload");
    case TSyncActionKind::Download:
        return QX_TRANSLATE_NOOP("qx::Core", "Download");
    case TSyncActionKind::MakeRemoteFolder:
        return QX_TRANSLATE_NOOP("qx::Core", "Create remote folder");
    case TSyncActionKind::MakeLocalFolder:
        return QX_TRANSLATE_NOOP("qx::Core", "Create local folder");
    case TSyncActionKind::DeleteRemote:
        return QX_TRANSLATE_NOOP("qx::Core", "Delete remote");
    case TSyncActionKind::DeleteLocal:
        return QX_TRANSLATE_NOOP("qx::Core", "Delete local");
    case TSyncActionKind::Skip:
        return QX_TRANSLATE_NOOP("qx::Core", "Skip");
    case TSyncActionKind::Conflict:
        return QX_TRANSLATE_NOOP("qx::Core", "Conflict");
    }
    return "";
}

} // namespace qx
