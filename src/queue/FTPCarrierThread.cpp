#include "queue/FTPCarrierThread.h"

#include "engine/FtpReplies.h"
#include "session/SessionLog.h"

#include <sys/resource.h>

namespace qx {

TFTPCarrierThread::TFTPCarrierThread(std::shared_ptr<TThreadedFTPCarrier> carrier)
    : m_carrier(std::move(carrier)) {}

TFTPCarrierThread::~TFTPCarrierThread() {
    Join();
}

void TFTPCarrierThread::Start() {
    m_thread.Start([this](const std::function<void()>& ready) { Body(ready); });
}

void TFTPCarrierThread::Join() {
    m_thread.Join();
}

void TFTPCarrierThread::Body(const std::function<void()>& ready) {
    if (m_carrier->LowestPriority) {
        ::setpriority(PRIO_PROCESS, 0, 19); // this thread only
    }
    for (const Side side : {Source, Destination}) {
        auto engine = std::make_unique<TFtpClientEx>(m_queue);
        engine->MultiThreaded = true;
        engine->Timeout = 0; // the carrier waits on its own terms
        m_slots[side].engine = std::move(engine);
        HookEngine(side);
    }
    m_queue.processMessages();
    ready();

    for (;;) {
        const MessageQueue::Message message = m_queue.take();
        if (message.kind == MessageQueue::Message::Kind::Quit) {
            break;
        }
        if (message.kind == MessageQueue::Message::Kind::Thread) {
            RunJob(message.thread.Code);
        }
    }
    QuitKeptSessions();
    // Freeing the engines drops whatever connection a failed or aborted job left open.
    for (EngineSlot& slot : m_slots) {
        slot.engine.reset();
    }
    auto carrierRef = m_carrier;
    carrierRef->m_ui.post([carrierRef, self = this] { carrierRef->EndOfWorker(self); });
}

void TFTPCarrierThread::HookEngine(Side side) {
    TFtpClientEx& engine = Engine(side);
    engine.OnCommand = [this, side](TCustomFtpCliEx&, std::string& command) {
        if (!m_quiet) {
            DeliverTagged(side, '>', CommandLogLine(command).substr(2));
        }
    };
    engine.OnResponse = [this, side](TCustomFtpCliEx& e) {
        ReplyWatch& watch = m_slots[side].watch;
        if (watch.armed && IsFinalReplyLine(e.LastResponse())) {
            ++watch.finalReplies;
            (watch.finalReplies == 1 ? watch.answer : watch.end) = e.LastResponse();
        }
        if (!m_quiet) {
            DeliverTagged(side, '<', e.LastResponse());
        }
    };
    engine.OnConnectState = [this, side](TCustomFtpCliEx& e, TFTPConnectState state) {
        const std::string line = ConnectStateLogLine(state, e.HostName, e.DnsResult());
        DeliverTagged(side, line.front(), line.substr(2));
    };
    engine.OnTransferState = [this](TCustomFtpCliEx&, std::int64_t position,
                                    std::int64_t transfered, std::int64_t elapsed) {
        DeliverProgress(position, transfered, elapsed);
    };
    engine.OnRequestDone = [this, side](TCustomFtpCliEx& e, TFtpRequest, std::uint16_t error) {
        // A completion of an earlier, aborted request may still come in; only one with the
        // engine ready belongs to the request being waited for.
        if (e.State() == TFtpState::ftpReady) {
            m_slots[side].requestDone = true;
            m_slots[side].requestError = error;
        }
    };
}

// The job's logins. A session kept from the last job stays when it is one with the same
// server and login; any other is dropped.
void TFTPCarrierThread::PrepareEngines() {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    for (const Side side : {Source, Destination}) {
        TFtpClientEx& engine = Engine(side);
        const bool source = side == Source;
        const std::string& host = source ? carrier.SrcHostName : carrier.DestHostName;
        const std::string& port = source ? carrier.SrcPort : carrier.DestPort;
        const std::string& user = source ? carrier.SrcUserName : carrier.DestUserName;
        const std::string& password = source ? carrier.SrcPassword : carrier.DestPassword;
        if (m_slots[side].loggedIn && (engine.HostName != host || engine.Port != port ||
                                       engine.UserName != user || engine.PassWord != password)) {
            DropSession(side);
        }
        engine.HostName = host;
        engine.Port = port;
        engine.UserName = user;
        engine.PassWord = password;
        engine.Passive = carrier.PassiveMode;
        m_slots[side].watch = ReplyWatch{};
    }
}

void TFTPCarrierThread::DropSession(Side side) {
    EngineSlot& slot = m_slots[side];
    if (slot.loggedIn) {
        slot.engine->Abort();
    }
    slot.loggedIn = false;
    slot.probed = false;
    slot.typeKnown = false;
}

// Kept sessions end politely when the worker stops; a server that does not answer within a
// few seconds is left.
void TFTPCarrierThread::QuitKeptSessions() {
    for (EngineSlot& slot : m_slots) {
        if (slot.loggedIn && slot.engine->ControlSocket().State() != TSocketState::wsClosed) {
            slot.engine->OnCommand = nullptr;
            slot.engine->OnResponse = nullptr;
            slot.engine->OnConnectState = nullptr;
            slot.engine->Timeout = 3;
            slot.engine->RunAndWait(&TCustomFtpCliEx::Quit);
        }
        slot.loggedIn = false;
    }
}

void TFTPCarrierThread::RunJob(unsigned code) {
    TThreadedFTPCarrier& carrier = *m_carrier;
    bool explore = false;
    switch (code) {
    case carrier_job::Download:
    case carrier_job::Upload:
    case carrier_job::Transfer:
        break;
    case carrier_job::ExploreDownload:
    case carrier_job::ExploreUpload:
    case carrier_job::ExploreTransfer:
        explore = true;
        break;
    default:
        return; // not a job code: ignored
    }
    AbortFlag = false;
    carrier.ResultCode = 0;
    carrier.ErrorMessage.clear();
    carrier.Items.Clear();
    PrepareEngines();
    try {
        switch (code) {
        case carrier_job::Download:
            JobDownload();
            break;
        case carrier_job::Upload:
            JobUpload();
            break;
        case carrier_job::Transfer:
            JobTransfer();
            break;
        case carrier_job::ExploreDownload:
            JobExploreDownload();
            break;
        case carrier_job::ExploreUpload:
            JobExploreUpload();
            break;
        default:
            JobExploreTransfer();
            break;
        }
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
    carrier.m_ui.invoke([&carrier, explore] {
        auto handler = explore ? carrier.OnExploreDone : carrier.OnCarryDone;
        if (handler) {
            handler(carrier);
        }
        // Entries the handler did not take go with the job.
        carrier.Items.Clear();
    });
}

// --- Waiting for the engines -----------------------------------------------------------------

void TFTPCarrierThread::Fail(std::string errorMessage) {
    m_carrier->ResultCode = 1;
    m_carrier->ErrorMessage = std::move(errorMessage);
}

void TFTPCarrierThread::Step(Side side, Request request) {
    m_slots[side].requestDone = false;
    try {
        (Engine(side).*request)();
    } catch (const std::exception& refused) {
        // Refused before anything was sent (an empty user name, no connection, ...): a failed
        // step like any other.
        Fail(refused.what());
        DeliverTagged(side, '!', refused.what());
        return;
    }
    WaitForEngine(side);
}

void TFTPCarrierThread::Quote(Side side, const std::string& command) {
    Engine(side).LocalFileName = command;
    Step(side, &TCustomFtpCliEx::Quote);
}

void TFTPCarrierThread::WaitForEngine(Side side) {
    EngineSlot& slot = m_slots[side];
    TFtpClientEx& engine = *slot.engine;
    for (;;) {
        if (AbortFlag.load()) {
            AbortOne(side);
            return;
        }
        if (engine.State() == TFtpState::ftpReady && slot.requestDone) {
            if (slot.requestError == 0) {
                m_carrier->ResultCode = 0;
            } else {
                Fail(engine.ErrorMessage().empty() ? engine.LastResponse() : engine.ErrorMessage());
            }
            return;
        }
        const MessageQueue::Message message = m_queue.take();
        if (message.kind == MessageQueue::Message::Kind::Quit) {
            AbortOne(side);
            m_queue.postQuit(); // so that the thread's own loop ends as well
            return;
        }
        if (message.kind == MessageQueue::Message::Kind::Thread &&
            message.thread.Code == carrier_job::Abort) {
            AbortOne(side);
            return;
        }
        // A window message has been dispatched; any other code is dropped.
    }
}

void TFTPCarrierThread::AbortOne(Side side) {
    AbortFlag = false;
    TFtpClientEx& engine = Engine(side);
    engine.Abort();
    m_carrier->ResultCode = 2;
    m_carrier->ErrorMessage = "! [" + engine.HostName + "]: Operation aborted.";
    Deliver(m_carrier->ErrorMessage, true);
}

void TFTPCarrierThread::AbortBoth() {
    AbortFlag = false;
    Engine(Source).Abort();
    Engine(Destination).Abort();
    m_carrier->ResultCode = 2;
    m_carrier->ErrorMessage = "! [" + Engine(Source).HostName + ", " +
                              Engine(Destination).HostName + "]: Operation aborted.";
    Deliver(m_carrier->ErrorMessage, true);
}

// --- Delivery --------------------------------------------------------------------------------

void TFTPCarrierThread::Deliver(const std::string& line, bool evenWhenDetached) {
    if (m_displayDetached && !evenWhenDetached) {
        return;
    }
    // Lines and progress carry copies and need no answer: they are queued rather than waited
    // for, and still reach the user-interface thread before the job's done event, in order.
    m_carrier->m_ui.post([carrier = m_carrier, line] {
        if (carrier->OnDisplay) {
            auto handler = carrier->OnDisplay;
            handler(*carrier, line);
        }
    });
}

void TFTPCarrierThread::DeliverTagged(Side side, char kind, const std::string& text) {
    Deliver(std::string(1, kind) + " [" + Engine(side).HostName + "]: " + text);
}

void TFTPCarrierThread::DeliverProgress(std::int64_t position, std::int64_t transfered,
                                        std::int64_t elapsed) {
    m_carrier->m_ui.post([carrier = m_carrier, position, transfered, elapsed] {
        if (carrier->OnTransferStatus) {
            auto handler = carrier->OnTransferStatus;
            handler(*carrier, position, transfered, elapsed);
        }
    });
}

} // namespace qx
