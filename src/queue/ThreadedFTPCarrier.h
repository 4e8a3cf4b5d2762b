// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UiThread.h"
#include "queue/FTPCarrier.h"
#include "session/WorkerOwner.h"

#include <memory>

namespace qx {

class TFTPCarrierThread;

// The carrier that does the work: its jobs run on a worker thread with two FTP engines, one
// for the source server and one for the destination. The worker is started by the first job
// and takes the later ones until StopThread(). Events reach the user-interface
// thread through UiThread while the worker waits for them to return.
//
// A worker keeps its carrier alive until it has ended, so the owner may drop the carrier in
// its done handler after StopThread(): the worker ends, frees its engines and connections,
// raises OnEndThread and lets the carrier go.
class TThreadedFTPCarrier final : public TFTPCarrier,
                                  public TWorkerOwner,
                                  public std::enable_shared_from_this<TThreadedFTPCarrier> {
public:
    static std::shared_ptr<TThreadedFTPCarrier> Create(UiThread& ui);
    ~TThreadedFTPCarrier() override;

    // Workers run at the lowest priority, so that windows stay responsive.
    bool LowestPriority = true;

    void Abort() override;
    void StopThread() override;
    bool WorkerRunning() const { return m_workers.Running(); }

protected:
    void RunJob(unsigned code) override;

private:
    friend class TFTPCarrierThread;
    explicit TThreadedFTPCarrier(UiThread& ui);

    // The worker's side (TWorkerOwner): the events, where the owner set them.
    void ShowLine(const std::string& line) override { RaiseEvent(OnDisplay, *this, line); }
    void ShowProgress(std::int64_t position, std::int64_t transfered,
                      std::int64_t elapsed) override {
        RaiseEvent(OnTransferStatus, *this, position, transfered, elapsed);
    }
    // A carrier's logins ask for nothing: its items carry their user names and passwords.
    bool AskLogin(TFTPAuthenticate /*what*/, std::string& /*answer*/) override { return true; }
    bool TrustCertificate(const TCertificateQuestion& question) override {
        return AskEvent<bool>(OnCertificate, *this, question);
    }
    bool AnswersSshQuestions() const override { return static_cast<bool>(OnSshQuestion); }
    std::optional<std::string> AnswerSshQuestion(const sftp::TSshQuestion& question) override {
        return AskEvent<std::optional<std::string>>(OnSshQuestion, *this, question);
    }
    bool AsksBeforeOverwrite() const override { return static_cast<bool>(OnOverwrite); }
    TOverwriteAnswer AskOverwrite(const TOverwriteQuestion& question) override {
        return AskEvent<TOverwriteAnswer>(OnOverwrite, *this, question);
    }
    void WorkerEnded(TWorkerHost* worker) override;

    UiThread& m_ui;
    // The last worker runs the current job.
    TWorkerSet m_workers;
};

} // namespace qx
