// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/EngineDriver.h"

#include "base/NameCharset.h"

#include "base/ShellIcons.h"
#include "base/Translatable.h"
#include "engine/ListDecoder.h"
#include "engine/LocalFileStream.h"
#include "engine/MlsdFacts.h"
#include "session/RemoteNames.h"
#include "session/ResumeRule.h"
#include "session/SessionLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string_view>

namespace qx {

namespace {

// The longest pause before another attempt at a server that said it is too busy.
constexpr int kLongestBusyPause = 30;

} // namespace

TEngineDriver::TEngineDriver(MessageQueue& queue, std::atomic<bool>& abortFlag, unsigned abortCode,
                             Outcome outcome, Hooks hooks, bool tagged)
    : TOutcomeProtocol(outcome), m_wait(queue, abortFlag, abortCode), m_hooks(std::move(hooks)),
      m_tagged(tagged), m_engine(std::make_unique<TFtpClientEx>(queue)) {
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
    engine.OnConnectNote = [this](TCustomFtpCliEx&, std::string& note) { Line('~', note); };
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
            m_wait.Complete(m_wait.Current(), error);
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

std::uint8_t TEngineDriver::Step(Request request) {
    m_wait.Begin();
    m_waitingAfter = m_engine->CompletionsPosted();
    try {
        (m_engine.get()->*request)();
    } catch (const std::exception& refused) {
        // Refused before anything was sent (an empty user name, no connection, ...). A
        // connection the server has just closed is said as such.
        const bool closed = !m_engine->Connected() &&
                            m_engine->ControlSocket().State() == TSocketState::wsClosed &&
                            std::string_view(refused.what()) == "FTP component not connected";
        FailAndLog(closed ? QX_TRANSLATE_NOOP("qx::Core", "421 Connection closed by the server.")
                          : refused.what());
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
    if (m_wait.Wait() == TRequestWait::End::Aborted) {
        Abort();
        return;
    }
    // The completion is the end of the request, whatever state the engine went to after it (a
    // server that closes the connection with its final reply leaves it in internal ready).
    if (m_wait.Error() == 0) {
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
}

void TEngineDriver::Abort() {
    m_wait.ClearAbort();
    m_engine->Abort();
    m_outcome.ResultCode = 2;
    m_outcome.ErrorMessage = Tagged('!', "Operation aborted.");
    if (m_hooks.Deliver) {
        m_hooks.Deliver(m_outcome.ErrorMessage); // even while muted
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
    m_outcome.ErrorMessage = QX_TRANSLATE_NOOP("qx::Core", "! Login canceled.");
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
    UseNameCharset(false); // until FEAT tells, Auto takes its fallback
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
                if (!m_wait.Pause(pause)) {
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
        if (counter > 0 && pause > 0 && !m_wait.Pause(pause)) {
            Abort(); // aborted (or quit) while waiting between attempts
            return false;
        }
        m_muted = counter > 0 && plan.ReportAttempts; // later attempts run without lines
    }
    m_muted = false;
    if (counter <= 0) {
        m_outcome.ResultCode = 1;
        if (m_outcome.ErrorMessage.empty()) {
            m_outcome.ErrorMessage =
                QX_TRANSLATE_NOOP("qx::Core", "500 Login failed: no login attempt is allowed.");
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

bool TEngineDriver::UseNameCharset(bool serverOffersUtf8) {
    const std::string name = EffectiveCharset(NameCharset, serverOffersUtf8);
    if (!m_engine->SetNameCharset(name)) {
        Line('!', "Unknown character set \"" + name + "\": file names go as they are.");
        m_engine->SetNameCharset("UTF-8");
    }
    return m_engine->NameCharset() == nullptr;
}

bool TEngineDriver::AskFeatures() {
    m_features = {};
    m_timeSetWay = TimeSetWay::None;
    m_timeSetRefused = 0;
    m_timeSetReported = false;
    if (Quote("FEAT") == 2) {
        return false;
    }
    if (!Failed()) {
        m_features = ParseFeatReply(m_engine->ReplyLines());
    }
    ClearFailure(); // a server without FEAT offers nothing beyond the basic commands
    // A server that offers UTF-8 is asked for it only when the names go in UTF-8: some
    // servers switch their names to UTF-8 on this command.
    const bool utf8Names = UseNameCharset(m_features.Utf8);
    if (m_features.Utf8 && utf8Names) {
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
        DetectLinks(target, folder);
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
    TListDecodeStream decoder(listing, machine ? TListingFormat::Mlsd : TListingFormat::List,
                              TimeZoneOffset);
    decoder.ConvertNames(engine.NameCharset());
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
void TEngineDriver::DetectLinks(TFTPListItems& target, const std::string& listedFolder) {
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

std::optional<std::int64_t> TEngineDriver::ModifiedTime(const std::string& path, bool unannounced) {
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

// --- The rest of the seam --------------------------------------------------------------------

std::uint8_t TEngineDriver::StepOn(Request request, const std::string& hostFile,
                                   const std::string& localFile) {
    TFtpClientEx& engine = *m_engine;
    struct Restore {
        TFtpClientEx& engine;
        std::string host;
        std::string local;
        ~Restore() {
            engine.HostFileName = std::move(host);
            engine.LocalFileName = std::move(local);
        }
    } restore{engine, engine.HostFileName, engine.LocalFileName};
    engine.HostFileName = hostFile;
    engine.LocalFileName = localFile;
    return Step(request);
}

std::uint8_t TEngineDriver::Quit() {
    return Step(&TCustomFtpCliEx::Quit);
}

bool TEngineDriver::Connected() {
    return m_engine->ControlSocket().State() != TSocketState::wsClosed;
}

TRemoteCapabilities TEngineDriver::Capabilities() const {
    TRemoteCapabilities capabilities;
    capabilities.Resume = m_resumeSupported;
    capabilities.ServerCopy = true;
    capabilities.ChangeMode = true;
    capabilities.SetTime = true; // by one of the ways SetModifiedTime tries
    capabilities.RawCommands = true;
    return capabilities;
}

std::uint8_t TEngineDriver::CurrentFolder(std::string& folder) {
    const std::uint8_t result = Step(&TCustomFtpCliEx::Pwd);
    folder = m_engine->DirResult();
    return result;
}

std::uint8_t TEngineDriver::ChangeFolder(const std::string& folder) {
    m_engine->HostDirName = folder;
    return Step(&TCustomFtpCliEx::Cwd);
}

std::uint8_t TEngineDriver::ChangeToParent() {
    return Step(&TCustomFtpCliEx::CDup);
}

std::uint8_t TEngineDriver::MakeFolder(const std::string& path) {
    return StepOn(&TCustomFtpCliEx::Mkd, path);
}

std::uint8_t TEngineDriver::RemoveFolder(const std::string& path) {
    return StepOn(&TCustomFtpCliEx::Rmd, path);
}

std::uint8_t TEngineDriver::Size(const std::string& path, std::int64_t& size) {
    const std::uint8_t result = StepOn(&TCustomFtpCliEx::Size, path);
    size = result == 0 ? m_engine->SizeResult() : -1;
    return result;
}

namespace {

// "YYYYMMDDHHMMSS" in UTC, the time value of MFMT, MDTM and SITE UTIME.
std::string FtpTimeVal(std::int64_t time) {
    const auto seconds = static_cast<std::time_t>(time);
    std::tm utc{};
    if (::gmtime_r(&seconds, &utc) == nullptr) {
        return {};
    }
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &utc);
    return std::string(text, length);
}

} // namespace

std::uint8_t TEngineDriver::SetModifiedTime(const std::string& path, std::int64_t time) {
    const std::string value = FtpTimeVal(time);
    if (value.size() != 14) {
        FailAndLog("501 The time of [" + path + "] is out of range.");
        return m_outcome.ResultCode;
    }
    const auto command = [&](TimeSetWay way) {
        switch (way) {
        case TimeSetWay::Mfmt:
            return "MFMT " + value + " " + path;
        case TimeSetWay::MdtmSet:
            return "MDTM " + value + " " + path;
        case TimeSetWay::SiteUtime:
            return "SITE UTIME " + value + " " + path;
        case TimeSetWay::SiteUtimeFull:
            return "SITE UTIME " + path + " " + value + " " + value + " " + value + " UTC";
        case TimeSetWay::None:
            break;
        }
        return std::string();
    };
    const auto bit = [](TimeSetWay way) { return std::uint8_t(1u << static_cast<unsigned>(way)); };
    const std::string kept = m_engine->LocalFileName; // Quote takes its command from there
    const auto restore = [&] { m_engine->LocalFileName = kept; };
    if (m_timeSetWay != TimeSetWay::None) {
        Quote(command(m_timeSetWay));
        restore();
        return m_outcome.ResultCode;
    }
    for (const TimeSetWay way : {TimeSetWay::Mfmt, TimeSetWay::MdtmSet, TimeSetWay::SiteUtime,
                                 TimeSetWay::SiteUtimeFull}) {
        if ((m_timeSetRefused & bit(way)) != 0 || (way == TimeSetWay::Mfmt && !m_features.Mfmt)) {
            continue;
        }
        if (Quote(command(way)) == 2) {
            restore();
            return 2;
        }
        if (!Failed() && m_engine->LastResponse().starts_with('2')) {
            m_timeSetWay = way;
            restore();
            return 0;
        }
        m_timeSetRefused |= bit(way);
    }
    restore();
    if (!m_timeSetReported) {
        m_timeSetReported = true;
        Line('~', "File times cannot be kept on this server: it sets no modification time.");
    }
    Fail("502 Cannot set the time of [" + path + "] on this server.");
    return m_outcome.ResultCode;
}

std::uint8_t TEngineDriver::RemoveFile(const std::string& path) {
    return StepOn(&TCustomFtpCliEx::Dele, path);
}

std::uint8_t TEngineDriver::Rename(const std::string& from, const std::string& to, bool replace) {
    // RNTO takes the new name from LocalFileName.
    if (StepOn(&TCustomFtpCliEx::RenamePair, from, to) == 1 && replace &&
        m_engine->LastStep() == TFtpStep::RenameTo) {
        // RNFR took the name and RNTO refused the target: a server that does not rename over a
        // file. The new file is complete, so the old one may go first.
        const std::string refused = m_outcome.ErrorMessage;
        if (RemoveFile(to) == 0) {
            StepOn(&TCustomFtpCliEx::RenamePair, from, to);
        } else if (!Aborted()) {
            Fail(refused);
        }
    }
    return m_outcome.ResultCode;
}

std::uint8_t TEngineDriver::ChangeMode(const std::string& mode, const std::string& path) {
    return Quote("SITE CHMOD " + mode + " " + path);
}

void TEngineDriver::ApplySpeedLimits() {
    m_engine->DownloadLimit = SpeedLimits.Download;
    m_engine->UploadLimit = SpeedLimits.Upload;
}

std::uint8_t TEngineDriver::Download(const std::string& remotePath, const std::string& localPath,
                                     bool resume, std::int64_t expectedSize) {
    ApplySpeedLimits();
    m_engine->ExpectedSize = expectedSize;
    return StepOn(resume ? &TCustomFtpCliEx::ResumeGet : &TCustomFtpCliEx::Get, remotePath,
                  localPath);
}

std::uint8_t TEngineDriver::Upload(const std::string& localPath, const std::string& remotePath,
                                   std::int64_t appendAt) {
    ApplySpeedLimits();
    TFtpClientEx& engine = *m_engine;
    engine.ResumeAt = std::max<std::int64_t>(appendAt, 0);
    StepOn(appendAt >= 0 ? &TCustomFtpCliEx::Append : &TCustomFtpCliEx::Put, remotePath, localPath);
    engine.ResumeAt = 0;
    return m_outcome.ResultCode;
}

// The engine names the stream in its messages by the local file's name.
constexpr const char* kRelayedName = "(relayed data)";

std::uint8_t TEngineDriver::DownloadTo(const std::string& remotePath, TByteSink& sink,
                                       std::int64_t offset, std::int64_t expectedSize) {
    ApplySpeedLimits();
    TFtpClientEx& engine = *m_engine;
    engine.DownloadSink = &sink;
    engine.ExpectedSize = expectedSize;
    engine.ResumeAt = std::max<std::int64_t>(offset, 0);
    StepOn(offset > 0 ? &TCustomFtpCliEx::ResumeGet : &TCustomFtpCliEx::Get, remotePath,
           kRelayedName);
    engine.DownloadSink = nullptr;
    engine.ResumeAt = 0;
    return m_outcome.ResultCode;
}

std::uint8_t TEngineDriver::UploadFrom(TByteSource& source, const std::string& remotePath,
                                       std::int64_t appendAt) {
    ApplySpeedLimits();
    TFtpClientEx& engine = *m_engine;
    engine.UploadSource = &source;
    engine.ResumeAt = std::max<std::int64_t>(appendAt, 0);
    StepOn(appendAt >= 0 ? &TCustomFtpCliEx::Append : &TCustomFtpCliEx::Put, remotePath,
           kRelayedName);
    engine.UploadSource = nullptr;
    engine.ResumeAt = 0;
    return m_outcome.ResultCode;
}

} // namespace qx
