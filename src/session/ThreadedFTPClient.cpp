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
    m_detached = true;
    OnDisplay = nullptr;
    OnAuthenticate = nullptr;
    OnCertificate = nullptr;
    OnTransferStatus = nullptr;
    ForEachDoneEvent([](TNotifyEvent& event) { event = nullptr; });
    OnEndThread = nullptr;
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

} // namespace qx
