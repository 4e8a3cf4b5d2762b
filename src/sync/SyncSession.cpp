// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncSession.h"

#include "session/ThreadedFTPClient.h"

namespace qx {

TSyncSession::TSyncSession(std::shared_ptr<TThreadedFTPClient> client)
    : m_client(std::move(client)) {
    m_client->OnConnectDone = [this](TThreadedFTPClient&) { Connected(); };
    const auto ended = [this](TThreadedFTPClient&) { Ended(); };
    m_client->OnGetListItemsDone = ended;
    m_client->OnMakeFolderDone = ended;
    m_client->OnRemoveDone = ended;
}

TSyncSession::~TSyncSession() {
    TThreadedFTPClient& client = *m_client;
    client.OnDisplay = nullptr;
    client.OnAuthenticate = nullptr;
    client.OnCertificate = nullptr;
    client.OnSshQuestion = nullptr;
    if (!client.Busy()) {
        client.Detach();
        return;
    }
    // The request under way may still write into its listing: the listing stays with the
    // done event, which lets the client go.
    client.ForEachDoneEvent([listing = m_listing](TThreadedFTPClient::TNotifyEvent& event) {
        event = [listing](TThreadedFTPClient& ended) { ended.Detach(); };
    });
    client.Abort();
}

void TSyncSession::List(const std::string& folder, ListDone done) {
    Add(Request{Request::Kind::List, folder, {}, false, std::move(done), {}});
}

void TSyncSession::MakeFolder(const std::string& path, Done done) {
    Add(Request{Request::Kind::MakeFolder, path, {}, true, {}, std::move(done)});
}

void TSyncSession::Remove(const std::string& folder, const std::string& name, bool isFolder,
                          Done done) {
    Add(Request{Request::Kind::Remove, folder, name, isFolder, {}, std::move(done)});
}

void TSyncSession::Cancel() {
    m_requests.clear();
    if (m_running) {
        m_running->listed = nullptr;
        m_running->done = nullptr;
    }
}

void TSyncSession::Add(Request request) {
    m_requests.push_back(std::move(request));
    Next();
}

void TSyncSession::Next() {
    if (m_running || m_connecting || m_requests.empty() || m_client->Busy()) {
        return;
    }
    TThreadedFTPClient& client = *m_client;
    if (m_loginFailure) {
        Request request = std::move(m_requests.front());
        m_requests.pop_front();
        Fail(request, *m_loginFailure);
        Next();
        return;
    }
    if (!m_connected) {
        m_connecting = true;
        client.Connect();
        return;
    }
    m_running = std::move(m_requests.front());
    m_requests.pop_front();
    switch (m_running->kind) {
    case Request::Kind::List:
        m_listing = std::make_shared<TFTPListItems>();
        client.HostDirName = m_running->folder;
        client.ListItems = m_listing.get();
        client.GetListItems();
        break;
    case Request::Kind::MakeFolder:
        client.HostFileName = m_running->folder;
        client.MakeFolder();
        break;
    case Request::Kind::Remove:
        client.HostDirName = m_running->folder;
        client.HostFileNames.Clear();
        client.HostFileNames.Add(m_running->name, m_running->isFolder ? kFolderEntry : kFileEntry);
        client.Remove();
        break;
    }
}

void TSyncSession::Connected() {
    m_connecting = false;
    if (m_client->ResultCode == 0) {
        m_connected = true;
    } else {
        m_loginFailure = m_client->ErrorMessage.empty() ? std::string("the login failed")
                                                        : m_client->ErrorMessage;
    }
    Next();
}

void TSyncSession::Ended() {
    if (!m_running) {
        return;
    }
    Request request = std::move(*m_running);
    m_running.reset();
    const std::shared_ptr<TFTPListItems> listing = std::move(m_listing);
    m_client->ListItems = nullptr;
    if (m_client->ResultCode != 0) {
        Fail(request, m_client->ErrorMessage.empty() ? std::string("the request failed")
                                                     : m_client->ErrorMessage);
    } else if (request.listed) {
        request.listed(listing.get(), {});
    } else if (request.done) {
        request.done(true, {});
    }
    Next();
}

void TSyncSession::Fail(Request& request, const std::string& error) {
    if (request.listed) {
        request.listed(nullptr, error);
    } else if (request.done) {
        request.done(false, error);
    }
}

} // namespace qx
