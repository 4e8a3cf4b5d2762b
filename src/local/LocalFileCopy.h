// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/CoreMessage.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace qx {

// Files and folders pasted into a folder: copied, or moved when they were cut.
struct TCopyRequest {
    std::vector<std::string> Sources; // full paths
    std::string DestinationFolder;
    bool Move = false;
};

// Why the request cannot run at all: a folder into itself or below itself, a destination that
// is no folder. None when it can.
std::optional<TCoreMessage> CopyProblem(const TCopyRequest& request);

// The sources whose names already exist in the destination (not counting a source pasted into
// its own folder, which gets a new name), in request order.
std::vector<std::string> ConflictingSources(const TCopyRequest& request);

struct TCopyProgress {
    std::int64_t DoneBytes = 0;
    std::int64_t TotalBytes = 0;
    std::string CurrentName;
};

struct TCopyResult {
    bool Aborted = false;
    std::vector<TCoreMessage> Failures; // "Cannot copy [%1]: %2."
    std::vector<std::string> Created;   // top-level paths made in the destination
};

// Carries out a copy or a move; runs on a worker thread. A conflicting source is replaced only
// when its path is in replace, otherwise it is skipped; a replaced file is written beside the
// old one first and renamed over it, so a failure never leaves a half file in its place. A
// source pasted into its own folder is copied as "name (2)". Symbolic links are copied as links,
// never followed. Moves within one file system rename; across file systems they copy and then
// remove the source only when its copy is complete.
class TFileCopyJob {
public:
    TFileCopyJob(TCopyRequest request, std::set<std::string> replace);

    TCopyResult Run(const std::function<void(const TCopyProgress&)>& progress,
                    const std::atomic<bool>& abort);

private:
    bool CopyTree(const std::string& from, const std::string& to, bool replace);
    bool CopyFile(const std::string& from, const std::string& to, bool replace);
    void Fail(const std::string& path, TCoreMessage reason);
    void Report(const std::string& name);

    TCopyRequest m_request;
    std::set<std::string> m_replace;
    const std::function<void(const TCopyProgress&)>* m_progress = nullptr;
    const std::atomic<bool>* m_abort = nullptr;
    TCopyProgress m_state;
    TCopyResult m_result;
};

} // namespace qx
