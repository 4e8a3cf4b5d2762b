// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FTPListItem.h"
#include "engine/FtpClientEx.h"
#include "engine/FtpFeatures.h"
#include "engine/ListDecoder.h"
#include "platform/MessageQueue.h"
#include "session/CertificateQuestion.h"
#include "session/FtpAuthenticate.h"
#include "session/RemoteProtocol.h"
#include "session/RequestWait.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qx {

// Drives one FTP engine on a worker thread for the session worker and the carrier worker
// alike, and is the FTP side of the protocol seam (session/RemoteProtocol.h): every engine
// request as a step that waits for its own completion (and for nothing else) through
// TRequestWait, abort and quit during a wait, the login with its retries, the memory of the
// transfer type, listings with link detection, the restart probe. Each step leaves its outcome
// in the owner's result fields: 0 success, 1 failure (with the error text), 2 aborted. What is
// FTP's alone (raw steps, FEAT, the engine itself for server-to-server copies) is reached
// through this class, not the seam.
//
// Log lines go out through the Deliver hook, each prefixed with its kind ("> ", "< ", "~ ",
// "! ") and, for a tagged driver (the carrier's), with the engine's host: "> [host]: ".
class TEngineDriver final : public TOutcomeProtocol {
public:
    using Request = void (TCustomFtpCliEx::*)();

    struct Hooks {
        // A session log line; may be queued, it carries a copy.
        std::function<void(const std::string& line)> Deliver;
        std::function<void(std::int64_t position, std::int64_t transfered, std::int64_t elapsed)>
            Progress;
        // Every reply line the engine receives, before it is logged (optional).
        std::function<void(const std::string& reply)> Reply;
        // Something a listing left out (optional; without it the text is only logged).
        std::function<void(const std::string& text)> Skipped;
    };

    using Outcome = TProtocolOutcome;

    using LoginPlan = TLoginPlan;

    TEngineDriver(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode,
                  Outcome outcome, Hooks hooks, bool tagged);
    ~TEngineDriver() override;
    TEngineDriver(const TEngineDriver&) = delete;
    TEngineDriver& operator=(const TEngineDriver&) = delete;

    TFtpClientEx& Engine() { return *m_engine; }

    // --- Steps ---
    // One engine request and the wait for its completion; the outcome. A request the engine
    // refuses before sending anything is a failed step. A failure the engine found itself (a
    // time-out, a local file, a refused command) is logged as a "! " line, since no reply line
    // of the server tells it.
    std::uint8_t Step(Request request);
    // Sends the text as a command (SITE, REST, ...).
    std::uint8_t Quote(const std::string& command);
    // Aborts the engine: outcome 2, "! Operation aborted.".
    void Abort() override;

    // --- Session ---
    // Opens, sends USER and PASS (asking for what is missing), with the plan's retries; a
    // failed attempt closes the connection before the next. A server that is too busy
    // ("421 ...") is tried again after a growing pause. True when logged in.
    bool Login(const LoginPlan& plan) override;
    // The last failed login ended on a busy refusal; Yielded: without trying again, as the plan
    // asked.
    bool LoginRefusedBusy() const { return m_loginBusy; }
    bool LoginYielded() const { return m_loginYielded; }
    // The restart probe: a server that takes both REST 1 and REST 0 can resume transfers. It
    // runs in binary mode, since servers refuse REST in ASCII mode, the mode a session starts
    // in. 2 when aborted; a refusal is no failure.
    std::uint8_t ProbeResume();
    bool ResumeSupported() const { return m_resumeSupported; }
    // The type last set on the server is forgotten (a new session).
    void ForgetType() { m_typeKnown = false; }
    // What the server answered to FEAT after the last login (Answered false when it did not).
    const TFtpFeatures& Features() const { return m_features; }
    // Listings use MLSD where the server offers it; off for a server that answers it badly.
    bool UseMlsd = true;
    // Minutes the server's LIST times run ahead of UTC: the shown times of LIST entries are moved
    // back by it (engine/ListDecoder.h).
    int TimeZoneOffset = 0;
    // The site's file-name character set as a choice text (base/NameCharset.h): empty for
    // Auto, which takes UTF-8 where FEAT offers it.
    std::string NameCharset;
    // TYPE, unless the server has that type already.
    std::uint8_t SetType(bool binary) override;
    bool Binary() const override { return m_engine->Binary(); }
    bool NamesDownloadSize() const override { return m_engine->NamesDownloadSize(); }

    // CWD into the folder, TYPE A, LIST decoded into the target as it arrives; links
    // are then probed to tell folder links from file links. Lines longer than a listing can
    // hold are reported. The folder is entered as given (a bare name is relative); it is a
    // copy, since callers pass the engine's HostDirName, which the probes change.
    //
    // A listing to show uses MLSD where the server offers it (exact sizes and times). A
    // listing that a recursive operation walks uses LIST: servers differ on whether MLSD
    // shows links at all, and the walks' rules (never loop, never remove through a link)
    // depend on seeing them.
    bool ListFolder(std::string folder, TFTPListItems& target,
                    Purpose purpose = Purpose::Walk) override;

    // The modification time of a remote file, or nothing when the server does not tell; only
    // an abort is a failure. MDTM is asked where FEAT offered it (or always, with
    // unannounced), MLST where FEAT offered that and MDTM told nothing.
    std::optional<std::int64_t> ModifiedTime(const std::string& path,
                                             bool unannounced = false) override;

    // --- The rest of the seam ---
    std::uint8_t Quit() override;
    bool Connected() override;
    TRemoteCapabilities Capabilities() const override;
    std::uint8_t CurrentFolder(std::string& folder) override;
    std::uint8_t ChangeFolder(const std::string& folder) override;
    std::uint8_t ChangeToParent() override;
    std::uint8_t MakeFolder(const std::string& path) override;
    std::uint8_t RemoveFolder(const std::string& path) override;
    std::uint8_t Size(const std::string& path, std::int64_t& size) override;
    // FTP has no command for it that every server takes: MFMT where FEAT offers it, else
    // "MDTM time path", else SITE UTIME in its two common forms. A form the server refuses is
    // not sent again in the session; once one worked only that one is used. When none works the
    // log says once in the session that file times cannot be kept on this server; the outcome
    // is then a failure, which callers take as a note.
    std::uint8_t SetModifiedTime(const std::string& path, std::int64_t time) override;
    std::uint8_t RemoveFile(const std::string& path) override;
    // RNFR and RNTO; with replace, where the server refuses to rename over a file, the old
    // one is deleted first.
    std::uint8_t Rename(const std::string& from, const std::string& to, bool replace) override;
    // SITE CHMOD.
    std::uint8_t ChangeMode(const std::string& mode, const std::string& path) override;
    std::uint8_t RawCommand(const std::string& command) override { return Quote(command); }
    // RETR, or REST and RETR from the partial file.
    std::uint8_t Download(const std::string& remotePath, const std::string& localPath, bool resume,
                          std::int64_t expectedSize) override;
    // STOR, or REST and APPE.
    std::uint8_t Upload(const std::string& localPath, const std::string& remotePath,
                        std::int64_t appendAt) override;
    std::uint8_t DownloadTo(const std::string& remotePath, TByteSink& sink, std::int64_t offset,
                            std::int64_t expectedSize) override;
    std::uint8_t UploadFrom(TByteSource& source, const std::string& remotePath,
                            std::int64_t appendAt) override;

    // --- Log lines ---
    // "k text" or "k [host]: text"; muted lines (retries of a reported login) are dropped.
    void Line(char kind, const std::string& text) override;
    // Link probes leave no command and reply lines.
    bool Quiet = false;
    // What a tagged driver's lines carry in brackets: the engine's host name, or this when set
    // (host and port, where two sessions of one job go to the same host).
    std::string Tag;
    std::string TagName() const { return Tag.empty() ? m_engine->HostName : Tag; }

private:
    void InstallEngineHandlers();
    // Hands the buckets of SpeedLimits to the engine before a transfer.
    void ApplySpeedLimits();
    void Wait();
    // Runs the step with the engine's file names set for it, and puts them back after.
    std::uint8_t StepOn(Request request, const std::string& hostFile,
                        const std::string& localFile = {});
    std::string Tagged(char kind, const std::string& text) const;
    enum class Attempt { LoggedIn, Failed, End };
    Attempt LoginAttempt(const LoginPlan& plan);
    bool AskFor(const LoginPlan& plan, TFTPAuthenticate what, std::string& value);
    // FEAT, and OPTS UTF8 ON where offered; false only when aborted.
    bool AskFeatures();
    // Sets the engine's set by the choice; true when names go in UTF-8.
    bool UseNameCharset(bool serverOffersUtf8);
    // The listing of the current folder into the list, with MLSD or LIST.
    void ReceiveListing(TFTPListItems& listing, TListDecodeReport& report, bool machine);
    bool TrustCertificate(const LoginPlan& plan);
    void DetectLinks(TFTPListItems& target, const std::string& listedFolder);

    TRequestWait m_wait;
    Hooks m_hooks;
    const bool m_tagged;
    std::unique_ptr<TFtpClientEx> m_engine;

    // The completion being waited for has a number above this one (Engine's
    // CompletionsPosted() when the request was issued).
    std::uint64_t m_waitingAfter = 0;
    bool m_muted = false;
    bool m_loginBusy = false;
    bool m_loginYielded = false;
    bool m_resumeSupported = false;
    bool m_typeKnown = false;
    bool m_knownBinary = false;
    TFtpFeatures m_features;
    // The ways of setting a file's time, in the order they are tried (SetModifiedTime).
    enum class TimeSetWay : std::uint8_t { Mfmt, MdtmSet, SiteUtime, SiteUtimeFull, None };
    // The way that worked in this session (None: none yet); refused ways by bit.
    TimeSetWay m_timeSetWay = TimeSetWay::None;
    std::uint8_t m_timeSetRefused = 0;
    bool m_timeSetReported = false;
};

} // namespace qx
