// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/ThreadedFTPCarrier.h"

#include "queue/FTPCarrierThread.h"

namespace qx {

std::shared_ptr<TThreadedFTPCarrier> TThreadedFTPCarrier::Create(UiThread& ui) {
    return std::shared_ptr<TThreadedFTPCarrier>(new TThreadedFTPCarrier(ui));
}

TThreadedFTPCarrier::TThreadedFTPCarrier(UiThread& ui) : m_ui(ui) {}

// Workers hold the carrier while they run, so it only goes away after they have ended.
TThreadedFTPCarrier::~TThreadedFTPCarrier() = default;

void TThreadedFTPCarrier::RunJob(unsigned code) {
    // A worker that is still there has finished its job and waits for the next one, perhaps
    // still logged in. An earlier worker is left to end on its own.
    if (!m_workers.HasCurrent()) {
        m_workers.Start(std::make_unique<TFTPCarrierThread>(shared_from_this()), LowestPriority);
    }
    m_workers.Post(code);
}

void TThreadedFTPCarrier::Abort() {
    m_workers.Abort(carrier_job::Abort);
}

void TThreadedFTPCarrier::StopThread() {
    m_workers.Stop();
}

// --- The worker's side -----------------------------------------------------------------------

void TThreadedFTPCarrier::ShowLine(const std::string& line) {
    RaiseEvent(OnDisplay, *this, line);
}

void TThreadedFTPCarrier::ShowProgress(std::int64_t position, std::int64_t transfered,
                                       std::int64_t elapsed) {
    RaiseEvent(OnTransferStatus, *this, position, transfered, elapsed);
}

// A carrier's logins ask for nothing: its items carry their user names and passwords.
bool TThreadedFTPCarrier::AskLogin(TFTPAuthenticate, std::string&) {
    return true;
}

bool TThreadedFTPCarrier::TrustCertificate(const TCertificateQuestion& question) {
    bool trust = false;
    RaiseEvent(OnCertificate, *this, question, trust);
    return trust;
}

std::optional<std::string>
TThreadedFTPCarrier::AnswerSshQuestion(const sftp::TSshQuestion& question) {
    std::optional<std::string> answer;
    RaiseEvent(OnSshQuestion, *this, question, answer);
    return answer;
}

TOverwriteAnswer TThreadedFTPCarrier::AskOverwrite(const TOverwriteQuestion& question) {
    TOverwriteAnswer answer;
    RaiseEvent(OnOverwrite, *this, question, answer);
    return answer;
}

void TThreadedFTPCarrier::WorkerEnded(TWorkerHost* worker) {
    m_workers.Ended(worker);
    RaiseEvent(OnEndThread, *this);
}

} // namespace qx
