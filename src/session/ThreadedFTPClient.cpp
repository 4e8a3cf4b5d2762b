// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/ThreadedFTPClient.h"

#include "session/FTPClientThread.h"

namespace qx {

std::shared_ptr<TThreadedFTPClient> TThreadedFTPClient::Create(UiThread& ui) {
    return std::shared_ptr<TThreadedFTPClient>(new TThreadedFTPClient(ui));
}

TThreadedFTPClient::TThreadedFTPClient(UiThread& ui) : m_ui(ui) {}

// Workers hold the client while they run, so it only goes away after they have ended.
TThreadedFTPClient::~TThreadedFTPClient() = default;

void TThreadedFTPClient::StartThread() {
    StopThread();
    m_workers.Start(std::make_unique<TFTPClientThread>(shared_from_this()), LowestPriority);
}

void TThreadedFTPClient::StopThread() {
    m_workers.Stop();
    m_busy = false;
}

void TThreadedFTPClient::Detach() {
    m_detached = true;
    OnDisplay = nullptr;
    OnAuthenticate = nullptr;
    OnCertificate = nullptr;
    OnSshQuestion = nullptr;
    OnTransferStatus = nullptr;
    ForEachDoneEvent([](TNotifyEvent& event) { event = nullptr; });
    OnEndThread = nullptr;
    ListItems = nullptr;
    StopThread();
}

void TThreadedFTPClient::Post(unsigned code) {
    m_busy = true;
    m_workers.Post(code);
}

void TThreadedFTPClient::Abort() {
    if (m_busy) {
        m_workers.Abort(ftp_request::Abort);
    }
}

// --- The worker's side -----------------------------------------------------------------------

void TThreadedFTPClient::ShowLine(const std::string& line) {
    RaiseEvent(OnDisplay, *this, line);
}

void TThreadedFTPClient::ShowProgress(std::int64_t position, std::int64_t transfered,
                                      std::int64_t elapsed) {
    RaiseEvent(OnTransferStatus, *this, position, transfered, elapsed);
}

bool TThreadedFTPClient::AskLogin(TFTPAuthenticate what, std::string& answer) {
    if (!OnAuthenticate) {
        return true;
    }
    bool cancel = false;
    std::string need;
    auto handler = OnAuthenticate;
    handler(*this, what, need, cancel);
    if (cancel) {
        return false;
    }
    // Later attempts and reconnections do not ask again.
    (what == TFTPAuthenticate::ftpAuthUserName ? UserName : Password) = need;
    answer = need;
    return true;
}

bool TThreadedFTPClient::TrustCertificate(const TCertificateQuestion& question) {
    return AskEvent<bool>(OnCertificate, *this, question);
}

std::optional<std::string>
TThreadedFTPClient::AnswerSshQuestion(const sftp::TSshQuestion& question) {
    return AskEvent<std::optional<std::string>>(OnSshQuestion, *this, question);
}

TOverwriteAnswer TThreadedFTPClient::AskOverwrite(const TOverwriteQuestion& question) {
    TOverwriteAnswer answer;
    if (m_detached) {
        answer.Choice = TOverwriteChoice::Cancel; // nobody left to ask
    } else if (OnOverwrite) {
        auto handler = OnOverwrite;
        handler(*this, question, answer);
    }
    return answer;
}

void TThreadedFTPClient::WorkerEnded(TWorkerHost* worker) {
    m_workers.Ended(worker);
    RaiseEvent(OnEndThread, *this);
}

} // namespace qx
