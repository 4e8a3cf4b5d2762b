// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TokenBucket.h"
#include "engine/ByteStreams.h"
#include "engine/FTPListItem.h"
#include "session/CertificateQuestion.h"
#include "session/FtpAuthenticate.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qx {

// What a protocol can do beyond the primitives every protocol has.
struct TRemoteCapabilities {
    bool Resume = false;      // transfers go on at an offset (known after the login)
    bool ServerCopy = false;  // server-to-server copies between two sessions of the protocol
    bool ChangeMode = false;  // permissions can be set
    bool SetTime = false;     // a file's modification time can be set
    bool RawCommands = false; // commands typed by the user go to the server as they are
};

// How a login goes: the number of attempts, the pause after a failed one, where a missing
// user name or password is asked (none: nothing is asked), and whether each attempt is
// reported with the carrier's lines (failure, retry and success lines; the retries run
// without their own connection lines).
struct TLoginPlan {
    int Attempts = 1;
    int DelaySeconds = 0;
    std::function<bool(TFTPAuthenticate what, std::string& answer)> Ask;
    bool ReportAttempts = false;
    // Asked when the server's certificate cannot be verified and is not trusted yet: true
    // trusts it for this session and the attempt connects again with it. Without it, or
    // when it says no, the login ends (no retry shows another certificate).
    std::function<bool(const TCertificateQuestion&)> TrustCertificate;
    // A server at its connection limit is tried again after pauses of 1, 2, 4, ... 30
    // seconds. For as long as these pauses add up to at most BusyRetrySeconds such a refusal
    // uses up no attempt; with 0 it counts as one.
    int BusyRetrySeconds = 0;
    // Asked at such a refusal: true ends the login at once (the caller has other
    // connections to the server and lets its work wait for one of them).
    std::function<bool()> YieldWhenBusy;
};

// The seam between the workers and a remote file protocol. The session's operations, the
// carriers' jobs and the rules above them (temporary names, resume, the overwrite question,
// the walk rules: session/RemoteTransfers.h, session/TargetGuard.h) speak only to this; the
// FTP engine driver (session/EngineDriver.h) is one implementation.
//
// Every primitive runs on the worker's thread and returns when its request has completed:
// the outcome, 0 success, 1 failure (the error text in the owner's result fields), 2 aborted.
// A protocol whose client completes requests by callbacks on the worker's message queue
// waits for them with session/RequestWait.h, which also ends the wait on abort and quit, the
// same way for every protocol. Paths are as the server takes them; a bare name is relative to
// the current folder.
class TRemoteProtocol {
public:
    virtual ~TRemoteProtocol() = default;

    // The speed limits of downloads and uploads (the buckets may be shared with other
    // protocols and change their rates at any time).
    TSpeedLimits SpeedLimits;

    // --- Outcome and log ---
    virtual bool Failed() const = 0;
    virtual bool Aborted() const = 0;
    virtual const std::string& ErrorMessage() const = 0;
    virtual void Fail(const std::string& errorMessage) = 0;
    // A failed probe that tells only that the server knows nothing: no failure.
    virtual void ClearFailure() = 0;
    virtual void FailAndLog(const std::string& errorMessage) = 0;
    // Ends the request under way and the connection: outcome 2.
    virtual void Abort() = 0;
    // A session log line: kind '>' command, '<' reply, '~' note, '!' failure.
    virtual void Line(char kind, const std::string& text) = 0;

    // --- Session ---
    virtual bool Login(const TLoginPlan& plan) = 0;
    virtual std::uint8_t Quit() = 0;
    // The connection is still there (false once the server or an abort closed it).
    virtual bool Connected() = 0;
    virtual TRemoteCapabilities Capabilities() const = 0;

    // --- Folders ---
    virtual std::uint8_t CurrentFolder(std::string& folder) = 0;
    virtual std::uint8_t ChangeFolder(const std::string& folder) = 0;
    virtual std::uint8_t ChangeToParent() = 0;
    // Enters the folder and lists it into the target as the listing decoder reads it, with
    // links told apart as folder links and file links; the folder stays current. A listing to
    // show may use what the protocol shows best; one a walk reads must show links.
    enum class Purpose { Show, Walk };
    virtual bool ListFolder(std::string folder, TFTPListItems& target,
                            Purpose purpose = Purpose::Walk) = 0;
    virtual std::uint8_t MakeFolder(const std::string& path) = 0;
    virtual std::uint8_t RemoveFolder(const std::string& path) = 0;

    // --- Files ---
    // The size, or -1 with a failure when the server does not tell.
    virtual std::uint8_t Size(const std::string& path, std::int64_t& size) = 0;
    // The modification time, or nothing when the server does not tell (no failure); with
    // unannounced, ways the server did not announce are tried too.
    virtual std::optional<std::int64_t> ModifiedTime(const std::string& path,
                                                     bool unannounced = false) = 0;
    // Only where Capabilities().SetTime.
    virtual std::uint8_t SetModifiedTime(const std::string& path, std::int64_t time) = 0;
    virtual std::uint8_t RemoveFile(const std::string& path) = 0;
    // With replace, an existing target is replaced where the server would refuse it.
    virtual std::uint8_t Rename(const std::string& from, const std::string& to, bool replace) = 0;
    // mode as the user wrote it ("644").
    virtual std::uint8_t ChangeMode(const std::string& mode, const std::string& path) = 0;
    virtual std::uint8_t RawCommand(const std::string& command) = 0;

    // --- Transfers ---
    // Binary, or text with the line ends of each side (a protocol without text transfers
    // treats both alike).
    virtual std::uint8_t SetType(bool binary) = 0;
    virtual bool Binary() const = 0;
    // Whether the server names a download's size as the download starts, so that a download
    // with no partial file to go on from need not ask for the size first.
    virtual bool NamesDownloadSize() const = 0;
    // The remote file into the local one through its partial file (engine/LocalFileStream.h):
    // with resume on from what the partial file holds. expectedSize (or -1) is the size the
    // download must end with. Progress goes to the owner's progress hook.
    virtual std::uint8_t Download(const std::string& remotePath, const std::string& localPath,
                                  bool resume, std::int64_t expectedSize) = 0;
    // The local file to the remote path: from the start with appendAt -1, else appended to
    // the remote file, which holds the first appendAt bytes of it.
    virtual std::uint8_t Upload(const std::string& localPath, const std::string& remotePath,
                                std::int64_t appendAt) = 0;
    // The same with the bytes going to a sink or coming from a source instead of a local file
    // (a relay between two servers): the download starts at offset; the source gives the
    // upload's bytes from appendAt on (or from the start with -1). The streams may block.
    virtual std::uint8_t DownloadTo(const std::string& remotePath, TByteSink& sink,
                                    std::int64_t offset, std::int64_t expectedSize) = 0;
    virtual std::uint8_t UploadFrom(TByteSource& source, const std::string& remotePath,
                                    std::int64_t appendAt) = 0;

    // Uploads travel under a temporary name and are renamed over their target when complete
    // (off for servers that refuse renames).
    bool UploadToTemporaryName = true;
    // Completed transfers give the copy the modification time of its original
    // (session/FileTimes.h).
    bool KeepFileTimes = false;
};

// The owner's result fields, where every step leaves its outcome.
struct TProtocolOutcome {
    std::uint8_t& ResultCode;
    std::string& ErrorMessage;
};

// The outcome half of the seam, the same for every protocol: it reads and writes the owner's
// result fields.
class TOutcomeProtocol : public TRemoteProtocol {
public:
    explicit TOutcomeProtocol(TProtocolOutcome outcome) : m_outcome(outcome) {}

    bool Failed() const final { return m_outcome.ResultCode != 0; }
    bool Aborted() const final { return m_outcome.ResultCode == 2; }
    const std::string& ErrorMessage() const final { return m_outcome.ErrorMessage; }
    void Fail(const std::string& errorMessage) final {
        m_outcome.ResultCode = 1;
        m_outcome.ErrorMessage = errorMessage;
    }
    // A failed probe (SIZE, MDTM, ...) that tells only that the server knows nothing.
    void ClearFailure() final {
        m_outcome.ResultCode = 0;
        m_outcome.ErrorMessage.clear();
    }
    // Fails with the text and logs it as a "! " line.
    void FailAndLog(const std::string& errorMessage) final {
        Fail(errorMessage);
        Line('!', errorMessage);
    }

protected:
    TProtocolOutcome m_outcome;
};

} // namespace qx
