// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AsciiExtensions.h"
#include "base/ProxySettings.h"
#include "base/SshSettings.h"
#include "base/TokenBucket.h"
#include "base/TransferType.h"
#include "engine/FTPListItem.h"
#include "engine/FtpFeatures.h"
#include "engine/FtpTypes.h"
#include "engine/TlsCertificate.h"
#include "engine/sftp/SshQuestion.h"
#include "platform/UiThread.h"
#include "session/CertificateQuestion.h"
#include "session/FtpAuthenticate.h"
#include "session/FtpRequests.h"
#include "session/OverwriteRule.h"
#include "session/StringList.h"
#include "session/WorkerOwner.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qx {

class TFTPClientThread;

// Request codes posted to the worker: the user-message base plus 100 to 115.
namespace ftp_request {
constexpr unsigned kUserMessage = 0x0400;
#define QX_REQUEST_CODE(name, code, status, consumesHostNames, consumesLocalNames)                 \
    constexpr unsigned name = code;
QX_FTP_REQUESTS(QX_REQUEST_CODE)
#undef QX_REQUEST_CODE
constexpr unsigned Abort = kUserMessage + 108;
} // namespace ftp_request

// One FTP session on a worker thread of its own. The owner (a window, or the command-line
// tool) fills the request fields, calls one request method and later receives exactly one done
// event for it; meanwhile the session reports log lines, status texts ("% ..."), progress and
// authentication questions. Every event runs on the user-interface thread, delivered through
// UiThread while the worker waits for it to return.
//
// The worker keeps the client alive while it runs, so the owner may go away before the worker
// has ended: it then calls Detach(), after which no event and no question reaches it (a
// question is answered as cancelled: no file replaced, no certificate trusted), and the worker
// ends once it has aborted the request under way.
//
// Threads: request fields are written by the owner before a request and read by the worker
// during it (the owner leaves them alone while Busy()); result fields are written by the worker
// and read by the owner in the handlers the worker raises. Busy and the abort flag are atomic.
class TThreadedFTPClient final : public TWorkerOwner,
                                 public std::enable_shared_from_this<TThreadedFTPClient> {
public:
    using TNotifyEvent = std::function<void(TThreadedFTPClient&)>;
    using TFTPDisplayEvent = std::function<void(TThreadedFTPClient&, const std::string& msg)>;
    using TFTPAuthenticateEvent = std::function<void(TThreadedFTPClient&, TFTPAuthenticate auth,
                                                     std::string& need, bool& cancel)>;
    using TFTPOverwriteEvent = std::function<void(
        TThreadedFTPClient&, const TOverwriteQuestion& question, TOverwriteAnswer& answer)>;
    using TFTPCertificateEvent =
        std::function<void(TThreadedFTPClient&, const TCertificateQuestion& question, bool& trust)>;
    // answer left empty cancels the login.
    using TSshQuestionEvent =
        std::function<void(TThreadedFTPClient&, const sftp::TSshQuestion& question,
                           std::optional<std::string>& answer)>;
    using TFTPTransferStatusEvent = std::function<void(
        TThreadedFTPClient&, std::int64_t position, std::int64_t transfered, std::int64_t elapsed)>;

    static std::shared_ptr<TThreadedFTPClient> Create(UiThread& ui);
    ~TThreadedFTPClient() override;
    TThreadedFTPClient(const TThreadedFTPClient&) = delete;
    TThreadedFTPClient& operator=(const TThreadedFTPClient&) = delete;

    // --- Request fields ---
    std::string HostName;
    std::string Port;
    std::string UserName;
    std::string Password;
    std::string HostDirName;
    std::string LocalDirName;
    std::string HostFileName;
    std::string LocalFileName;
    // Extensions that automatic transfers send as ASCII; referenced, not owned.
    const TAsciiExtensions* ASCIIExts = nullptr;
    int LoginRetry = 30;
    int ReloginDelay = 1;
    bool ResumeTransfer = false;
    TFTPTransferType TransferType = TFTPTransferType::ftpTypeBinary;
    std::string InitialFolder;
    bool PassiveMode = true;
    // Listings use MLSD where the server offers it.
    bool UseMlsd = true;
    // Uploads travel under a temporary name and are renamed over their target when complete
    // (off for servers that refuse renames).
    bool UploadToTemporaryName = true;
    // Minutes the server's LIST times run ahead of UTC (engine/FTPListItem.h, EntryUtcTime).
    int TimeZoneOffset = 0;
    // The file-name character set as a choice text (base/NameCharset.h); empty: Auto.
    std::string NameCharset;
    // Downloads and uploads give the copy the modification time of its original; read at each
    // transfer.
    bool KeepFileTimes = false;
    TFtpTlsMode Encryption = TFtpTlsMode::None;
    TRemoteProtocolKind Protocol = TRemoteProtocolKind::Ftp;
    TSshSettings Ssh; // SFTP only
    TProxySettings Proxy;
    // SHA-256 fingerprints of certificates trusted without verification (the command line's
    // --pin); any certificate with AcceptAnyCertificate (--insecure).
    std::vector<std::string> TrustedFingerprints;
    bool AcceptAnyCertificate = false;
    // Seconds a request may wait on the network without a byte moving before it fails with
    // "421 Timed out after %d seconds." (the global option); 0 waits for ever.
    int Timeout = 30;
    // The worker runs at the lowest priority, so that windows stay responsive.
    bool LowestPriority = true;
    // The speed limits of downloads and uploads; their rates may change while they run.
    TSpeedLimits SpeedLimits;
    // Seconds without a request after which an idle connection is kept alive: FTP sends NOOP,
    // SFTP has ssh check the server at that interval. 0 sends nothing. Read by Connect.
    int KeepAliveInterval = 0;

    // --- Events ---
    TFTPDisplayEvent OnDisplay;
    TFTPAuthenticateEvent OnAuthenticate;
    TFTPTransferStatusEvent OnTransferStatus;
    // Asked before a download or an upload replaces a file (probing the server for the remote
    // side); without it files are replaced as they come.
    TFTPOverwriteEvent OnOverwrite;
    // Asked when the server's certificate cannot be verified and is not trusted yet; without
    // it such a certificate ends the login.
    TFTPCertificateEvent OnCertificate;
    // SFTP: a question ssh asks (a passphrase, a keyboard-interactive prompt, an unknown host
    // key: "yes" trusts it) that Password cannot answer; without it such a question ends the
    // login.
    TSshQuestionEvent OnSshQuestion;
#define QX_DONE_EVENT(name, code, status, consumesHostNames, consumesLocalNames)                   \
    TNotifyEvent On##name##Done;
    QX_FTP_REQUESTS(QX_DONE_EVENT)
#undef QX_DONE_EVENT
    TNotifyEvent OnEndThread;

    // --- Results ---
    bool Busy() const {
        return m_busy.load();
    }
    std::uint8_t ResultCode = 0; // 0 success, 1 failure, 2 aborted or cancelled
    std::string ErrorMessage;
    std::string SystemName;
    bool ResumeSupported = false;
    // The server's answer to FEAT at the last login.
    TFtpFeatures Features;
    // What Server Information shows of an SFTP connection (ssh's facts of the connection, the
    // SFTP version and extensions), one "name: value" a line; empty for FTP.
    std::string ServerInfoText;
    std::int64_t FileSize = -1;
    TFTPListItems* ListItems = nullptr; // listing target of GetListItems, the caller's
    TStringList HostFileNames;
    TStringList LocalFileNames;
    // The entries a recursive request left out (names that cannot be used, folder links that
    // loop or lead out, special files, listing lines that cannot be read), one line each;
    // filled by Downloads, Uploads and Remove and read in their done handlers.
    std::vector<std::string> SkippedEntries;
    // The entries a recursive download could not fetch and went on past, "[remote path]: why"
    // each; filled by Downloads, which then fails.
    std::vector<std::string> FailedEntries;
    // The address the host name resolved to, and the folder of the last PWD reply.
    const std::string& HostAddress() const {
        return m_hostAddress;
    }
    const std::string& CurrentFolder() const {
        return m_currentFolder;
    }

    // --- Lifecycle ---
    void StartThread();
    void StopThread();
    // The owner goes away: no event or question reaches it any more and the worker stops.
    void Detach();
    bool WorkerRunning() const {
        return m_workers.Running();
    }

    // --- Requests ---
#define QX_REQUEST_METHOD(name, code, status, consumesHostNames, consumesLocalNames)               \
    void name() {                                                                                  \
        Post(ftp_request::name);                                                                   \
    }
    QX_FTP_REQUESTS(QX_REQUEST_METHOD)
#undef QX_REQUEST_METHOD
    void Abort();

    // Calls the function with every done event, for owners that handle them all alike.
    template <typename Function> void ForEachDoneEvent(Function&& function) {
#define QX_EACH_DONE_EVENT(name, code, status, consumesHostNames, consumesLocalNames)              \
    function(On##name##Done);
        QX_FTP_REQUESTS(QX_EACH_DONE_EVENT)
#undef QX_EACH_DONE_EVENT
    }

private:
    friend class TFTPClientThread;
    explicit TThreadedFTPClient(UiThread& ui);
    void Post(unsigned code);

    // The worker's side (TWorkerOwner).
    void ShowLine(const std::string& line) override;
    void ShowProgress(std::int64_t position, std::int64_t transfered,
                      std::int64_t elapsed) override;
    bool AskLogin(TFTPAuthenticate what, std::string& answer) override;
    bool TrustCertificate(const TCertificateQuestion& question) override;
    bool AnswersSshQuestions() const override {
        return !m_detached && static_cast<bool>(OnSshQuestion);
    }
    std::optional<std::string> AnswerSshQuestion(const sftp::TSshQuestion& question) override;
    bool AsksBeforeOverwrite() const override {
        return static_cast<bool>(OnOverwrite);
    }
    TOverwriteAnswer AskOverwrite(const TOverwriteQuestion& question) override;
    void WorkerEnded(TWorkerHost* worker) override;

    UiThread& m_ui;
    std::atomic<bool> m_busy{false};
    // Set by Detach: OnOverwrite stays as it was, since the worker reads whether there is one.
    std::atomic<bool> m_detached{false};
    TWorkerSet m_workers;
    std::string m_hostAddress;
    std::string m_currentFolder;
};

} // namespace qx
