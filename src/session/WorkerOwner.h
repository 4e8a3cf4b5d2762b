// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/sftp/SshQuestion.h"
#include "session/CertificateQuestion.h"
#include "session/FtpAuthenticate.h"
#include "session/OverwriteRule.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qx {

class TWorkerHost;

// Calls an owner's event handler when there is one. The handler is a copy: it may replace
// itself while it runs.
template <typename Event, typename... Args> void RaiseEvent(const Event& event, Args&&... args) {
    if (event) {
        auto handler = event;
        handler(std::forward<Args>(args)...);
    }
}

// Asks an owner's event handler whose last parameter is the answer; without a handler the
// answer stays Answer{}.
template <typename Answer, typename Event, typename... Args>
Answer AskEvent(const Event& event, Args&&... args) {
    Answer answer{};
    RaiseEvent(event, std::forward<Args>(args)..., answer);
    return answer;
}

// What a worker needs of the object that owns it (the threaded session, a carrier). Every call
// runs on the user-interface thread, except AsksBeforeOverwrite, which the worker reads as it
// decides whether to look at a target at all.
class TWorkerOwner {
public:
    virtual ~TWorkerOwner() = default;

    virtual void ShowLine(const std::string& line) = 0;
    virtual void ShowProgress(std::int64_t position, std::int64_t transfered,
                              std::int64_t elapsed) = 0;
    // A user name or password the login lacks; false when the user cancelled. An owner without
    // the question leaves the answer as it is.
    virtual bool AskLogin(TFTPAuthenticate what, std::string& answer) = 0;
    virtual bool TrustCertificate(const TCertificateQuestion& question) = 0;
    // A question of ssh the password does not answer; nothing cancels the login. Read by the
    // worker as a connection starts: whether anyone answers such questions at all.
    virtual bool AnswersSshQuestions() const { return false; }
    virtual std::optional<std::string> AnswerSshQuestion(const sftp::TSshQuestion& /*question*/) {
        return std::nullopt;
    }
    virtual bool AsksBeforeOverwrite() const = 0;
    virtual TOverwriteAnswer AskOverwrite(const TOverwriteQuestion& question) = 0;
    // The worker's thread has ended; the owner joins and frees it.
    virtual void WorkerEnded(TWorkerHost* worker) = 0;
};

// The owner's side: its workers that have not ended yet. The last one started takes the
// requests; the ones before it were told to quit and end on their own.
class TWorkerSet {
public:
    TWorkerSet();
    ~TWorkerSet();
    TWorkerSet(const TWorkerSet&) = delete;
    TWorkerSet& operator=(const TWorkerSet&) = delete;

    void Start(std::unique_ptr<TWorkerHost> worker, bool lowestPriority);
    bool HasCurrent() const { return m_current != nullptr; }
    void Post(unsigned code);
    // Posts the abort code and raises the abort flag; nothing without a current worker.
    void Abort(unsigned abortCode);
    // Tells the current worker to quit; it is no longer current.
    void Stop();
    // A worker's thread ended: it is joined and freed. True when no current worker is left.
    bool Ended(TWorkerHost* worker);
    bool Running() const { return m_running.load(); }

private:
    std::vector<std::unique_ptr<TWorkerHost>> m_workers;
    TWorkerHost* m_current = nullptr;
    std::atomic<bool> m_running{false};
};

} // namespace qx
