// SPDX-License-Identifier: GPL-3.0-or-later
// TLS of the engine: AUTH TLS, implicit TLS, the certificate decision, PBSZ and PROT, and the
// protection of data connections, which resume the control connection's TLS session.

#include "engine/CustomFtpCliEx.h"

#include "engine/FtpReplies.h"

#include <algorithm>

namespace qx {

void TCustomFtpCliEx::StartControlTls() {
    if (!m_tlsContext) {
        m_tlsContext = std::make_unique<TTlsContext>(TlsMaxVersion);
    }
    TWSocket& control = *m_controlSocket;
    control.OnTlsHandshakeDone = [this](TWSocket&, std::uint16_t error) {
        ControlTlsHandshakeDone(error);
    };
    TTlsLayer::Options options;
    options.HostName = HostName;
    // TLS 1.3 hands sessions out after the handshake, with the first replies.
    options.SessionArrived = [this, life = std::weak_ptr<char>(m_life)](TTlsSession session) {
        if (!life.expired()) {
            KeepTicket(std::move(session));
        }
    };
    control.StartTls(*m_tlsContext, std::move(options));
}

void TCustomFtpCliEx::ControlTlsHandshakeDone(std::uint16_t error) {
    TWSocket& control = *m_controlSocket;
    if (error != 0) {
        FailSecurity(500, "500 " + control.TlsErrorText());
        return;
    }
    const TTlsLayer& tls = *control.Tls();
    m_peerCertificate = tls.PeerCertificate();
    if (!TrustCertificate()) {
        m_certificateRejected = true;
        FailSecurity(500, "500 The certificate of " + HostName +
                              " is not trusted: " + m_peerCertificate.VerifyError +
                              " (SHA-256 fingerprint " + m_peerCertificate.Sha256 + ").");
        return;
    }
    Note("TLS connection established (" + tls.Protocol() + ").");
    if (TlsMode == TFtpTlsMode::Implicit) {
        return; // the greeting comes next
    }
    SendSecurityCommand("PBSZ 0", &TCustomFtpCliEx::NextPbsz);
}

bool TCustomFtpCliEx::TrustCertificate() {
    if (m_peerCertificate.Verified()) {
        return true;
    }
    const bool known = std::any_of(TlsTrustedFingerprints.begin(), TlsTrustedFingerprints.end(),
                                   [this](const std::string& trusted) {
                                       return SameFingerprint(trusted, m_peerCertificate.Sha256);
                                   });
    if (known) {
        Note("The certificate cannot be verified (" + m_peerCertificate.VerifyError +
             "); it is trusted by its fingerprint.");
        return true;
    }
    if (TlsAcceptAnyCertificate) {
        Note("The certificate cannot be verified (" + m_peerCertificate.VerifyError +
             "); taken anyway, as asked.");
        return true;
    }
    return false;
}

// The commands of the TLS negotiation belong to Open: they run before it completes.
void TCustomFtpCliEx::SendSecurityCommand(const std::string& command, Handler next) {
    m_next = next;
    SetState(TFtpState::ftpWaitingResponse);
    SendCommand(command);
}

void TCustomFtpCliEx::NextAuthTls() {
    if (!TakeFinalReply()) {
        return;
    }
    if (m_statusCode == 234) {
        m_next = nullptr; // the server says nothing more until the handshake is done
        StartControlTls();
        return;
    }
    if (TlsMode == TFtpTlsMode::ExplicitRequired) {
        m_tlsRefused = true;
        FailSecurity(m_statusCode < 400 ? 534 : m_statusCode,
                     "534 The server refused AUTH TLS (" + m_lastResponse +
                         "), but this site requires TLS: the login stops before the user name "
                         "and password are sent.");
        return;
    }
    Note("The server offers no TLS; the session goes on without encryption.");
    CompleteOpen();
}

void TCustomFtpCliEx::NextPbsz() {
    if (!TakeFinalReply()) {
        return;
    }
    // PROT follows whatever PBSZ got; a server that wants PBSZ first refuses PROT.
    SendSecurityCommand("PROT P", &TCustomFtpCliEx::NextProt);
}

void TCustomFtpCliEx::NextProt() {
    if (!TakeFinalReply()) {
        return;
    }
    if (m_statusCode >= 200 && m_statusCode < 300) {
        m_protectData = true;
        CompleteOpen();
        return;
    }
    if (TlsMode == TFtpTlsMode::ExplicitIfAvailable) {
        Note("The server does not protect data connections; files and listings travel "
             "without encryption.");
        CompleteOpen();
        return;
    }
    m_tlsRefused = true;
    FailSecurity(534, "534 The server refused to protect data connections (" + m_lastResponse +
                          "), but this site requires TLS.");
}

void TCustomFtpCliEx::Note(const std::string& text) {
    TriggerDisplay("! " + text);
    if (OnNote) {
        std::string line = text;
        auto handler = OnNote;
        handler(*this, line);
    }
}

// The Open request fails and the control connection closes; its closing completes the
// request with this failure.
void TCustomFtpCliEx::FailSecurity(int code, const std::string& text) {
    m_next = nullptr;
    m_statusCode = code;
    m_requestResult = code;
    m_errorMessage = text;
    m_madeUpFailure = true;
    TriggerDisplay("! " + text);
    m_closingControl = true;
    if (m_controlSocket->State() != TSocketState::wsClosed) {
        m_controlSocket->Close();
    } else {
        TriggerRequestDone(code);
    }
}

// --- Data connections ------------------------------------------------------------------------

void TCustomFtpCliEx::ProtectDataConnection() {
    m_dataSessionReused = false;
    if (!m_protectData || !m_tlsContext) {
        return;
    }
    TWSocket& data = *m_dataSocket;
    data.OnTlsHandshakeDone = [this](TWSocket&, std::uint16_t error) {
        DataTlsHandshakeDone(error);
    };
    TTlsLayer::Options options;
    options.HostName = HostName;
    if (!m_tlsTickets.empty()) {
        m_lastTicket = std::move(m_tlsTickets.back());
        m_tlsTickets.pop_back();
    }
    // With no fresh ticket left (a connection closed before its ticket came), the last one
    // is offered again.
    options.Resume = m_lastTicket;
    options.SessionArrived = [this, life = std::weak_ptr<char>(m_life)](TTlsSession session) {
        if (!life.expired()) {
            KeepTicket(std::move(session));
        }
    };
    data.StartTls(*m_tlsContext, std::move(options));
}

void TCustomFtpCliEx::KeepTicket(TTlsSession session) {
    constexpr std::size_t kKeptTickets = 8;
    m_tlsTickets.push_back(std::move(session));
    if (m_tlsTickets.size() > kKeptTickets) {
        m_tlsTickets.pop_front();
    }
}

void TCustomFtpCliEx::DataTlsHandshakeDone(std::uint16_t error) {
    TWSocket& data = *m_dataSocket;
    if (error != 0) {
        // The connection closes next; the transfer fails with this text.
        SetLocalError(425, "425 TLS of the data connection failed: " + data.TlsErrorText());
        TriggerDisplay("! " + m_localErrorText);
        return;
    }
    // A data connection that did not resume the session proved nothing about its server:
    // it must at least show the control connection's certificate.
    const TTlsLayer& tls = *data.Tls();
    m_dataSessionReused = tls.SessionReused();
    if (!m_dataSessionReused &&
        !SameFingerprint(tls.PeerCertificate().Sha256, m_peerCertificate.Sha256)) {
        SetLocalError(425, "425 The data connection showed another certificate than the "
                           "control connection.");
        TriggerDisplay("! " + m_localErrorText);
        data.Close();
        return;
    }
    if (m_uploading && m_eof) {
        data.Close(); // an empty file: the close notification is all there is to send
    }
}

} // namespace qx
