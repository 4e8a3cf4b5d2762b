// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/RelayDestination.h"

#include "queue/FTPCarrier.h"
#include "session/RemoteTransfers.h"

#include <chrono>

namespace qx {

namespace {
constexpr auto kAbortLook = std::chrono::milliseconds(100);
} // namespace

TRelayDestination::TRelayDestination(TPlan plan, TRelayRing& ring)
    : m_plan(std::move(plan)), m_ring(ring) {}

TRelayDestination::~TRelayDestination() {
    if (m_thread.joinable()) {
        Abort();
        m_thread.join();
    }
}

void TRelayDestination::Start() {
    m_thread = std::thread([this] { Body(); });
}

std::unique_ptr<TRemoteProtocol> TRelayDestination::MakeProtocol(TProtocolOutcome outcome) {
    if (m_plan.Sftp) {
        auto sftp = std::make_unique<TSftpProtocol>(m_queue, m_abort, carrier_job::Abort, outcome,
                                                    m_plan.Hooks);
        sftp->Site = m_plan.Site;
        sftp->AskSsh = m_plan.AskSsh;
        sftp->UploadToTemporaryName = m_plan.UploadToTemporaryName;
        return sftp;
    }
    auto driver = std::make_unique<TEngineDriver>(m_queue, m_abort, carrier_job::Abort, outcome,
                                                  m_plan.Hooks, true);
    driver->Tag = m_plan.Tag;
    m_plan.ConfigureFtp(driver->Engine());
    driver->UploadToTemporaryName = m_plan.UploadToTemporaryName;
    return driver;
}

void TRelayDestination::Body() {
    std::uint8_t resultCode = 0;
    std::string errorMessage;
    {
        // The protocol lives and ends on this thread, with its queue.
        const std::unique_ptr<TRemoteProtocol> remote =
            MakeProtocol(TProtocolOutcome{resultCode, errorMessage});
        Work(*remote);
    }
    bool failedFirst = false;
    if (resultCode != 0) {
        failedFirst = m_ring.Fail(errorMessage.empty() ? "The destination failed." : errorMessage);
    }
    const std::lock_guard lock(m_mutex);
    m_resultCode = resultCode;
    m_errorMessage = std::move(errorMessage);
    m_failedFirst = failedFirst;
    m_phase = TPhase::Ended;
    m_changed.notify_all();
}

void TRelayDestination::Work(TRemoteProtocol& remote) {
    if (!remote.Login(m_plan.Login)) {
        return;
    }
    remote.SetType(m_plan.Binary);
    if (remote.Failed()) {
        return;
    }
    std::string target = m_plan.Target;
    bool resume = m_plan.Resume;
    if (m_plan.Ask) {
        TTargetGuard guard(remote, m_plan.Ask, nullptr);
        const auto go = guard.Copy(m_plan.SourceSize, m_plan.SourceTime, target, remote.Binary(),
                                   m_plan.ResumeSupported, resume);
        if (go != TTargetGuard::TGoAhead::Transfer) {
            if (go == TTargetGuard::TGoAhead::Skip && !remote.Failed()) {
                remote.Quit();
                remote.ClearFailure(); // the work is done: a server that drops QUIT is no failure
            }
            return;
        }
    }
    // A part of the temporary file is known to be the source's only by its size.
    TUploadPlan upload;
    if (PlanUpload(remote, target, resume && m_plan.SourceSize >= 0, m_plan.SourceSize,
                   "the source", upload) != 0) {
        return;
    }
    Offer(target, std::max<std::int64_t>(upload.AppendAt, 0));
    {
        std::unique_lock lock(m_mutex);
        while (!m_go && !m_abort.load()) {
            m_changed.wait_for(lock, kAbortLook);
        }
        if (!m_go.value_or(false)) {
            return; // the carrier refused it or aborted: nothing was written
        }
    }
    if (RelayUpload(remote, m_ring, upload, target, m_plan.SourceSize) == 0) {
        remote.Quit();
        remote.ClearFailure();
    }
}

void TRelayDestination::Offer(const std::string& target, std::int64_t startAt) {
    const std::lock_guard lock(m_mutex);
    m_target = target;
    m_startAt = startAt;
    m_phase = TPhase::Offered;
    m_changed.notify_all();
}

void TRelayDestination::WaitFor(const std::function<bool()>& pred,
                                const std::function<bool()>& aborted) {
    std::unique_lock lock(m_mutex);
    bool passedOn = false;
    while (!pred()) {
        if (!passedOn && aborted()) {
            passedOn = true;
            lock.unlock();
            Abort();
            lock.lock();
            continue;
        }
        m_changed.wait_for(lock, kAbortLook);
    }
}

bool TRelayDestination::WaitForOffer(const std::function<bool()>& aborted) {
    WaitFor([this] { return m_phase != TPhase::Preparing; }, aborted);
    const std::lock_guard lock(m_mutex);
    return m_phase == TPhase::Offered;
}

void TRelayDestination::Go(bool go) {
    const std::lock_guard lock(m_mutex);
    m_go = go;
    m_changed.notify_all();
}

void TRelayDestination::Abort() {
    m_abort = true;
    m_queue.postThreadMessage(carrier_job::Abort);
    m_ring.Fail("Operation aborted.");
    const std::lock_guard lock(m_mutex);
    m_changed.notify_all();
}

void TRelayDestination::Join(const std::function<bool()>& aborted) {
    if (!m_thread.joinable()) {
        return;
    }
    WaitFor([this] { return m_phase == TPhase::Ended; }, aborted);
    m_thread.join();
}

} // namespace qx
