// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qx {

class TThreadedFTPClient;

// A synchronization's own session with the server, beside the explorer's: its requests run one
// after another, each ending in its callback on the user-interface thread. The client comes
// with its login and its questions set and its thread started; the session logs in before the
// first request, and once that failed, every request fails with the login's error.
class TSyncSession {
public:
    using ListDone = std::function<void(const TFTPListItems* items, const std::string& error)>;
    using Done = std::function<void(bool ok, const std::string& error)>;

    explicit TSyncSession(std::shared_ptr<TThreadedFTPClient> client);
    ~TSyncSession();
    TSyncSession(const TSyncSession&) = delete;
    TSyncSession& operator=(const TSyncSession&) = delete;

    void List(const std::string& folder, ListDone done);
    void MakeFolder(const std::string& path, Done done);
    // A folder goes with everything in it: callers list it first.
    void Remove(const std::string& folder, const std::string& name, bool isFolder, Done done);
    // Drops the requests asked for so far; no callback of theirs runs.
    void Cancel();

private:
    struct Request {
        enum class Kind : std::uint8_t { List, MakeFolder, Remove } kind = Kind::List;
        std::string folder;
        std::string name;
        bool isFolder = false;
        ListDone listed;
        Done done;
    };

    void Add(Request request);
    void Next();
    void Connected();
    void Ended();
    void Fail(Request& request, const std::string& error);

    std::shared_ptr<TThreadedFTPClient> m_client;
    std::deque<Request> m_requests;
    std::optional<Request> m_running;
    std::shared_ptr<TFTPListItems> m_listing; // the running listing's target
    bool m_connecting = false;
    bool m_connected = false;
    std::optional<std::string> m_loginFailure;
};

} // namespace qx
