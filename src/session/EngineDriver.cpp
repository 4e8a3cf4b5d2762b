#include "session/EngineDriver.h"

#include "base/ShellIcons.h"
#include "engine/ListDecoder.h"
#include "engine/LocalFileStream.h"
#include "engine/MlsdFacts.h"
#include "session/RemoteNames.h"
#include "session/ResumeRule.h"
#include "session/SessionLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string_view>

namespace qx {

namespace {

// The longest pause before another attempt at a server that said it is too busy.
constexpr int kLongestBusyPause = 30;

} // namespace

TEngineDriver::TEngineDriver(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode,
                             Outcome outcome, Hooks hooks, bool tagged)
    : m_queue(queue), m_abortFlag(abortFlag), m_abortCode(abortCode), m_outcome(outcome),
      m_hooks(std::move(hooks)), m_tagged(tagged), m_engine(std::make_unique<TFtpClientEx>(queue)) {
    m_engine->MultiThreaded = true;
    m_engine->Timeout = 0; // the driver's waits end by completion, abort or the inactivity limit
    InstallEngineHandlers();
}

TEngineDriver::~TEngineDriver() = default;

void TEngineDriver::InstallEngineHandlers() {
    TFtpClientEx& engine = *m_engine;
    engine.OnCommand = [this](TCustomFtpCliEx&, std::string& command) {
        if (!Quiet) {
            Line('>', CommandLogLine(command).substr(2));
        }
    };
    engine.OnResponse = [this](TCustomFtpCliEx& e) {
        if (m_hooks.Reply) {
            m_hooks.Reply(e.LastResponse());
        }
        if (!Quiet) {
            Line('<', e.LastResponse());
        }
    };
    engine.OnConnectState = [this](TCustomFtpCliEx& e, TFTPConnectState state) {
        const std::string line = ConnectStateLogLine(state, e.HostName, e.DnsResult());
        Line(line.front(), line.substr(2));
    };
    engine.OnNote = [this](TCustomFtpCliEx&, std::string& note) { Line('!', note); };
    engine.OnTransferState = [this](TCustomFtpCliEx&, std::int64_t position,
                                    std::int64_t transfered, std::int64_t elapsed) {
        if (m_hooks.Progress) {
            m_hooks.Progress(position, transfered, elapsed);
        }
    };
    engine.OnRequestDone = [this](TCustomFtpCliEx& e, TFtpRequest, std::uint16_t error) {
        // The completion of an earlier request that was aborted may still come in while the
        // next one runs: only one posted after the request was issued is its own.
        if (e.DeliveredCompletion() > m_waitingAfter) {
            m_requestDone = true;
            m_requestError = error;
        }
    };
}

// --- Lines -----------------------------------------------------------------------------------

std::string TEngineDriver::Tagged(char kind, const std::string& text) const {
    std::string line(1, kind);
    line += ' ';
    if (m_tagged) {
        line += "[" + TagName() + "]: ";
    }
    return line + text;
}

void TEngineDriver::Line(char kind, const std::string& text) {
    if (!m_muted && m_hooks.Deliver) {
        m_hooks.Deliver(Tagged(kind, text));
    }
}

// --- Steps -----------------------------------------------------------------------------------

void TEngineDriver::Fail(const std::string& errorMessage) {
    m_outcome.ResultCode = 1;
    m_outcome.ErrorMessage = errorMessage;
}

void TEngineDriver::ClearFailure() {
    m_outcome.ResultCode = 0;
    m_outcome.ErrorMessage.clear();
}

void TEngineDriver::FailAndLog(const std::string& errorMessage) {
    Fail(errorMessage);
    Line('!', errorMessage);
}

std::uint8_t TEngineDriver::Step(Request request) {
    m_requestDone = false;
    m_waitingAfter = m_engine->CompletionsPosted();
    try {
        (m_engine.get()->*request)();
    } catch (const std::exception& refused) {
        // Refused before anything was sent (an empty user name, no connection, ...). A
        // connection the server has just closed is said as such.
        const bool closed = !m_engine->Connected() &&
                            m_engine->ControlSocket().State() == TSocketState::wsClosed &&
                            std::string_view(refused.what()) == "FTP component not connected";
        FailAndLog(closed ? "421 Connection closed by the server." : refused.what());
        return m_outcome.ResultCode;
    }
    Wait();
    return m_outcome.ResultCode;
}

std::uint8_t TEngineDriver::Quote(const std::string& command) {
    m_engine->LocalFileName = command;
    return Step(&TCustomFtpCliEx::Quote);
}

void TEngineDriver::Wait() {
    for (;;) {
        if (m_abortFlag.load()) {
            Abort();
            return;
        }
        if (m_requestDone) {
            // The completion is the end of the request, whatever state the engine went to
            // after it (a server that closes the connection with its final reply leaves it in
            // internal ready).
            m_abortFlag = false;
            if (m_requestError == 0) {
                m_outcome.ResultCode = 0;
                return;
            }
            const TFtpClientEx& engine = *m_engine;
            Fail(engine.ErrorMessage().empty() ? engine.LastResponse() : engine.ErrorMessage());
            if (engine.FailureMadeByEngine()) {
                const bool quiet = std::exchange(m_muted, false);
                Line('!', m_outcome.ErrorMessage);
                m_muted = quiet;
            }
            return;
        }
        const Wake wake = WaitForMessage();
        if (wake == Wake::Abort || wake == Wake::Quit) {
            Abort();
            return;
        }
    }
}

TEngineDriver::Wake TEngineDriver::WaitForMessage() {
    const MessageQueue::Message message = m_queue.take();
    if (message.kind == MessageQueue::Message::Kind::Quit) {
        m_queue.postQuit(); // so that the thread's own loop ends as well
        return Wake::Quit;
    }
    if (message.kind == MessageQueue::Message::Kind::Thread && message.thread.Code == m_abortCode) {
        return Wake::Abort;
    }
    // A window message has been dispatched; any other code is dropped.
    return Wake::Message;
}

void TEngineDriver::Abort() {
    m_abortFlag = false;
    m_engine->Abort();
    m_outcome.ResultCode = 2;
    m_outcome.ErrorMessage = Tagged('!', "Operation aborted.");
    if (m_hooks.Deliver) {
        m_hooks.Deliver(m_outcome.ErrorMessage); // even while muted
    }
}

bool TEngineDriver::Pause(int seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        if (m_abortFlag.load()) {
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) {
            return true;
        }
        const auto message = m_queue.takeFor(until - now);
        if (!message) {
            continue;
        }
        if (message->kind == MessageQueue::Message::Kind::Quit) {
            m_queue.postQuit();
            m_abortFlag = true; // the next step aborts
            return false;
        }
        if (message->kind == MessageQueue::Message::Kind::Thread &&
            message->thread.Code == m_abortCode) {
            m_abortFlag = true;
            return false;
        }
    }
}

// --- Login -----------------------------------------------------------------------------------

bool TEngineDriver::AskFor(const LoginPlan& plan, TFTPAuthenticate what, std::string& value) {
    if (!value.empty() || !plan.Ask) {
        return true; // nothing asked: the engine refuses an empty value as a failed attempt
    }
    if (plan.Ask(what, value)) {
        return true;
    }
    Line('!', "Login canceled.");
    m_outcome.ResultCode = 2;
    m_outcome.ErrorMessage = "! Login canceled.";
    m_engine->Abort();
    return false;
}

bool TEngineDriver::TrustCertificate(const LoginPlan& plan) {
    TFtpClientEx& engine = *m_engine;
    const TCertificateQuestion question{engine.HostName, engine.Port, engine.PeerCertificate()};
    if (plan.TrustCertificate && plan.TrustCertificate(question)) {
        engine.TlsTrustedFingerprints.push_back(question.Certificate.Sha256);
        Line('~', "The certificate of [" + engine.HostName + "] is trusted; connecting again.");
        return true;
    }
    // The failure stays the engine's text, which names the certificate and why it failed.
    m_outcome.ResultCode = 1;
    m_outcome.ErrorMessage = engine.ErrorMessage();
    return false;
}

TEngineDriver::Attempt TEngineDriver::LoginAttempt(const LoginPlan& plan) {
    TFtpClientEx& engine = *m_engine;
    const auto result = [this] {
        return Aborted() ? Attempt::End : Failed() ? Attempt::Failed : Attempt::LoggedIn;
    };
    if (Step(&TCustomFtpCliEx::Open) != 0) {
        if (engine.TlsRefused()) {
            return Attempt::End; // the same server refuses the same again
        }
        if (!engine.CertificateRejected() || Aborted()) {
            return result();
        }
        if (!TrustCertificate(plan)) {
            return Attempt::End;
        }
        if (Step(&TCustomFtpCliEx::Open) != 0) {
            return result();
        }
    }
    if (!AskFor(plan, TFTPAuthenticate::ftpAuthUserName, engine.UserName)) {
        return Attempt::End;
    }
    if (Step(&TCustomFtpCliEx::User) != 0 || engine.StatusCode() == 230) {
        return result(); // a 230 logs in without a password: PASS would be out of sequence
    }
    if (!AskFor(plan, TFTPAuthenticate::ftpAuthPassword, engine.PassWord)) {
        return Attempt::End;
    }
    Step(&TCustomFtpCliEx::Pass);
    return result();
}

bool TEngineDriver::Login(const LoginPlan& plan) {
    TFtpClientEx& engine = *m_engine;
    const std::string& host = engine.HostName;
    int busyPause = 1;
    int busyWaited = 0;
    int counter = plan.Attempts;
    m_loginBusy = false;
    m_loginYielded = false;
    while (counter > 0) {
        m_loginBusy = false;
        const Attempt attempt = LoginAttempt(plan);
        m_muted = false;
        if (attempt == Attempt::End) {
            return false;
        }
        if (attempt == Attempt::LoggedIn) {
            break;
        }
        // A server too busy for another session says so with 421. A 421 of the engine's own
        // (a time-out, a connection that closed) is no reason to wait longer.
        const bool busy = engine.StatusCode() == 421 && !engine.FailureMadeByEngine();
        m_loginBusy = busy;
        if (plan.ReportAttempts) {
            Line('!', "User [" + engine.UserName + "] failed to log in onto host [" + host +
                          "] on port [" + engine.Port + "]");
        }
        engine.Abort(); // the next attempt starts with a connection of its own
        if (busy && plan.YieldWhenBusy && plan.YieldWhenBusy()) {
            m_loginYielded = true;
            return false;
        }
        int pause = plan.DelaySeconds;
        if (busy) {
            pause = std::max(pause, busyPause);
            busyPause = std::min(busyPause * 2, kLongestBusyPause);
            if (busyWaited + pause <= plan.BusyRetrySeconds) {
                // Within the budget for a busy server: no attempt is used up.
                busyWaited += pause;
                Line('~', "The server has no room for another connection; trying again in " +
                              std::to_string(pause) + " second(s).");
                if (!Pause(pause)) {
                    Abort();
                    return false;
                }
                m_muted = plan.ReportAttempts;
                continue;
            }
        }
        --counter;
        if (counter > 0 && plan.ReportAttempts) {
            Line('~', "Retrying to connect host [" + host + "] on port [" + engine.Port + "]. " +
                          std::to_string(counter) + " connection retry remained");
        }
        // No pause after the last attempt: nothing follows it.
        if (counter > 0 && pause > 0 && !Pause(pause)) {
            Abort(); // aborted (or quit) while waiting between attempts
            return false;
        }
        m_muted = counter > 0 && plan.ReportAttempts; // later attempts run without lines
    }
    m_muted = false;
    if (counter <= 0) {
        m_outcome.ResultCode = 1;
        if (m_outcome.ErrorMessage.empty()) {
            m_outcome.ErrorMessage = "500 Login failed: no login attempt is allowed.";
        }
        engine.Abort();
        return false;
    }
    if (plan.ReportAttempts) {
        Line('~', "User [" + engine.UserName + "] logged in successfully onto host [" + host +
                      "] on port [" + engine.Port + "]");
    }
    m_outcome.ResultCode = 0;
    ForgetType();
    return AskFeatures();
}

bool TEngineDriver::AskFeatures() {
    m_features = {};
    if (Quote("FEAT") == 2) {
        return false;
    }
    if (!Failed()) {
        m_features = ParseFeatReply(m_engine->ReplyLines());
    }
    ClearFailure(); // a server without FEAT offers nothing beyond the basic commands
    if (m_features.Utf8) {
        if (Quote("OPTS UTF8 ON") == 2) {
            return false;
        }
        ClearFailure(); // names are kept as the bytes the server sends either way
    }
    // Servers send only the facts that are turned on; the listing wants these where offered.
    std::string facts;
    for (const char* fact : {"type", "size", "modify", "unix.mode"}) {
        if (m_features.HasMlstFact(fact)) {
            facts += std::string(fact) + ";";
        }
    }
    if (m_features.Mlsd && !facts.empty()) {
        if (Quote("OPTS MLST " + facts) == 2) {
            return false;
        }
        ClearFailure();
    }
    return true;
}

std::uint8_t TEngineDriver::ProbeResume() {
    m_resumeSupported = false;
    if (SetType(true) == 2 || Quote("REST 1") == 2) {
        return 2;
    }
    const bool restOne = !Failed();
    if (Quote("REST 0") == 2) {
        return 2;
    }
    m_resumeSupported = restOne && !Failed();
    ClearFailure();
    return 0;
}

// --- Types -----------------------------------------------------------------------------------

std::uint8_t TEngineDriver::SetType(bool binary) {
    if (m_typeKnown && m_knownBinary == binary) {
        m_outcome.ResultCode = 0;
        return 0;
    }
    m_engine->SetBinary(binary);
    if (Step(&TCustomFtpCliEx::SetType) == 0) {
        m_typeKnown = true;
        m_knownBinary = binary;
    }
    return m_outcome.ResultCode;
}

// --- Listings --------------------------------------------------------------------------------

bool TEngineDriver::ListFolder(std::string folder, TFTPListItems& target, Purpose purpose) {
    TFtpClientEx& engine = *m_engine;
    engine.HostDirName = folder;
    if (Step(&TCustomFtpCliEx::Cwd) != 0 || SetType(false) != 0) {
        return false; // listings travel as ASCII
    }
    TFTPListItems listing;
    TListDecodeReport report;
    const bool machine = purpose == Purpose::Show && UseMlsd && m_features.Mlsd;
    ReceiveListing(listing, report, machine);
    // A server that offers MLSD but refuses it as a command is listed with LIST from now on.
    const int code = engine.StatusCode();
    if (machine && Failed() && !Aborted() && (code == 500 || code == 502 || code == 504)) {
        m_features.Mlsd = false;
        ClearFailure();
        ReceiveListing(listing, report, false);
    }
    if (Failed()) {
        return false;
    }
    target.Append(std::move(listing));
    if (report.SkippedLongLines > 0) {
        const std::string text = "Skipped " + std::to_string(report.SkippedLongLines) +
                                 " line(s) of the listing of [" + folder + "] longer than " +
                                 std::to_string(kMaxListingLine / 1024) + " KiB.";
        if (m_hooks.Skipped) {
            m_hooks.Skipped(text);
        } else {
            Line('!', text);
        }
    }
    if (target.HasLinks) {
        DetectLinks(target, std::move(folder));
    }
    return !Failed();
}

void TEngineDriver::ReceiveListing(TFTPListItems& listing, TListDecodeReport& report,
                                   bool machine) {
    TFtpClientEx& engine = *m_engine;
    // The listing is decoded as it arrives, while the server is still producing the rest of
    // it; it reaches the target only when the whole listing came.
    listing.Clear();
    listing.HasLinks = false;
    TListDecodeStream decoder(listing, machine ? TListingFormat::Mlsd : TListingFormat::List);
    engine.HostFileName.clear();
    engine.LocalFileName.clear();
    engine.MachineListing = machine;
    engine.DisplayFileFlag = true;
    engine.DisplayFileStyle = 1; // one piece a block
    engine.OnDisplayFile = [&decoder](TCustomFtpCliEx&, std::string& piece) {
        decoder.Feed(piece);
    };
    Step(&TCustomFtpCliEx::Dir);
    engine.DisplayFileFlag = false;
    engine.OnDisplayFile = nullptr;
    engine.MachineListing = false;
    if (!Failed()) {
        decoder.Finish(&report);
    }
}

// A probe that succeeds enters the linked folder: the listed folder is made current again, since
// the recursive operations go on by bare names.
void TEngineDriver::DetectLinks(TFTPListItems& target, std::string listedFolder) {
    TFtpClientEx& engine = *m_engine;
    const TShellIcons& icons = SharedShellIcons();
    Line('~', "Auto-detecting link property...");
    Quiet = true;
    struct Unquiet {
        bool& quiet;
        ~Unquiet() { quiet = false; }
    } unquiet{Quiet};

    if (Step(&TCustomFtpCliEx::Pwd) == 2) {
        return;
    }
    const std::string back =
        !Failed() && !engine.DirResult().empty() ? engine.DirResult() : listedFolder;
    int folders = 0;
    int files = 0;
    for (const auto& item : target) {
        if (!item->IsLink) {
            continue;
        }
        engine.HostDirName = JoinRemotePath(listedFolder, item->Name);
        const std::uint8_t probe = Step(&TCustomFtpCliEx::Cwd);
        if (probe == 2) {
            return;
        }
        if (probe == 1) {
            ++files;
            SetEntryKind(*item, true, icons);
            continue;
        }
        ++folders;
        SetEntryKind(*item, false, icons);
        engine.HostDirName = back;
        if (Step(&TCustomFtpCliEx::Cwd) != 0) {
            if (!Aborted()) {
                FailAndLog("550 Cannot return to the folder [" + back +
                           "] after probing the link [" + item->Name + "].");
            }
            return;
        }
    }
    Quiet = false;
    Line('~', std::to_string(folders) + " folder and " + std::to_string(files) +
                  " file links detected.");
    m_outcome.ResultCode = 0;
}

// --- Transfers -------------------------------------------------------------------------------

std::optional<std::int64_t> TEngineDriver::RemoteTime(const std::string& path, bool unannounced) {
    TFtpClientEx& engine = *m_engine;
    const std::string kept = engine.LocalFileName; // Quote takes its command from there
    std::optional<std::int64_t> time;
    if ((unannounced || m_features.Mdtm) && Quote("MDTM " + path) == 0) {
        const std::string& reply = engine.LastResponse();
        if (reply.size() > 4 && reply.starts_with("213")) {
            time = ParseFtpTimeVal(reply.substr(4));
        }
    }
    if (!time && !Aborted() && m_features.Mlsd && Quote("MLST " + path) == 0) {
        for (const std::string& line : engine.ReplyLines()) {
            TMlsdEntry entry;
            if (line.starts_with(' ') && ParseMlsdLine(std::string_view(line).substr(1), entry) &&
                entry.ModifiedUtc) {
                time = entry.ModifiedUtc;
            }
        }
    }
    engine.LocalFileName = kept;
    if (!Aborted()) {
        ClearFailure(); // a server that tells no time is no failure
    }
    return time;
}

std::uint8_t TEngineDriver::Download(bool resume,
                                     const std::function<void(std::int64_t)>& sizeKnown) {
    TFtpClientEx& engine = *m_engine;
    if (Step(&TCustomFtpCliEx::Size) == 2) {
        return 2;
    }
    const std::int64_t fileSize = Failed() ? -1 : engine.SizeResult();
    if (sizeKnown) {
        sizeKnown(fileSize);
    }
    const std::string& local = engine.LocalFileName;
    // Offsets count the server's bytes: only a binary download of a known size can go on
    // later, and it keeps the time that tells whether the remote file is still the same.
    const bool resumable = engine.Binary() && fileSize >= 0 && DownloadsThroughPartial(local);
    std::optional<std::int64_t> remoteTime;
    if (resumable) {
        remoteTime = RemoteTime(engine.HostFileName);
        if (Aborted()) {
            return 2;
        }
    }
    resume = resume && resumable;
    if (resume) {
        const std::string partial = PartialFileName(local);
        switch (PartialDownloadFit(local, fileSize, remoteTime)) {
        case TPartialFit::None:
            resume = false;
            if (LocalFileSizeOf(local) >= 0) {
                Line('~', NotResumedText("no partial download [" + partial + "] of [" + local +
                                         "] is there to go on from; downloading the whole "
                                         "file."));
            }
            break;
        case TPartialFit::Differs:
            resume = false;
            Line('~', NotResumedText("[" + partial + "] is no part of [" + engine.HostFileName +
                                     "] as the server holds it now (the size or the "
                                     "modification time differ, or the server tells no "
                                     "time); downloading the whole file."));
            break;
        case TPartialFit::Complete:
            if (std::rename(partial.c_str(), ReplacedFileName(local).c_str()) != 0) {
                FailAndLog("550 Cannot replace " + local + ".");
                return 1;
            }
            Line('~', "[" + local + "] is complete: its partial download held all of it.");
            m_outcome.ResultCode = 0;
            return 0;
        case TPartialFit::Fits:
            break;
        }
    }
    // What the server announced is what a binary download must end with.
    engine.ExpectedSize = fileSize;
    Step(resume ? &TCustomFtpCliEx::ResumeGet : &TCustomFtpCliEx::Get);
    if (Failed() && remoteTime) {
        KeepRemoteTime(local, *remoteTime);
    }
    return m_outcome.ResultCode;
}

std::uint8_t TEngineDriver::Upload(bool resume) {
    TFtpClientEx& engine = *m_engine;
    // Offsets count the server's bytes: ASCII uploads always start from the beginning.
    resume = resume && engine.Binary();
    if (!UploadToTemporaryName) {
        if (resume) {
            Line('~', NotResumedText("uploads to this server go straight to their name, so "
                                     "nothing of [" +
                                     engine.HostFileName +
                                     "] is known to be a part of this file; sending the whole "
                                     "file."));
        }
        Step(&TCustomFtpCliEx::Put);
        engine.ResumeAt = 0;
        return m_outcome.ResultCode;
    }
    const std::string target = engine.HostFileName;
    const std::string temporary = TemporaryUploadName(target);
    engine.HostFileName = temporary;
    struct Restore {
        TFtpClientEx& engine;
        std::string target;
        ~Restore() {
            engine.HostFileName = target;
            engine.ResumeAt = 0;
        }
    } restore{engine, target};
    bool append = false;
    if (resume) {
        if (Step(&TCustomFtpCliEx::Size) == 2) {
            return 2;
        }
        const std::int64_t held = Failed() ? -1 : engine.SizeResult();
        const std::int64_t local = LocalFileSizeOf(engine.LocalFileName);
        append = held >= 0 && held <= local;
        if (held > local) {
            Line('~', NotResumedText("[" + temporary + "] on the server is longer than [" +
                                     engine.LocalFileName + "]; sending the whole file."));
        }
        if (append) {
            engine.ResumeAt = held;
        }
    }
    if (Step(append ? &TCustomFtpCliEx::Append : &TCustomFtpCliEx::Put) != 0) {
        return m_outcome.ResultCode; // the part sent stays under the temporary name
    }
    PutInPlace(temporary, target);
    return m_outcome.ResultCode;
}

bool TEngineDriver::PutInPlace(const std::string& temporary, const std::string& target) {
    TFtpClientEx& engine = *m_engine;
    const std::string keptHost = engine.HostFileName;
    const std::string keptLocal = engine.LocalFileName;
    const auto rename = [&] {
        engine.HostFileName = temporary;
        engine.LocalFileName = target; // RNTO takes the new name from there
        return Step(&TCustomFtpCliEx::RenamePair);
    };
    if (rename() == 1 && engine.LastStep() == TFtpStep::RenameTo) {
        // RNFR took the name and RNTO refused the target: a server that does not rename over a
        // file. The new file is complete, so the old one may go first.
        const std::string refused = m_outcome.ErrorMessage;
        engine.HostFileName = target;
        if (Step(&TCustomFtpCliEx::Dele) == 0) {
            rename();
        } else if (!Aborted()) {
            Fail(refused);
        }
    }
    engine.HostFileName = keptHost;
    engine.LocalFileName = keptLocal;
    if (Failed() && !Aborted()) {
        FailAndLog(m_outcome.ErrorMessage + " The upload is complete under the name [" + temporary +
                   "] but could not take the place of [" + target +
                   "]. For a server that refuses renames, turn off \"Upload under a temporary "
                   "name\" in the site's properties (quorvin-ftp: --inplace).");
    }
    return !Failed();
}

} // namespace qx
