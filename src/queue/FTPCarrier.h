// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/CertificateQuestion.h"
#include "session/OverwriteRule.h"

#include "base/AsciiExtensions.h"
#include "base/SshSettings.h"
#include "base/TokenBucket.h"
#include "base/TransferType.h"
#include "engine/sftp/SshQuestion.h"
#include "queue/CarrierJobs.h"
#include "queue/FTPCarryItem.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx {

// Job codes: the user-message base plus 0 to 6.
namespace carrier_job {
#define QX_JOB_CODE(name, code, doneEvent, bothServers) constexpr unsigned name = code;
QX_CARRIER_JOBS(QX_JOB_CODE)
#undef QX_JOB_CODE
constexpr unsigned Abort = 0x0406;
} // namespace carrier_job

// One end of a carrier's job.
enum class TCarrierSide : std::uint8_t { None, Source, Destination };

// A carrier carries out one queue item: it transfers one file or explores one folder, and
// raises exactly one done event for the job. This is what the scheduler sees of it; the real
// one runs its job on a worker thread of its own (TThreadedFTPCarrier), and tests may put a
// double in its place.
class TFTPCarrier : public TCarryJob {
public:
    using TNotifyEvent = std::function<void(TFTPCarrier&)>;
    using TFTPDisplayEvent = std::function<void(TFTPCarrier&, const std::string& msg)>;
    using TFTPTransferStatusEvent = std::function<void(
        TFTPCarrier&, std::int64_t position, std::int64_t transfered, std::int64_t elapsed)>;

    TFTPCarrier() = default;
    virtual ~TFTPCarrier() = default;
    TFTPCarrier(const TFTPCarrier&) = delete;
    TFTPCarrier& operator=(const TFTPCarrier&) = delete;

    // --- The job (written before it starts, read by its worker; TCarryJob the rest) ---
    std::int64_t FileSize = 0;                   // for progress; -1 unknown
    int ConnectRetry = 30;                       // login attempts per server
    const TAsciiExtensions* ASCIIExts = nullptr; // referenced, not owned
    // Seconds a job may wait on the network without a byte moving before it fails with
    // "421 Timed out after %d seconds."; 0 waits for ever.
    int Timeout = 30;
    // Downloads and uploads give the copy the modification time of its original (the owner
    // sets it from its options).
    bool KeepFileTimes = false;
    // After a job that got through, stay logged in instead of sending QUIT, so that the next
    // job of this carrier on the same server and login starts at once.
    bool KeepSession = false;
    // A server at its connection limit ("421 ..." at login) is tried again after pauses of 1,
    // 2, 4, ... 30 seconds for as long as they add up to at most this, before the job fails.
    int BusyRetrySeconds = 120;
    // The speed limits the job keeps to; the queue's carriers share one pair of buckets.
    TSpeedLimits SpeedLimits;

    // --- Events, raised on the user-interface thread ---
    TFTPDisplayEvent OnDisplay;
    // Asked before a job replaces a file (the carrier probes the server for the remote side);
    // without it files are replaced as they come.
    std::function<void(TFTPCarrier&, const TOverwriteQuestion&, TOverwriteAnswer&)> OnOverwrite;
    // Asked when a server's certificate cannot be verified and is not trusted yet (true
    // trusts it); without it such a certificate fails the job.
    std::function<void(TFTPCarrier&, const TCertificateQuestion&, bool& trust)> OnCertificate;
    // Asked when ssh asks what the password does not answer on an SFTP side (an unknown host
    // key: "yes" trusts it); the answer left empty, or no handler, fails the login.
    std::function<void(TFTPCarrier&, const sftp::TSshQuestion&, std::optional<std::string>&)>
        OnSshQuestion;
    // Certificates trusted without verification (the command line's --pin, --insecure).
    std::vector<std::string> TrustedFingerprints;
    bool AcceptAnyCertificate = false;
    // Asked when a server of the job refuses a connection for being at its limit: yield (set
    // by the owner when other jobs of its own hold connections to that server) ends the job at
    // once, Yielded, instead of trying again.
    std::function<void(TFTPCarrier&, TCarrierSide side, bool& yield)> OnServerBusy;
    TNotifyEvent OnCarryDone;
    TNotifyEvent OnExploreDone;
    TFTPTransferStatusEvent OnTransferStatus;
    TNotifyEvent OnEndThread;

    // --- Results, valid in the done events ---
    std::uint8_t ResultCode = 0; // 0 success, 1 failure, 2 aborted
    std::string ErrorMessage;
    TFTPCarryItems Items; // what an explore job found
    // What an explore job left out (names that cannot be carried, links that loop, special
    // files, listing lines that cannot be read), one line each.
    std::vector<std::string> SkippedEntries;
    // The end whose busy refusal failed the job (None when that was not why), and whether the
    // job gave way to the owner's other jobs there (see OnServerBusy).
    TCarrierSide BusySide = TCarrierSide::None;
    bool Yielded = false;
    // The owner's back-reference (the scheduler keeps its status row here).
    std::uint64_t Tag = 0;

    // Copies the job out of a queue item.
    void TakeJobFrom(const TFTPCarryItem& item);

    // --- Jobs ---
#define QX_JOB_METHOD(name, code, doneEvent, bothServers)                                          \
    void name() {                                                                                  \
        RunJob(carrier_job::name);                                                                 \
    }
    QX_CARRIER_JOBS(QX_JOB_METHOD)
#undef QX_JOB_METHOD
    // Starts the job of an item: by its direction, carrying a file or exploring a folder.
    // False, with nothing started, for a direction that has no job.
    bool StartJobFor(const TFTPCarryItem& item);

    // Ends the running job as aborted.
    virtual void Abort() = 0;
    virtual void StopThread() = 0;

protected:
    virtual void RunJob(unsigned code) = 0;
};

} // namespace qx
