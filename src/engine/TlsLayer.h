// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TlsCertificate.h"

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

using SSL = struct ssl_st;
using SSL_CTX = struct ssl_ctx_st;
using SSL_SESSION = struct ssl_session_st;

namespace qx {

// A TLS session that data connections can resume; shared by the connections that hold it.
using TTlsSession = std::shared_ptr<SSL_SESSION>;

// The client side of TLS for one engine: the OpenSSL context its control and data connections
// share (the system's trusted certificates, TLS 1.2 or later, client session caching, so that
// data connections can resume the control connection's session).
class TTlsContext {
public:
    // maxVersion: 0 the newest TLS there is, 12 TLS 1.2 at most.
    explicit TTlsContext(int maxVersion = 0);
    ~TTlsContext();
    TTlsContext(const TTlsContext&) = delete;
    TTlsContext& operator=(const TTlsContext&) = delete;

    SSL_CTX* Native() const { return m_ctx; }
    // Set when the context could not be made; the text says why.
    const std::string& Error() const { return m_error; }

private:
    SSL_CTX* m_ctx = nullptr;
    std::string m_error;
};

// TLS over one connected non-blocking descriptor. The calls never block: a call that needs
// the network to move on says which readiness to wait for, and the owner calls again then.
class TTlsLayer {
public:
    enum class Progress { Done, WantRead, WantWrite, Failed };

    struct Options {
        // The server's host name: sent as the server name (when it is not an address) and
        // checked against the certificate.
        std::string HostName;
        // A session to resume (the control connection's), or none.
        TTlsSession Resume;
        // Hears every session the server hands out on this connection (TLS 1.3 sends them
        // after the handshake, with the first replies); it may be called after the
        // connection was closed, while its last bytes are read.
        std::function<void(TTlsSession)> SessionArrived;
    };

    TTlsLayer(const TTlsContext& context, int fd, Options options);
    ~TTlsLayer();
    TTlsLayer(const TTlsLayer&) = delete;
    TTlsLayer& operator=(const TTlsLayer&) = delete;

    Progress Handshake();
    bool HandshakeDone() const { return m_handshakeDone; }
    // As recv/send: the count; 0 when the peer ended the TLS session; -1 with errno (EAGAIN
    // when the network has to move first; ECONNRESET after a TLS failure, see Error()).
    ssize_t Read(void* buffer, std::size_t size);
    ssize_t Write(const void* data, std::size_t size);
    // The last call wanted to write before it could go on (a write of our own inside a read).
    bool WantsWrite() const { return m_wantsWrite; }
    // Decrypted or received bytes are held that the descriptor no longer shows.
    bool HasPending() const;
    bool PeerEnded() const { return m_peerEnded; }
    // Sends the close notification (once, without waiting for the server's).
    void Shutdown();

    const std::string& Error() const { return m_error; }
    bool SessionReused() const;
    std::string Protocol() const;
    TTlsCertificateInfo PeerCertificate() const;

private:
    friend class TTlsContext;
    Progress fail(const char* what, int sslError);
    static int NewSession(SSL* ssl, SSL_SESSION* session);

    SSL* m_ssl = nullptr;
    Options m_options;
    std::string m_error;
    bool m_handshakeDone = false;
    bool m_peerEnded = false;
    bool m_wantsWrite = false;
    bool m_shutdownSent = false;
};

} // namespace qx
