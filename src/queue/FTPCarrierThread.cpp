// SPDX-License-Identifier: GPL-3.0-or-later
#include "queue/FTPCarrierThread.h"

#include "engine/FtpReplies.h"

#include <chrono>

namespace qx {

TFTPCarrierThread::TFTPCarrierThread(std::shared_ptr<TThreadedFTPCarrier> carrier)
    : TWorkerHost(carrier, carrier->m_ui,
                  TEngineDriver::Outcome{carrier->ResultCode, carrier->ErrorMessage}),
      m_carrier(std::move(carrier)) {}

TFTPCarrierThread::~TFTPCarrierThread() {
    Join();
}

const TFTPCarrierThread::JobEntry* TFTPCarrierThread::FindJob(unsigned code) {
    static constexpr JobEntry kJobs[] = {
#define QX_JOB_ENTRY(name, code, doneEvent, bothServers)                                           \
    {code, &TFTPCarrier::doneEvent, &TFTPCarrierThread::Job##name, bothServers},
        QX_CARRIER_JOBS(QX_JOB_ENTRY)
#undef QX_JOB_ENTRY
    };
    return FindByCode(kJobs, code);
}

void TFTPCarrierThread::SetUp() {
    TThreadedFTPCarrier& carrier = *m_carrier;
    for (const Side side : {Source, Destination}) {
        TEngineDriver::Hooks hooks = DeliveryHooks();
        hooks.Reply = [this, side](const std::string& reply) {
            ReplyWatch& watch = m_watches[side];
            if (!watch.armed) {
                return;
            }
            m_heardAt = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
            if (IsFinalReplyLine(reply)) {
                ++watch.finalReplies;
                (watch.finalReplies == 1 ? watch.answer : watch.end) = reply;
            }
        };
        hooks.Skipped = [this, side](const std::string& text) { Skip(side, text); };
        m_drivers[side] = std::make_unique<TEngineDriver>(
            Queue(), AbortFlag, carrier_job::Abort,
            TEngineDriver::Outcome{carrier.ResultCode, carrier.ErrorMessage}, std::move(hooks),
            true);
        m_sftp[side] = MakeSftp(side);
    }
    Queue().processMessages();
}

bool TFTPCarrierThread::IsSftp(Side side) const {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    return (side == Source ? carrier.SrcProtocol : carrier.DestProtocol) ==
           TRemoteProtocolKind::Sftp;
}

TRemoteProtocol& TFTPCarrierThread::Remote(Side side) {
    if (IsSftp(side)) {
        return *m_sftp[side];
    }
    return Driver(side);
}

bool TFTPCarrierThread::ResumeSupported(Side side) {
    return IsSftp(side) ? m_sftp[side]->Capabilities().Resume : Driver(side).ResumeSupported();
}

// Its lines carry the server in brackets like the engine drivers' ("> [host]: text").
std::unique_ptr<TSftpProtocol> TFTPCarrierThread::MakeSftp(Side side) {
    TThreadedFTPCarrier& carrier = *m_carrier;
    TEngineDriver::Hooks hooks = DeliveryHooks();
    hooks.Deliver = [this, side, deliver = std::move(hooks.Deliver)](const std::string& line) {
        const std::string& tag =
            Driver(side).Tag.empty() ? m_sftp[side]->Site.Host : Driver(side).Tag;
        deliver(line.size() < 2 ? line : line.substr(0, 2) + "[" + tag + "]: " + line.substr(2));
    };
    hooks.Skipped = [this, side](const std::string& text) { Skip(side, text); };
    return std::make_unique<TSftpProtocol>(
        Queue(), AbortFlag, carrier_job::Abort,
        TEngineDriver::Outcome{carrier.ResultCode, carrier.ErrorMessage}, std::move(hooks));
}

TSftpSite TFTPCarrierThread::SftpSite(Side side) const {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    const bool source = side == Source;
    TSftpSite site;
    site.Host = source ? carrier.SrcHostName : carrier.DestHostName;
    site.Port = source ? carrier.SrcPort : carrier.DestPort;
    site.User = source ? carrier.SrcUserName : carrier.DestUserName;
    site.Password = source ? carrier.SrcPassword : carrier.DestPassword;
    site.Ssh = source ? carrier.SrcSsh : carrier.DestSsh;
    site.Proxy = source ? carrier.SrcProxy : carrier.DestProxy;
    site.NameCharset = source ? carrier.SrcNameCharset : carrier.DestNameCharset;
    site.TimeoutSeconds = carrier.Timeout;
    site.Program = m_sftp[side]->Site.Program;
    return site;
}

void TFTPCarrierThread::ApplyFtpSettings(Side side, TFtpClientEx& engine) const {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    const bool source = side == Source;
    engine.HostName = source ? carrier.SrcHostName : carrier.DestHostName;
    engine.Port = source ? carrier.SrcPort : carrier.DestPort;
    engine.UserName = source ? carrier.SrcUserName : carrier.DestUserName;
    engine.PassWord = source ? carrier.SrcPassword : carrier.DestPassword;
    engine.Passive = carrier.PassiveMode;
    engine.TlsMode = source ? carrier.SrcEncryption : carrier.DestEncryption;
    engine.Proxy = source ? carrier.SrcProxy : carrier.DestProxy;
    engine.TlsTrustedFingerprints = carrier.TrustedFingerprints;
    engine.TlsAcceptAnyCertificate = carrier.AcceptAnyCertificate;
    engine.InactivityLimit = carrier.Timeout;
}

// A kept SFTP session stays for a job on the same site with the same ssh settings.
void TFTPCarrierThread::PrepareSftp(Side side) {
    TSftpSite site = SftpSite(side);
    TSftpSite& current = m_sftp[side]->Site;
    if (m_sessions[side].loggedIn &&
        (current.Host != site.Host || current.Port != site.Port || current.User != site.User ||
         current.Password != site.Password || !(current.Ssh == site.Ssh) ||
         !(current.Proxy == site.Proxy) || current.NameCharset != site.NameCharset)) {
        DropSession(side);
    }
    m_sftp[side]->Site = std::move(site);
    m_sftp[side]->AskSsh = SshAsker();
}

void TFTPCarrierThread::TearDown() {
    QuitKeptSessions();
    // Freeing the engines drops whatever connection a failed or aborted job left open.
    for (auto& driver : m_drivers) {
        driver.reset();
    }
    for (auto& sftp : m_sftp) {
        sftp.reset();
    }
}

// The job's logins. A session kept from the last job stays when it is one with the same
// server and login; any other is dropped.
void TFTPCarrierThread::PrepareEngines(bool bothServers) {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    for (const Side side : {Source, Destination}) {
        const bool source = side == Source;
        m_watches[side] = ReplyWatch{};
        if (m_sessions[side].loggedIn && m_sessions[side].sftp != IsSftp(side)) {
            DropSession(side);
        }
        const std::string& host = source ? carrier.SrcHostName : carrier.DestHostName;
        const std::string& port = source ? carrier.SrcPort : carrier.DestPort;
        // The two sessions of a server-to-server job on one host are told apart by their ports.
        Driver(side).Tag =
            bothServers && carrier.SrcHostName == carrier.DestHostName ? host + ":" + port : "";
        if (IsSftp(side)) {
            PrepareSftp(side);
            continue;
        }
        TFtpClientEx& engine = Engine(side);
        const std::string& user = source ? carrier.SrcUserName : carrier.DestUserName;
        const std::string& password = source ? carrier.SrcPassword : carrier.DestPassword;
        const TProxySettings& proxy = source ? carrier.SrcProxy : carrier.DestProxy;
        const std::string& charset = source ? carrier.SrcNameCharset : carrier.DestNameCharset;
        if (m_sessions[side].loggedIn &&
            (engine.HostName != host || engine.Port != port || engine.UserName != user ||
             engine.PassWord != password || !(engine.Proxy == proxy) ||
             Driver(side).NameCharset != charset)) {
            DropSession(side);
        }
        ApplyFtpSettings(side, engine);
        Driver(side).TimeZoneOffset =
            source ? carrier.SrcTimeZoneOffset : carrier.DestTimeZoneOffset;
        Driver(side).NameCharset = source ? carrier.SrcNameCharset : carrier.DestNameCharset;
    }
    Driver(Destination).UploadToTemporaryName = carrier.UploadToTemporaryName;
    m_sftp[Destination]->UploadToTemporaryName = carrier.UploadToTemporaryName;
    for (const Side side : {Source, Destination}) {
        Driver(side).KeepFileTimes = m_sftp[side]->KeepFileTimes = carrier.KeepFileTimes;
        Driver(side).SpeedLimits = m_sftp[side]->SpeedLimits = carrier.SpeedLimits;
    }
}

void TFTPCarrierThread::DropSession(Side side) {
    if (m_sessions[side].loggedIn && !m_sessions[side].sftp) {
        Engine(side).Abort();
    }
    if (m_sftp[side]->Client() != nullptr) {
        // A new protocol without a client: the old one's ssh ends with it.
        TSftpSite site = std::move(m_sftp[side]->Site);
        m_sftp[side] = MakeSftp(side);
        m_sftp[side]->Site = std::move(site);
    }
    m_sessions[side] = SessionState{};
    Driver(side).ForgetType();
}

// Kept sessions end politely when the worker stops; a server that does not answer within a
// few seconds is left.
void TFTPCarrierThread::QuitKeptSessions() {
    for (const Side side : {Source, Destination}) {
        if (m_sessions[side].loggedIn && m_sftp[side]->Connected()) {
            m_sftp[side]->Quit();
        }
        TFtpClientEx& engine = Engine(side);
        if (m_sessions[side].loggedIn && engine.ControlSocket().State() != TSocketState::wsClosed) {
            engine.OnCommand = nullptr;
            engine.OnResponse = nullptr;
            engine.OnConnectState = nullptr;
            engine.Timeout = 3;
            engine.RunAndWait(&TCustomFtpCliEx::Quit);
        }
        m_sessions[side].loggedIn = false;
    }
}

void TFTPCarrierThread::Run(unsigned code) {
    const JobEntry* job = FindJob(code);
    if (job == nullptr) {
        return; // not a job code: ignored
    }
    TThreadedFTPCarrier& carrier = *m_carrier;
    AbortFlag = false;
    carrier.ResultCode = 0;
    carrier.ErrorMessage.clear();
    carrier.Items.Clear();
    carrier.SkippedEntries.clear();
    carrier.BusySide = TCarrierSide::None;
    carrier.Yielded = false;
    PrepareEngines(job->BothServers);
    try {
        (this->*job->Job)();
    } catch (const std::exception& error) {
        // Nothing may end a job without its done event.
        Fail(std::string("500 ") + error.what());
        Deliver("! " + carrier.ErrorMessage);
    }
    if (carrier.ResultCode != 0) {
        carrier.Items.Clear(); // a failed exploration queues nothing
        // A failure or an abort leaves a session in a state nobody knows: it is not kept.
        DropSession(Source);
        DropSession(Destination);
    }
    OnUiThread([&carrier, job] {
        if (carrier.*job->DoneEvent) {
            auto handler = carrier.*job->DoneEvent;
            handler(carrier);
        }
        // Entries the handler did not take go with the job.
        carrier.Items.Clear();
    });
}

// --- Outcomes --------------------------------------------------------------------------------

void TFTPCarrierThread::AbortBoth() {
    AbortFlag = false;
    Engine(Source).Abort();
    Engine(Destination).Abort();
    m_carrier->ResultCode = 2;
    m_carrier->ErrorMessage = "! [" + Driver(Source).TagName() + ", " +
                              Driver(Destination).TagName() + "]: Operation aborted.";
    Deliver(m_carrier->ErrorMessage);
}

// --- Delivery --------------------------------------------------------------------------------

void TFTPCarrierThread::DeliverTagged(Side side, char kind, const std::string& text) {
    Remote(side).Line(kind, text);
}

void TFTPCarrierThread::Skip(Side side, const std::string& text) {
    m_carrier->SkippedEntries.push_back(text);
    DeliverTagged(side, '!', text);
}

} // namespace qx
