#pragma once

#include "engine/FTPListItem.h"
#include "engine/FtpClientEx.h"
#include "engine/FtpFeatures.h"
#include "engine/ListDecoder.h"
#include "platform/MessageQueue.h"
#include "session/CertificateQuestion.h"
#include "session/FtpAuthenticate.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qx {

// Drives one FTP engine on a worker thread for the session worker and the carrier worker
// alike: every engine request as a step that waits for its own completion (and for nothing
// else), abort and quit during a wait, the login with its retries, the memory of the transfer
// type, listings with link detection, and single file transfers. Each step leaves its outcome
// in the owner's result fields: 0 success, 1 failure (with the error text), 2 aborted.
//
// Log lines go out through the Deliver hook, each prefixed with its kind ("> ", "< ", "~ ",
// "! ") and, for a tagged driver (the carrier's), with the engine's host: "> [host]: ".
class TEngineDriver {
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

    // The owner's result fields.
    struct Outcome {
        std::uint8_t& ResultCode;
        std::string& ErrorMessage;
    };

    // How a login goes: the number of attempts, the pause after a failed one, where a missing
    // user name or password is asked (none: nothing is asked), and whether each attempt is
    // reported with the carrier's lines (failure, retry and success lines; the retries run
    // without their own connection lines).
    struct LoginPlan {
        int Attempts = 1;
        int DelaySeconds = 0;
        std::function<bool(TFTPAuthenticate what, std::string& answer)> Ask;
        bool ReportAttempts = false;
        // Asked when the server's certificate cannot be verified and is not trusted yet: true
        // trusts it for this session and the attempt connects again with it. Without it, or
        // when it says no, the login ends (no retry shows another certificate).
        std::function<bool(const TCertificateQuestion&)> TrustCertificate;
        // A server at its connection limit ("421 ..." at login) is tried again after pauses of
        // 1, 2, 4, ... 30 seconds. For as long as these pauses add up to at most
        // BusyRetrySeconds such a refusal uses up no attempt; with 0 it counts as one.
        int BusyRetrySeconds = 0;
        // Asked at such a refusal: true ends the login at once (the caller has other
        // connections to the server and lets its work wait for one of them).
        std::function<bool()> YieldWhenBusy;
    };

    TEngineDriver(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode,
                  Outcome outcome, Hooks hooks, bool tagged);
    ~TEngineDriver();
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
    bool Failed() const { return m_outcome.ResultCode != 0; }
    bool Aborted() const { return m_outcome.ResultCode == 2; }
    void Fail(const std::string& errorMessage);
    // A failed probe (SIZE, MDTM) that tells only that the server knows nothing: no failure.
    void ClearFailure();
    // Fails with the text and logs it as a "! " line.
    void FailAndLog(const std::string& errorMessage);
    // Aborts the engine: outcome 2, "! Operation aborted.".
    void Abort();

    // What woke a wait up that is not a step's (the carrier's server-to-server transfer).
    enum class Wake { Message, Abort, Quit };
    // Dispatches the next message of the queue, blocking; the quit message is posted again so
    // that the thread's own loop sees it too.
    Wake WaitForMessage();
    // Waits the seconds unless an abort or quit comes first (then false).
    bool Pause(int seconds);

    // --- Session ---
    // Opens, sends USER and PASS (asking for what is missing), with the plan's retries; a
    // failed attempt closes the connection before the next. A server that is too busy
    // ("421 ...") is tried again after a growing pause. True when logged in.
    bool Login(const LoginPlan& plan);
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
    // TYPE, unless the server has that type already.
    std::uint8_t SetType(bool binary);

    // CWD into the folder, TYPE A, LIST decoded into the target as it arrives; links
    // are then probed to tell folder links from file links. Lines longer than a listing can
    // hold are reported. The folder is entered as given (a bare name is relative); it is a
    // copy, since callers pass the engine's HostDirName, which the probes change.
    //
    // A listing to show uses MLSD where the server offers it (exact sizes and times). A
    // listing that a recursive operation walks uses LIST: servers differ on whether MLSD
    // shows links at all, and the walks' rules (never loop, never remove through a link)
    // depend on seeing them.
    enum class Purpose { Show, Walk };
    bool ListFolder(std::string folder, TFTPListItems& target, Purpose purpose = Purpose::Walk);

    // The modification time of a remote file, or nothing when the server does not tell; only
    // an abort is a failure. MDTM is asked where FEAT offered it (or always, with
    // unannounced), MLST where FEAT offered that and MDTM told nothing.
    std::optional<std::int64_t> RemoteTime(const std::string& path, bool unannounced = false);

    // Downloads the engine's HostFileName into its LocalFileName with the type already set:
    // SIZE and the remote time, then RETR into the partial file. With resume, a binary
    // download goes on from a partial file that an earlier one left of this very file
    // (session/ResumeRule.h), and one that holds all of it takes the file's place without a
    // transfer; any other partial file is downloaded again from 0, and the log says why.
    // A download that does not complete leaves its partial file with the remote time.
    // sizeKnown hears the size SIZE reported (or -1) before the data flows.
    std::uint8_t Download(bool resume, const std::function<void(std::int64_t)>& sizeKnown);
    // Uploads the engine's LocalFileName to its HostFileName with the type already set. With
    // UploadToTemporaryName the data goes to a temporary name beside the target (STOR, or
    // with resume APPE after the part of it the server holds, unless that part is longer than
    // the local file), which then takes the target's place (PutInPlace); without it STOR goes
    // to the target itself and nothing is resumed.
    std::uint8_t Upload(bool resume);
    bool UploadToTemporaryName = true;
    // Renames a complete upload over its target; where the server refuses to rename over a
    // file, the old one is deleted first. True when the upload took the target's place.
    bool PutInPlace(const std::string& temporary, const std::string& target);

    // --- Log lines ---
    // "k text" or "k [host]: text"; muted lines (retries of a reported login) are dropped.
    void Line(char kind, const std::string& text);
    // Link probes leave no command and reply lines.
    bool Quiet = false;
    // What a tagged driver's lines carry in brackets: the engine's host name, or this when set
    // (host and port, where two sessions of one job go to the same host).
    std::string Tag;
    std::string TagName() const { return Tag.empty() ? m_engine->HostName : Tag; }

private:
    void InstallEngineHandlers();
    void Wait();
    std::string Tagged(char kind, const std::string& text) const;
    enum class Attempt { LoggedIn, Failed, End };
    Attempt LoginAttempt(const LoginPlan& plan);
    bool AskFor(const LoginPlan& plan, TFTPAuthenticate what, std::string& value);
    // FEAT, and OPTS UTF8 ON where offered; false only when aborted.
    bool AskFeatures();
    // The listing of the current folder into the list, with MLSD or LIST.
    void ReceiveListing(TFTPListItems& listing, TListDecodeReport& report, bool machine);
    bool TrustCertificate(const LoginPlan& plan);
    void DetectLinks(TFTPListItems& target, std::string listedFolder);

    MessageQueue& m_queue;
    std::atomic<bool>& m_abortFlag;
    const unsigned m_abortCode;
    Outcome m_outcome;
    Hooks m_hooks;
    const bool m_tagged;
    std::unique_ptr<TFtpClientEx> m_engine;

    // The completion being waited for has a number above this one (Engine's
    // CompletionsPosted() when the request was issued).
    std::uint64_t m_waitingAfter = 0;
    bool m_requestDone = false;
    std::uint16_t m_requestError = 0;
    bool m_muted = false;
    bool m_loginBusy = false;
    bool m_loginYielded = false;
    bool m_resumeSupported = false;
    bool m_typeKnown = false;
    bool m_knownBinary = false;
    TFtpFeatures m_features;
};

} // namespace qx
