// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TlsLayer.h"

#include <arpa/inet.h>
#include <sys/socket.h>
// OpenSSL's macros (SSL_set_app_data, BIO_get_mem_data, ...) cast in the C way.
#pragma GCC diagnostic ignored "-Wold-style-cast"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstring>

namespace qx {

namespace {

constexpr std::size_t kReadAheadBytes = 256 * 1024;

std::string queuedErrors() {
    std::string text;
    while (const unsigned long code = ERR_get_error()) {
        char buffer[256];
        ERR_error_string_n(code, buffer, sizeof buffer);
        if (!text.empty()) {
            text += "; ";
        }
        text += buffer;
    }
    return text;
}

// OpenSSL's socket BIO writes with write(), which raises SIGPIPE when the peer has reset the
// connection and ends the program; this one sends with MSG_NOSIGNAL and reads with recv. The
// method is made once and never changes.
int sendNoSignal(BIO* bio, const char* data, int length) {
    BIO_clear_retry_flags(bio);
    int fd = -1;
    BIO_get_fd(bio, &fd);
    const ssize_t sent = ::send(fd, data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    if (sent < 0 && BIO_sock_should_retry(-1)) {
        BIO_set_retry_write(bio);
    }
    return static_cast<int>(sent);
}

int receive(BIO* bio, char* buffer, int size) {
    BIO_clear_retry_flags(bio);
    int fd = -1;
    BIO_get_fd(bio, &fd);
    const ssize_t count = ::recv(fd, buffer, static_cast<std::size_t>(size), 0);
    if (count < 0 && BIO_sock_should_retry(-1)) {
        BIO_set_retry_read(bio);
    }
    if (count == 0) {
        BIO_set_flags(bio, BIO_FLAGS_IN_EOF);
    }
    return static_cast<int>(count);
}

const BIO_METHOD* socketMethod() {
    static const BIO_METHOD* const method = [] {
        const BIO_METHOD* plain = BIO_s_socket();
        BIO_METHOD* own = BIO_meth_new(BIO_TYPE_SOCKET, "socket without SIGPIPE");
        if (own == nullptr) {
            return plain;
        }
        BIO_meth_set_write(own, &sendNoSignal);
        BIO_meth_set_read(own, &receive);
        BIO_meth_set_puts(own, BIO_meth_get_puts(plain));
        BIO_meth_set_ctrl(own, BIO_meth_get_ctrl(plain));
        BIO_meth_set_create(own, BIO_meth_get_create(plain));
        BIO_meth_set_destroy(own, BIO_meth_get_destroy(plain));
        return static_cast<const BIO_METHOD*>(own);
    }();
    return method;
}

bool isAddress(const std::string& host) {
    in_addr v4{};
    in6_addr v6{};
    return ::inet_pton(AF_INET, host.c_str(), &v4) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), &v6) == 1;
}

} // namespace

// --- Context ---------------------------------------------------------------------------------

TTlsContext::TTlsContext(int maxVersion) {
    m_ctx = SSL_CTX_new(TLS_client_method());
    if (m_ctx == nullptr) {
        m_error = "Cannot set up TLS: " + queuedErrors();
        return;
    }
    SSL_CTX_set_min_proto_version(m_ctx, TLS1_2_VERSION);
    if (maxVersion == 12) {
        SSL_CTX_set_max_proto_version(m_ctx, TLS1_2_VERSION);
    }
    if (SSL_CTX_set_default_verify_paths(m_ctx) != 1) {
        ERR_clear_error(); // without a system store every certificate is only asked about
    }
    // The handshake goes on whatever the verification says; the engine decides afterwards
    // (with the user, a stored fingerprint or a pinned one) before anything secret is sent.
    SSL_CTX_set_verify(m_ctx, SSL_VERIFY_NONE, nullptr);
    SSL_CTX_set_mode(m_ctx, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SSL_CTX_set_default_read_buffer_len(m_ctx, kReadAheadBytes);
    // Servers that end a data connection without a close notification are common; the
    // closing reply on the protected control connection and the announced size tell whether
    // a file is complete.
    SSL_CTX_set_options(m_ctx, SSL_OP_IGNORE_UNEXPECTED_EOF);
    // Sessions are handed to the connection that received them, not kept in a cache.
    SSL_CTX_set_session_cache_mode(m_ctx, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
    SSL_CTX_sess_set_new_cb(m_ctx, &TTlsLayer::NewSession);
}

TTlsContext::~TTlsContext() {
    SSL_CTX_free(m_ctx);
}

// --- Connection ------------------------------------------------------------------------------

TTlsLayer::TTlsLayer(const TTlsContext& context, int fd, Options options)
    : m_options(std::move(options)) {
    if (context.Native() == nullptr) {
        m_error = context.Error();
        return;
    }
    m_ssl = SSL_new(context.Native());
    BIO* bio = m_ssl != nullptr ? BIO_new(socketMethod()) : nullptr;
    if (bio == nullptr) {
        m_error = "Cannot set up TLS: " + queuedErrors();
        return;
    }
    BIO_set_fd(bio, fd, BIO_NOCLOSE);
    SSL_set_bio(m_ssl, bio, bio);
    // Records are read from the connection several at a time, not header and body apart.
    SSL_set_read_ahead(m_ssl, 1);
    SSL_set_app_data(m_ssl, this);
    const std::string& host = m_options.HostName;
    if (!host.empty()) {
        if (isAddress(host)) {
            X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), host.c_str());
        } else {
            SSL_set_tlsext_host_name(m_ssl, host.c_str());
            SSL_set1_host(m_ssl, host.c_str());
        }
    }
    if (m_options.Resume) {
        SSL_set_session(m_ssl, m_options.Resume.get());
    }
    SSL_set_connect_state(m_ssl);
}

TTlsLayer::~TTlsLayer() {
    if (m_ssl != nullptr) {
        SSL_set_app_data(m_ssl, nullptr);
        // A connection freed without a completed shutdown would mark its session as not
        // resumable, and the session is shared: data connections that the server ends
        // (downloads) would spoil it for the next one.
        SSL_set_shutdown(m_ssl, SSL_SENT_SHUTDOWN | SSL_RECEIVED_SHUTDOWN);
        SSL_free(m_ssl);
    }
}

int TTlsLayer::NewSession(SSL* ssl, SSL_SESSION* session) {
    auto* layer = static_cast<TTlsLayer*>(SSL_get_app_data(ssl));
    if (layer == nullptr || !layer->m_options.SessionArrived) {
        return 0;
    }
    // Returning 1 hands our reference of the session to the shared pointer.
    layer->m_options.SessionArrived(TTlsSession(session, &SSL_SESSION_free));
    return 1;
}

TTlsLayer::Progress TTlsLayer::fail(const char* what, int sslError) {
    std::string reason = queuedErrors();
    if (reason.empty()) {
        if (sslError == SSL_ERROR_SYSCALL) {
            reason = errno != 0 ? std::string(std::strerror(errno))
                                : std::string("the server closed the connection");
        } else {
            reason = "TLS error " + std::to_string(sslError);
        }
    }
    m_error = std::string(what) + ": " + reason;
    return Progress::Failed;
}

TTlsLayer::Progress TTlsLayer::Handshake() {
    if (m_ssl == nullptr) {
        return Progress::Failed;
    }
    if (m_handshakeDone) {
        return Progress::Done;
    }
    ERR_clear_error();
    errno = 0;
    const int result = SSL_do_handshake(m_ssl);
    if (result == 1) {
        m_handshakeDone = true;
        return Progress::Done;
    }
    const int error = SSL_get_error(m_ssl, result);
    if (error == SSL_ERROR_WANT_READ) {
        return Progress::WantRead;
    }
    if (error == SSL_ERROR_WANT_WRITE) {
        return Progress::WantWrite;
    }
    return fail("TLS handshake failed", error);
}

ssize_t TTlsLayer::Read(void* buffer, std::size_t size) {
    m_wantsWrite = false;
    if (m_ssl == nullptr || !m_handshakeDone) {
        errno = EAGAIN;
        return -1;
    }
    if (m_peerEnded) {
        return 0;
    }
    if (!m_error.empty()) {
        errno = ECONNRESET;
        return -1;
    }
    // A record holds at most 16 KiB: the buffer is filled from as many as have arrived, so
    // that a large read costs one call of the caller.
    char* const bytes = static_cast<char*>(buffer);
    std::size_t total = 0;
    while (total < size) {
        ERR_clear_error();
        errno = 0;
        std::size_t count = 0;
        const int result = SSL_read_ex(m_ssl, bytes + total, size - total, &count);
        if (result == 1) {
            total += count;
            continue;
        }
        const int error = SSL_get_error(m_ssl, result);
        switch (error) {
        case SSL_ERROR_ZERO_RETURN:
            m_peerEnded = true; // the next read says so, after these bytes
            return static_cast<ssize_t>(total);
        case SSL_ERROR_WANT_WRITE:
            m_wantsWrite = true;
            [[fallthrough]];
        case SSL_ERROR_WANT_READ:
            if (total > 0) {
                return static_cast<ssize_t>(total);
            }
            errno = EAGAIN;
            return -1;
        default:
            fail("TLS receive failed", error);
            if (total > 0) {
                return static_cast<ssize_t>(total); // the failure comes with the next read
            }
            errno = ECONNRESET;
            return -1;
        }
    }
    return static_cast<ssize_t>(total);
}

ssize_t TTlsLayer::Write(const void* data, std::size_t size) {
    m_wantsWrite = false;
    if (m_ssl == nullptr || !m_handshakeDone) {
        errno = EAGAIN;
        return -1;
    }
    ERR_clear_error();
    errno = 0;
    std::size_t count = 0;
    const int result = SSL_write_ex(m_ssl, data, size, &count);
    if (result == 1) {
        return static_cast<ssize_t>(count);
    }
    const int error = SSL_get_error(m_ssl, result);
    if (error == SSL_ERROR_WANT_WRITE || error == SSL_ERROR_WANT_READ) {
        errno = EAGAIN;
        return -1;
    }
    fail("TLS send failed", error);
    errno = error == SSL_ERROR_SYSCALL && errno == EPIPE ? EPIPE : ECONNRESET;
    return -1;
}

bool TTlsLayer::HasPending() const {
    return m_ssl != nullptr && SSL_has_pending(m_ssl) == 1;
}

void TTlsLayer::Shutdown() {
    if (m_ssl == nullptr || !m_handshakeDone || m_shutdownSent || !m_error.empty()) {
        return;
    }
    m_shutdownSent = true;
    ERR_clear_error();
    SSL_shutdown(m_ssl);
    ERR_clear_error();
}

bool TTlsLayer::SessionReused() const {
    return m_ssl != nullptr && SSL_session_reused(m_ssl) == 1;
}

std::string TTlsLayer::Protocol() const {
    if (m_ssl == nullptr) {
        return {};
    }
    std::string text = SSL_get_version(m_ssl);
    if (const SSL_CIPHER* cipher = SSL_get_current_cipher(m_ssl)) {
        text += std::string(", ") + SSL_CIPHER_get_name(cipher);
    }
    return text;
}

TTlsCertificateInfo TTlsLayer::PeerCertificate() const {
    if (m_ssl == nullptr) {
        return {};
    }
    const long verifyResult = SSL_get_verify_result(m_ssl);
    return DescribeCertificate(SSL_get0_peer_certificate(m_ssl), verifyResult);
}

} // namespace qx
