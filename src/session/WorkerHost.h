// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageQueue.h"
#include "platform/UiThread.h"
#include "platform/WorkerThread.h"
#include "session/CertificateQuestion.h"
#include "session/EngineDriver.h"
#include "session/FtpAuthenticate.h"
#include "session/OverwriteRule.h"
#include "session/TargetGuard.h"
#include "session/WorkerOwner.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// The skeleton both kinds of worker share: a thread with its own message queue, started at the
// lowest priority where asked; a loop that hands every request code to Run() and ends at the
// quit message; the abort flag; delivery of log lines and progress to the owner as queued
// copies, in order; the owner's questions (login, certificate, replacing a file), which the
// worker waits for; the login plan; the walk-depth rule. While Run() waits for an engine, the
// engine driver dispatches the same queue and acts on abort and quit.
class TWorkerHost {
public:
    TWorkerHost(std::shared_ptr<TWorkerOwner> owner, UiThread& ui, TEngineDriver::Outcome outcome);
    virtual ~TWorkerHost();
    TWorkerHost(const TWorkerHost&) = delete;
    TWorkerHost& operator=(const TWorkerHost&) = delete;

    // Starts the thread and returns once SetUp() has run.
    void Start(bool lowestPriority);
    void Join();
    MessageQueue& Queue() { return m_queue; }
    // Set by the user-interface thread, cleared by the worker.
    std::atomic<bool> AbortFlag{false};

protected:
    // On the worker's thread: before the first request, for each request code, after quit.
    virtual void SetUp() = 0;
    virtual void Run(unsigned code) = 0;
    virtual void TearDown() = 0;
    // How long the loop waits for the next request before it calls Idle(); zero waits for
    // ever. Asked before every wait.
    virtual std::chrono::milliseconds IdleWait() { return std::chrono::milliseconds{0}; }
    virtual void Idle() {}

    // Delivery to the owner, queued.
    void Deliver(const std::string& line);
    // Deliver and Progress hooks for an engine driver.
    TEngineDriver::Hooks DeliveryHooks();
    // Runs the function on the user-interface thread and waits for it.
    void OnUiThread(const std::function<void()>& function) { m_ui.invoke(function); }
    void Post(std::function<void()> function) { m_ui.post(std::move(function)); }

    // A login plan that asks the owner about certificates and, with askForMissing, for a
    // missing user name or password.
    TEngineDriver::LoginPlan PlanLogin(int attempts, bool askForMissing);
    // Asks the owner ssh's questions that the password does not answer; empty when the owner
    // answers none.
    std::function<std::optional<std::string>(const sftp::TSshQuestion&)> SshAsker();
    // Asks the owner before a transfer replaces a file.
    TTargetGuard::TAsk OverwriteAsker();
    bool AsksBeforeOverwrite() const { return m_owner->AsksBeforeOverwrite(); }

    // Recursive walks stop kMaxRecursionDepth levels down: false, with the job failed and the
    // line logged, below that.
    bool WithinDepth(int depth, const std::string& folder);
    void Fail(std::string errorMessage);
    bool Failed() const { return m_outcome.ResultCode != 0; }
    bool Aborted() const { return m_outcome.ResultCode == 2; }

private:
    void Body(bool lowestPriority, const std::function<void()>& ready);

    std::shared_ptr<TWorkerOwner> m_owner;
    UiThread& m_ui;
    TEngineDriver::Outcome m_outcome;
    MessageQueue m_queue;
    TWorkerThread m_thread;
};

// The line of a request table with the code, or null: the tables of the session's requests and
// of the carrier's jobs are arrays of entries with a Code.
template <typename Entry, std::size_t Count>
const Entry* FindByCode(const Entry (&table)[Count], unsigned code) {
    for (const Entry& entry : table) {
        if (entry.Code == code) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace qx
