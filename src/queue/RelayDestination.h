// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FtpClientEx.h"
#include "platform/MessageQueue.h"
#include "queue/RelayRing.h"
#include "session/EngineDriver.h"
#include "session/SftpProtocol.h"
#include "session/TargetGuard.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace qx {

// The destination of a relayed copy: a protocol of its own on a thread of its own, with its own
// message queue, so that it uploads what the carrier's thread downloads from the source at the
// same time. It logs in, asks before it replaces the target, finds where the upload starts
// (UploadFile's rules), offers that to the carrier and, once told to go, uploads the ring's
// bytes, checks the size and puts the copy in place. A failure fails the ring, which ends the
// source's download too.
class TRelayDestination {
public:
    // Everything it needs, copied before its thread starts.
    struct TPlan {
        bool Sftp = false;
        std::function<void(TFtpClientEx&)> ConfigureFtp; // an FTP side's settings
        std::string Tag;                                 // an FTP side's log tag
        TSftpSite Site;                                  // an SFTP side's
        TSshAsk AskSsh;
        TEngineDriver::Hooks Hooks;
        TLoginPlan Login;
        bool Binary = true;
        bool UploadToTemporaryName = true;
        std::string Target;
        bool Resume = false;
        bool ResumeSupported = false; // by the source
        std::int64_t SourceSize = -1;
        std::optional<std::int64_t> SourceTime;
        TTargetGuard::TAsk Ask; // null: the target is replaced as it comes
    };

    TRelayDestination(TPlan plan, TRelayRing& ring);
    ~TRelayDestination();
    TRelayDestination(const TRelayDestination&) = delete;
    TRelayDestination& operator=(const TRelayDestination&) = delete;

    void Start();
    // Until the destination offers where the data goes (true) or ended without (false: failed,
    // skipped or aborted; a skip ends with ResultCode() 0). An abort seen by aborted() is passed
    // on.
    bool WaitForOffer(const std::function<bool()>& aborted);
    // The offer: the target (the question may have renamed it) and the offset the data must
    // start at.
    const std::string& Target() const { return m_target; }
    std::int64_t StartAt() const { return m_startAt; }
    // The answer to the offer: the upload starts, or the destination ends.
    void Go(bool go);
    // Ends the destination's work as aborted.
    void Abort();
    // Until the thread has ended; an abort seen by aborted() is passed on.
    void Join(const std::function<bool()>& aborted);

    // After Join.
    std::uint8_t ResultCode() const { return m_resultCode; }
    const std::string& ErrorMessage() const { return m_errorMessage; }
    // The destination failed before the source did (its failure is the copy's).
    bool FailedFirst() const { return m_failedFirst; }

private:
    enum class TPhase { Preparing, Offered, Ended };
    void Body();
    void Work(TRemoteProtocol& remote);
    std::unique_ptr<TRemoteProtocol> MakeProtocol(TProtocolOutcome outcome);
    void Offer(const std::string& target, std::int64_t startAt);
    // Waits until pred holds; an abort seen by aborted() is passed on once.
    void WaitFor(const std::function<bool()>& pred, const std::function<bool()>& aborted);

    const TPlan m_plan;
    TRelayRing& m_ring;
    MessageQueue m_queue;
    std::atomic<bool> m_abort{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    TPhase m_phase = TPhase::Preparing;
    std::optional<bool> m_go;
    std::string m_target;
    std::int64_t m_startAt = 0;
    std::uint8_t m_resultCode = 0;
    std::string m_errorMessage;
    bool m_failedFirst = false;
    std::thread m_thread;
};

} // namespace qx
