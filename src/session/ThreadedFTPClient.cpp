#include "session/ThreadedFTPClient.h"

#include "session/FTPClientThread.h"

#include "platform/WorkerThread.h"

#include <algorithm>

namespace qx {

std::shared_ptr<TThreadedFTPClient> TThreadedFTPClient::Create(UiThread& ui) {
    return std::shared_ptr<TThreadedFTPClient>(new TThreadedFTPClient(ui));
}

TThreadedFTPClient::TThreadedFTPClient(UiThread& ui) : m_ui(ui) {}

// Workers hold the client while they run, so it only goes away after they have ended.
TThreadedFTPClient::~TThreadedFTPClient() = default;

void TThreadedFTPClient::StartThread() {
    StopThread();
    auto worker = std::make_unique<TFTPClientThread>(shared_from_this());
    worker->Start();
    m_worker = worker.get();
    m_workers.push_back(std::move(worker));
    m_workerRunning = true;
}

void TThreadedFTPClient::StopThread() {
    if (m_worker != nullptr) {
        m_worker->Queue().postQuit();
        m_worker = nullptr;
    }
    m_busy = false;
}

void TThreadedFTPClient::Detach() {
    OnDisplay = nullptr;
    OnAuthenticate = nullptr;
    OnTransferStatus = nullptr;
    for (TNotifyEvent* event :
         {&OnConnectDone, &OnChangeFolderDone, &OnGetFolderDone, &OnGetListItemsDone,
          &OnDownloadFileDone, &OnUploadFileDone, &OnMakeFolderDone, &OnRenameDone, &OnRemoveDone,
          &OnDownloadsDone, &OnUploadsDone, &OnQuitDone, &OnChangePermsDone, &OnUppercaseDone,
          &OnLowercaseDone, &OnEndThread}) {
        *event = nullptr;
    }
    ListItems = nullptr;
    StopThread();
}

void TThreadedFTPClient::EndOfWorker(TFTPClientThread* worker) {
    if (ReleaseEndedWorker(m_workers, m_worker, worker)) {
        m_workerRunning = false;
    }
    if (OnEndThread) {
        auto handler = OnEndThread;
        handler(*this);
    }
}

void TThreadedFTPClient::Post(unsigned code) {
    m_busy = true;
    if (m_worker != nullptr) {
        m_worker->Queue().postThreadMessage(code);
    }
}

void TThreadedFTPClient::Abort() {
    if (!m_busy || m_worker == nullptr) {
        return;
    }
    m_worker->Queue().postThreadMessage(ftp_request::Abort);
    m_worker->AbortFlag = true;
}

void TThreadedFTPClient::Connect() {
    Post(ftp_request::Connect);
}
void TThreadedFTPClient::ChangeFolder() {
    Post(ftp_request::ChangeFolder);
}
void TThreadedFTPClient::GetFolder() {
    Post(ftp_request::GetFolder);
}
void TThreadedFTPClient::GetListItems() {
    Post(ftp_request::GetListItems);
}
void TThreadedFTPClient::Rename() {
    Post(ftp_request::Rename);
}
void TThreadedFTPClient::Remove() {
    Post(ftp_request::Remove);
}
void TThreadedFTPClient::DownloadFile() {
    Post(ftp_request::DownloadFile);
}
void TThreadedFTPClient::UploadFile() {
    Post(ftp_request::UploadFile);
}
void TThreadedFTPClient::MakeFolder() {
    Post(ftp_request::MakeFolder);
}
void TThreadedFTPClient::Downloads() {
    Post(ftp_request::Downloads);
}
void TThreadedFTPClient::Uploads() {
    Post(ftp_request::Uploads);
}
void TThreadedFTPClient::Quit() {
    Post(ftp_request::Quit);
}
void TThreadedFTPClient::ChangePerms() {
    Post(ftp_request::ChangePerms);
}
void TThreadedFTPClient::Uppercase() {
    Post(ftp_request::Uppercase);
}
void TThreadedFTPClient::Lowercase() {
    Post(ftp_request::Lowercase);
}

} // namespace qx
