// SPDX-License-Identifier: GPL-3.0-or-later
// The end of a server-to-server transfer: both servers report it on their control
// connections, while the data goes between them out of our sight.

#include "queue/FTPCarrierThread.h"

#include "base/Translatable.h"
#include "engine/FtpReplies.h"

#include <chrono>
#include <optional>

namespace qx {

namespace {

bool IsSuccessReply(const std::string& line) {
    const int code = ReplyCode(line);
    return code >= 200 && code < 300;
}

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

// Both servers report the end of the transfer with a final reply after the one that answered
// the command (unless that answer was already final); the job succeeds when both say so.
//
// No wait is endless. Once one server has reported the end, the other must report it within
// the inactivity limit. Before that, the servers say nothing while the data flows, for as long
// as a large file takes: when neither has said a word for the limit, the size of the
// destination file, read on a connection of its own, tells whether the data still moves. A
// file that did not grow (or whose size cannot be read) ends the transfer on both sides.
bool TFTPCarrierThread::WaitForTransferEnd(const std::string& destinationFile,
                                           std::int64_t startSize) {
    const auto endReply = [this](Side side) -> const std::string* {
        const ReplyWatch& watch = m_watches[side];
        if (watch.finalReplies >= 2) {
            return &watch.end;
        }
        if (watch.finalReplies == 1 && ReplyCode(watch.answer) >= 200) {
            return &watch.answer;
        }
        return nullptr;
    };
    struct EndLook {
        std::unique_ptr<TEngineDriver>& look;
        ~EndLook() { look.reset(); } // its connection ends with the transfer
    } endLook{m_sizeLook};
    std::int64_t destinationSize = startSize;
    m_heardAt = NowMs();
    for (;;) {
        if (AbortFlag.load()) {
            AbortBoth();
            return false;
        }
        const std::string* sourceEnd = endReply(Source);
        const std::string* destinationEnd = endReply(Destination);
        if (sourceEnd != nullptr && destinationEnd != nullptr) {
            for (ReplyWatch& watch : m_watches) {
                watch.armed = false;
            }
            if (!IsSuccessReply(*sourceEnd)) {
                Fail(*sourceEnd);
            } else if (!IsSuccessReply(*destinationEnd)) {
                Fail(*destinationEnd);
            } else {
                m_carrier->ResultCode = 0;
            }
            return !Failed();
        }
        for (const Side side : {Source, Destination}) {
            const std::string* end = side == Source ? sourceEnd : destinationEnd;
            if (end == nullptr && Engine(side).ControlSocket().State() == TSocketState::wsClosed) {
                Fail(QX_TRANSLATE_NOOP("qx::Core", "421 Connection closed by the server."));
                DeliverTagged(side, '!', "Connection closed before the transfer ended.");
                return false;
            }
        }
        const std::int64_t limitMs = std::int64_t{m_carrier->Timeout} * 1000;
        std::optional<MessageQueue::Message> message;
        if (limitMs > 0) {
            const std::int64_t left = m_heardAt + limitMs - NowMs();
            if (left <= 0) {
                const std::string timedOut =
                    "421 Timed out after " + std::to_string(m_carrier->Timeout) + " seconds";
                if (sourceEnd != nullptr || destinationEnd != nullptr) {
                    const Side waiting = sourceEnd != nullptr ? Destination : Source;
                    Engine(waiting).Abort();
                    Fail(timedOut + ".");
                    DeliverTagged(waiting, '!', m_carrier->ErrorMessage);
                    return false;
                }
                std::string why;
                switch (LookAtDestination(destinationFile, destinationSize, why)) {
                case Growth::Grew:
                    m_heardAt = NowMs();
                    continue;
                case Growth::Aborted:
                    AbortBoth();
                    return false;
                case Growth::Stalled:
                case Growth::Unknown:
                    break;
                }
                Engine(Source).Abort();
                Engine(Destination).Abort();
                Fail(timedOut + ": no word from [" + Driver(Source).TagName() + "] or [" +
                     Driver(Destination).TagName() + "] about the transfer, and " + why + ".");
                Deliver("! " + m_carrier->ErrorMessage);
                return false;
            }
            message = Queue().takeFor(std::chrono::milliseconds(left));
            if (!message) {
                continue;
            }
        } else {
            message = Queue().take();
        }
        if (message->kind == MessageQueue::Message::Kind::Quit) {
            AbortBoth();
            Queue().postQuit();
            return false;
        }
        if (message->kind == MessageQueue::Message::Kind::Thread &&
            message->thread.Code == carrier_job::Abort) {
            AbortBoth();
            return false;
        }
    }
}

// The destination's own connection is busy with the transfer: the size is asked on one of its
// own, logged in once and kept until the transfer ends.
TFTPCarrierThread::Growth TFTPCarrierThread::LookAtDestination(const std::string& file,
                                                               std::int64_t& size,
                                                               std::string& why) {
    const auto failed = [&](const std::string& what) {
        if (m_lookResult == 2) {
            return Growth::Aborted;
        }
        why = "the size of [" + file + "] could not be read (" + what + ")";
        return Growth::Unknown;
    };
    if (!m_sizeLook) {
        DeliverTagged(Destination, '~',
                      "No word from either server for " + std::to_string(m_carrier->Timeout) +
                          " seconds: looking at the size of [" + file +
                          "] on a connection of its own.");
        m_sizeLook = std::make_unique<TEngineDriver>(
            Queue(), AbortFlag, carrier_job::Abort,
            TEngineDriver::Outcome{m_lookResult, m_lookError}, TEngineDriver::Hooks{}, true);
        const TFtpClientEx& destination = Engine(Destination);
        TFtpClientEx& look = m_sizeLook->Engine();
        look.HostName = destination.HostName;
        look.Port = destination.Port;
        look.UserName = destination.UserName;
        look.PassWord = destination.PassWord;
        look.TlsMode = destination.TlsMode;
        look.TlsTrustedFingerprints = destination.TlsTrustedFingerprints;
        look.TlsAcceptAnyCertificate = destination.TlsAcceptAnyCertificate;
        look.InactivityLimit = m_carrier->Timeout;
        // Servers tell sizes in binary mode only.
        if (!m_sizeLook->Login(TEngineDriver::LoginPlan{}) || m_sizeLook->SetType(true) != 0) {
            return failed(m_lookError);
        }
    }
    m_sizeLook->Engine().HostFileName = file;
    if (m_sizeLook->Step(&TCustomFtpCliEx::Size) != 0) {
        return failed(m_lookError);
    }
    const std::int64_t now = m_sizeLook->Engine().SizeResult();
    if (now > size) {
        size = now;
        return Growth::Grew;
    }
    why = "[" + file + "] did not grow (" + std::to_string(now) + " bytes)";
    return Growth::Stalled;
}

} // namespace qx
