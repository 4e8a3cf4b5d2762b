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
    }
    Queue().processMessages();
}

void TFTPCarrierThread::TearDown() {
    QuitKeptSessions();
    // Freeing the engines drops whatever connection a failed or aborted job left open.
    for (auto& driver : m_drivers) {
        driver.reset();
    }
}

// The job's logins. A session kept from the last job stays when it is one with the same
// server and login; any other is dropped.
void TFTPCarrierThread::PrepareEngines(bool bothServers) {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    for (const Side side : {Source, Destination}) {
        TFtpClientEx& engine = Engine(side);
        const bool source = side == Source;
        const std::string& host = source ? carrier.SrcHostName : carrier.DestHostName;
        const std::string& port = source ? carrier.SrcPort : carrier.DestPort;
        const std::string& user = source ? carrier.SrcUserName : carrier.DestUserName;
        const std::string& password = source ? carrier.SrcPassword : carrier.DestPassword;
        if (m_sessions[side].loggedIn && (engine.HostName != host || engine.Port != port ||
                                          engine.UserName != user || engine.PassWord != password)) {
            DropSession(side);
        }
        engine.HostName = host;
        engine.Port = port;
        engine.UserName = user;
        engine.PassWord = password;
        engine.Passive = carrier.PassiveMode;
        engine.TlsMode = source ? carrier.SrcEncryption : carrier.DestEncryption;
        engine.TlsTrustedFingerprints = carrier.TrustedFingerprints;
        engine.TlsAcceptAnyCertificate = carrier.AcceptAnyCertificate;
        engine.InactivityLimit = carrier.Timeout;
        m_watches[side] = ReplyWatch{};
        // The two sessions of a server-to-server job on one host are told apart by their ports.
        Driver(side).Tag =
            bothServers && carrier.SrcHostName == carrier.DestHostName ? host + ":" + port : "";
    }
    Driver(Destination).UploadToTemporaryName = carrier.UploadToTemporaryName;
}

void TFTPCarrierThread::DropSession(Side side) {
    if (m_sessions[side].loggedIn) {
        Engine(side).Abort();
    }
    m_sessions[side] = SessionState{};
    Driver(side).ForgetType();
}

// Kept sessions end politely when the worker stops; a server that does not answer within a
// few seconds is left.
void TFTPCarrierThread::QuitKeptSessions() {
    for (const Side side : {Source, Destination}) {
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
    if (carrier.SrcProtocol != TRemoteProtocolKind::Ftp ||
        carrier.DestProtocol != TRemoteProtocolKind::Ftp) {
        // The carriers speak FTP only: an SFTP item fails as such instead of reaching an SSH
        // server with FTP.
        Fail("500 The transfer queue does not carry SFTP items yet; transfer them in an "
             "explorer window or with quorvin-ftp.");
        Deliver("! " + carrier.ErrorMessage);
    } else {
        PrepareEngines(job->BothServers);
        try {
            (this->*job->Job)();
        } catch (const std::exception& error) {
            // Nothing may end a job without its done event.
            Fail(std::string("500 ") + error.what());
            Deliver("! " + carrier.ErrorMessage);
        }
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
    Driver(side).Line(kind, text);
}

void TFTPCarrierThread::Skip(Side side, const std::string& text) {
    m_carrier->SkippedEntries.push_back(text);
    DeliverTagged(side, '!', text);
}

} // namespace qx
