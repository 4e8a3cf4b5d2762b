// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "remote/RemoteFind.h"
#include "sync/SyncSession.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qx {

// A folder the search could not list, and why.
struct TFindFailure {
    std::string Folder;
    std::string Reason;
};

// One search of a server through a session of its own, without waiting on anything: each
// folder's listing is asked for when the last one has arrived, and its matches are told at once.
// Dropping the run ends the session and the request under way with it.
class TFindRun {
public:
    TFindRun(std::unique_ptr<TSyncSession> session, std::string top, TFindCriteria criteria);
    ~TFindRun();
    TFindRun(const TFindRun&) = delete;
    TFindRun& operator=(const TFindRun&) = delete;

    // Told of each folder as its listing starts.
    std::function<void(const std::string& folder)> OnListing;
    std::function<void(const std::vector<TFoundEntry>& found)> OnFound;
    // Every folder within reach has been listed or could not be.
    std::function<void()> OnDone;

    void Start();
    // Nothing more is listed or told; OnDone is not called.
    void Stop();

    bool Running() const { return m_running; }
    const std::string& CurrentFolder() const { return m_current; }
    std::size_t Found() const { return m_found; }
    std::size_t FoldersListed() const { return m_find.FoldersListed(); }
    std::size_t FoldersTooDeep() const { return m_find.FoldersTooDeep(); }
    const std::vector<TFindFailure>& Failures() const { return m_failures; }

private:
    void Next();
    void Listed(const TFTPListItems* items, const std::string& error);

    std::unique_ptr<TSyncSession> m_session;
    TRemoteFind m_find;
    std::string m_current;
    std::size_t m_found = 0;
    std::vector<TFindFailure> m_failures;
    bool m_running = false;
};

} // namespace qx
