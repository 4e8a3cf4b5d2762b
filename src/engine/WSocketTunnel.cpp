// SPDX-License-Identifier: GPL-3.0-or-later
// The socket's part of a proxy tunnel: between the TCP connection to the proxy and the
// connected event, the handshake's bytes go out and the proxy's replies come in, on the same
// readiness waits as everything else.
#include "engine/SocketErrors.h"
#include "engine/WSocket.h"

#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace qx {

void TWSocket::SetTunnel(const TProxySettings& proxy, const std::string& targetHost,
                         const std::string& targetPort) {
    m_tunnelProxy = proxy;
    m_tunnelHost = targetHost;
    m_tunnelPort = targetPort;
}

void TWSocket::tcpConnectCompleted(int error) {
    if (error != 0 || !m_tunnelProxy) {
        connectCompleted(error);
        return;
    }
    ++m_activity;
    try {
        startTunnel();
    } catch (const std::exception& e) {
        handleBackgroundException(e);
    }
}

void TWSocket::startTunnel() {
    m_tunnelError.clear();
    m_tunnelOutput.clear();
    const int port = ResolveServicePort(m_tunnelPort, "tcp");
    if (port <= 0) {
        failTunnel("The server's port \"" + m_tunnelPort + "\" is not a port number");
        return;
    }
    m_tunnel = std::make_unique<TProxyHandshake>(*m_tunnelProxy, m_tunnelHost,
                                                 static_cast<std::uint16_t>(port));
    takeTunnelStep(m_tunnel->Start());
}

void TWSocket::takeTunnelStep(TProxyHandshake::TResult step) {
    switch (step.Step) {
    case TProxyHandshake::TStep::Send:
        if (m_tunnelOutput.empty()) {
            m_tunnelOutput = std::move(step.Bytes);
        } else {
            m_tunnelOutput += step.Bytes;
        }
        armWrite();
        return;
    case TProxyHandshake::TStep::More:
        armRead();
        return;
    case TProxyHandshake::TStep::Open:
        m_tunnel.reset();
        connectCompleted(0);
        return;
    case TProxyHandshake::TStep::Failed:
        failTunnel(m_tunnel->Error());
        return;
    }
}

void TWSocket::continueTunnel() {
    const int fd = m_descriptor.native_handle();
    while (!m_tunnelOutput.empty()) {
        const ssize_t sent = ::send(fd, m_tunnelOutput.data(), m_tunnelOutput.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            armWrite();
            return;
        }
        if (sent < 0) {
            failTunnel("The connection to the proxy failed: " +
                       SocketErrorText(WinsockErrorFromErrno(errno)));
            return;
        }
        ++m_activity;
        m_tunnelOutput.erase(0, static_cast<std::size_t>(sent));
    }
    // Never more than the handshake asks for: what follows the proxy's reply is the server's.
    std::array<char, 512> buffer{};
    while (m_tunnel && m_tunnelOutput.empty()) {
        const std::size_t wanted = std::min(m_tunnel->Wanted(), buffer.size());
        const ssize_t count = ::recv(fd, buffer.data(), wanted, 0);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            armRead();
            return;
        }
        if (count <= 0) {
            failTunnel(count == 0 ? "The proxy closed the connection before the tunnel was open"
                                  : "The connection to the proxy failed: " +
                                        SocketErrorText(WinsockErrorFromErrno(errno)));
            return;
        }
        ++m_activity;
        const std::uint64_t connection = m_connection;
        takeTunnelStep(m_tunnel->Feed({buffer.data(), static_cast<std::size_t>(count)}));
        if (connection != m_connection) {
            return;
        }
    }
    if (!m_tunnelOutput.empty()) {
        armWrite();
    }
}

void TWSocket::failTunnel(std::string reason) {
    m_tunnel.reset();
    m_tunnelOutput.clear();
    m_tunnelError = std::move(reason);
    connectCompleted(kProxyTunnelFailed);
}

} // namespace qx
